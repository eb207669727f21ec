#pragma once

#include <string>
#include <utility>
#include <vector>

namespace UiLib::detail {

// Splits `name="value" name='value'` into pairs (either quote; whitespace between).
// Stops at the first malformed pair.
std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const wchar_t* text);

}  // namespace UiLib::detail
