#pragma once

// Test pages are written in UTF-8 in the sources and handed to the engine in GBK,
// as the portal serves them.

#include <string>

#include "platform/CodePage.h"

namespace vantrel::test {

inline std::string Gbk(const std::string& utf8) {
    return platform::Utf8ToGb18030(utf8);
}

// A search page whose result list holds `items` (each "<li>...</li>").
inline std::string SearchPage(const std::string& items) {
    return Gbk("<html><body><div class=\"top\">搜索结果</div><ul id=\"searchlist\">" + items +
               "</ul></body></html>");
}

}  // namespace vantrel::test
