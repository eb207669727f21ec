#include <fstream>
#include <optional>
#include <sstream>

#include "CodePage.h"
#include "IniDocument.h"
#include "ProfileFile.h"

namespace platform {
namespace {

std::optional<std::string> LookUp(std::string_view section, std::string_view key,
                                  const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return IniDocument(bytes.str()).Get(section, key);
}

}  // namespace

std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, const std::string& path,
                              size_t bufferSize) {
    std::string value(LookUp(section, key, path).value_or(std::string(defaultValue)));
    if (bufferSize > 0 && value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

std::wstring ReadProfileString(std::wstring_view section, std::wstring_view key,
                               std::wstring_view defaultValue, const std::string& path,
                               size_t bufferSize) {
    auto found = LookUp(WideToGb18030(section), WideToGb18030(key), path);
    std::wstring value = found ? Gb18030ToWide(*found) : std::wstring(defaultValue);
    if (bufferSize > 0 && value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

int ReadProfileInt(std::string_view section, std::string_view key, int defaultValue,
                   const std::string& path) {
    auto found = LookUp(section, key, path);
    if (!found || found->empty()) return defaultValue;
    return IniParseInt(*found);
}

int ReadProfileInt(std::wstring_view section, std::wstring_view key, int defaultValue,
                   const std::string& path) {
    return ReadProfileInt(WideToGb18030(section), WideToGb18030(key), defaultValue, path);
}

}  // namespace platform
