#include "uilib/backend/qt/QtEdit.h"

#include "uilib/backend/qt/QtFonts.h"
#include "uilib/core/Defines.h"

namespace UiLib::qt {

QtEdit::QtEdit(QWidget* parent, backend::EditEvents& events)
    : edit_(new QLineEdit(parent)) {  // owned by the parent widget; deleted here too
    edit_->setFrame(false);
    edit_->hide();
    textChanged_ =
        QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this, &events](const QString& t) {
            if (!settingText_) events.OnTextChanged(t.toStdWString());
        });
    returnPressed_ =
        QObject::connect(edit_, &QLineEdit::returnPressed, edit_, [&events] { events.OnReturn(); });
}

QtEdit::~QtEdit() {
    if (!edit_) return;
    QObject::disconnect(textChanged_);
    QObject::disconnect(returnPressed_);
    edit_->hide();
    edit_->deleteLater();
}

void QtEdit::SetText(const std::wstring& text) {
    if (!edit_) return;
    settingText_ = true;
    edit_->setText(QString::fromStdWString(text));
    settingText_ = false;
}

std::wstring QtEdit::Text() const {
    return edit_ ? edit_->text().toStdWString() : std::wstring();
}

void QtEdit::SetLook(const backend::EditLook& look) {
    if (!edit_) return;
    edit_->setMaxLength(static_cast<int>(look.maxLength));
    edit_->setReadOnly(look.readOnly);
    edit_->setEchoMode(look.password ? QLineEdit::Password : QLineEdit::Normal);
    if (look.align & DT_CENTER) {
        edit_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    } else if (look.align & DT_RIGHT) {
        edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
        edit_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (look.font) edit_->setFont(FontOf(*look.font));
    const QColor text = QColor::fromRgba(look.textColor);
    const QColor back = QColor::fromRgba(look.backColor);
    edit_->setStyleSheet(
        QStringLiteral("QLineEdit { border: none; padding: 0px; color: %1; background: %2; }")
            .arg(text.name(QColor::HexArgb), back.name(QColor::HexArgb)));
}

void QtEdit::SetGeometry(const RECT& rc) {
    if (edit_) edit_->setGeometry(QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
}

void QtEdit::Show() {
    if (!edit_) return;
    edit_->show();
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->end(false);
}

void QtEdit::Hide() {
    if (edit_) edit_->hide();
}

bool QtEdit::IsShown() const {
    return edit_ && edit_->isVisible();
}

}  // namespace UiLib::qt
