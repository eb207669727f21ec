#include "uilib/backend/qt/QtDialogs.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <map>

namespace UiLib::qt {

int AskQuestion(const std::wstring& text, const std::wstring& caption, UINT type) {
    QMessageBox box(nullptr);
    box.setWindowTitle(QString::fromStdWString(caption));
    box.setText(QString::fromStdWString(text));
    switch (type & 0xF0) {
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    const UINT buttons = type & 0x0F;
    if (buttons == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    } else if (buttons == MB_OKCANCEL) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    if (type & MB_TOPMOST) box.setWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Ok:
            return IDOK;
        default:
            return buttons == MB_YESNO ? IDNO : IDCANCEL;
    }
}

UINT_PTR ChooseFromMenu(const std::vector<backend::MenuItem>& items, POINT at) {
    QMenu menu;
    std::map<QAction*, UINT_PTR> ids;
    for (const auto& item : items) {
        if (item.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdWString(item.text));
        action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
        if (item.flags & MF_CHECKED) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        ids[action] = item.id;
    }
    QAction* picked = menu.exec(QPoint(at.x, at.y));
    return picked ? ids[picked] : 0;
}

}  // namespace UiLib::qt
