#pragma once

// The engine's records as JSON values, their GBK texts converted to UTF-8.

#include <json/value.h>

#include <string>
#include <vector>

#include "vantrel/TrovikMgr.h"

namespace vantrel::cli {

// ANSI code page (GB18030) bytes to UTF-8; invalid bytes become U+FFFD.
std::string AnsiToUtf8(const std::string& bytes);

Json::Value SearchResultJson(const SearchResult& result);
Json::Value PlaySourcesJson(const std::vector<PlaySource>& sources);

// One JSON document: UTF-8 characters written as they are, two-space indentation.
std::string WriteJson(const Json::Value& document);

}  // namespace vantrel::cli
