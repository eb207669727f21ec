#include <gtest/gtest.h>

#include "common/TextCodec.h"
#include "common/UrlEncode.h"

namespace {

TEST(UrlEncode, KeepsUnreservedAndEncodesTheRest) {
    EXPECT_EQ(UrlEncode("AZaz09-_.~"), "AZaz09-_.~");
    EXPECT_EQ(UrlEncode("a b"), "a+b");
    EXPECT_EQ(UrlEncode("   "), "+++");
    EXPECT_EQ(UrlEncode("a&b=c/d?e#f%"), "a%26b%3Dc%2Fd%3Fe%23f%25");
    EXPECT_EQ(UrlEncode(std::string("\0\x7F", 2)), "%00%7F");
    EXPECT_EQ(UrlEncode(""), "");
}

TEST(UrlEncode, HighBytesUseUpperCaseHex) {
    // GBK bytes of 京城81 (京 = BE A9, 城 = B3 C7).
    EXPECT_EQ(UrlEncode(WideToAnsi(L"京城81")), "%BE%A9%B3%C781");
    EXPECT_EQ(UrlEncode("\xFF\xAB"), "%FF%AB");
}

TEST(UrlEncode, OutputUsesOnlyTheKeywordAlphabet) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string encoded = UrlEncode(all);
    for (size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '%') {
            ASSERT_LE(i + 2, encoded.size() - 1);
            for (int k = 1; k <= 2; ++k) {
                const char h = encoded[i + k];
                EXPECT_TRUE((h >= '0' && h <= '9') || (h >= 'A' && h <= 'F')) << h;
            }
            i += 2;
            continue;
        }
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
                    c == '.' || c == '~' || c == '+')
            << c;
    }
}

TEST(TextCodec, WideAndAnsiRoundTrip) {
    const std::wstring title = L"风中奇缘 [电视剧]";
    EXPECT_EQ(AnsiToWide(WideToAnsi(title)), title);
    EXPECT_EQ(WideToAnsi(L"[电影]"), "[\xB5\xE7\xD3\xB0]");
}

}  // namespace
