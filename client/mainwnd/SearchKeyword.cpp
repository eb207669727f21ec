#include "client/mainwnd/SearchKeyword.h"

#include "common/TextCodec.h"
#include "common/UrlEncode.h"

std::string SearchKeyword(std::wstring_view text) {
    return UrlEncode(WideToAnsi(text));
}
