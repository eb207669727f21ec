#include "common/TextCodec.h"

#include "platform/CodePage.h"

std::string WideToAnsi(std::wstring_view text) { return platform::WideToGb18030(text); }

std::wstring AnsiToWide(std::string_view bytes) { return platform::Gb18030ToWide(bytes); }
