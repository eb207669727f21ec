#include "uilib/backend/qt/QtFonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QSet>
#include <map>
#include <tuple>

namespace UiLib::qt {

QString ResolveFamily(const QString& family) {
    static QHash<QString, QString> resolved;
    const auto it = resolved.constFind(family);
    if (it != resolved.constEnd()) return *it;
    static const QSet<QString> installed = [] {
        QSet<QString> set;
        for (const QString& f : QFontDatabase::families()) set.insert(f.toLower());
        return set;
    }();
    const QString result = (!family.isEmpty() && installed.contains(family.toLower()))
                               ? family
                               : QString::fromLatin1(kFallbackFamily);
    resolved.insert(family, result);
    return result;
}

const QFont& FontOf(const TFontInfo& info) {
    using Key = std::tuple<std::wstring, int, bool, bool, bool>;
    static std::map<Key, QFont> cache;
    const Key key{info.sFontName.str(), info.iSize, info.bBold, info.bItalic, info.bUnderline};
    auto it = cache.find(key);
    if (it == cache.end()) {
        QFont font(ResolveFamily(QString::fromStdWString(info.sFontName.str())));
        font.setPixelSize(std::max(1, info.iSize));
        font.setBold(info.bBold);
        font.setItalic(info.bItalic);
        font.setUnderline(info.bUnderline);
        font.setStyleStrategy(QFont::PreferAntialias);
        it = cache.emplace(key, font).first;
    }
    return it->second;
}

}  // namespace UiLib::qt
