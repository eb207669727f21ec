#pragma once

// The question box (QMessageBox) and the native popup menu (QMenu) of the Qt backend.

#include <string>
#include <vector>

#include "uilib/src/Backend.h"

namespace UiLib::qt {

// A modal question box for the MB_* type; IDYES, IDNO, IDOK or IDCANCEL.
int AskQuestion(const std::wstring& text, const std::wstring& caption, UINT type);
// A popup menu at a screen point; the chosen item's id, 0 when dismissed.
UINT_PTR ChooseFromMenu(const std::vector<backend::MenuItem>& items, POINT at);

}  // namespace UiLib::qt
