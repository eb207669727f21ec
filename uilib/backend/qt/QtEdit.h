#pragma once

// QtEdit: the native line edit of the Qt backend, a QLineEdit child of the window's
// widget, so input methods (Chinese) work in edit controls.

#include <QLineEdit>
#include <QPointer>

#include "uilib/src/Backend.h"

namespace UiLib::qt {

class QtEdit final : public backend::NativeEdit {
public:
    // The line edit belongs to `parent` (and goes with it when the window goes first).
    QtEdit(QWidget* parent, backend::EditEvents& events);
    // Hides the line edit and deletes it once the event being handled has finished (it
    // may be the line edit's own Enter).
    ~QtEdit() override;

    void SetText(const std::wstring& text) override;
    std::wstring Text() const override;
    void SetLook(const backend::EditLook& look) override;
    void SetGeometry(const RECT& rc) override;
    void Show() override;
    void Hide() override;
    bool IsShown() const override;

private:
    QPointer<QLineEdit> edit_;
    QMetaObject::Connection textChanged_;
    QMetaObject::Connection returnPressed_;
    bool settingText_ = false;
};

}  // namespace UiLib::qt
