#pragma once

// Reading attribute values of layouts: colours, rectangles, sizes, booleans, numbers,
// and attribute lists (`name="value" name='value'`).

#include <string>
#include <utility>
#include <vector>

#include "uilib/core/Win32Types.h"

namespace UiLib::detail {

// "#AARRGGBB" / "#RRGGBB" (the "#" optional); 0 for anything else.
DWORD ParseColor(LPCTSTR value);
// "l,t,r,b" (missing values are 0).
RECT ParseRect(LPCTSTR value);
// "cx,cy".
SIZE ParseSize(LPCTSTR value);
// "true" in any letter case; everything else is false.
bool ParseBool(LPCTSTR value);
// The leading decimal number; 0 when there is none.
int ParseInt(LPCTSTR value);

// Splits `name="value" name='value'` into pairs (either quote; whitespace between).
// Stops at the first malformed pair.
std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const wchar_t* text);

}  // namespace UiLib::detail
