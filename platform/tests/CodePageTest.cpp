#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CodePage, ChineseRoundTripsThroughGb18030) {
    const std::wstring text = L"京城81号 沉睡魔咒";
    const std::string gbk = WideToGb18030(text);
    // GBK bytes: two per ideograph, ASCII unchanged.
    EXPECT_EQ(gbk.substr(0, 4), "\xBE\xA9\xB3\xC7");
    EXPECT_EQ(gbk.size(), 4u + 2 + 2 + 1 + 8);
    EXPECT_EQ(Gb18030ToWide(gbk), text);
}

TEST(CodePage, CharactersOutsideGbkUseFourByteSequences) {
    const std::wstring text = L"\U0001F600\u0E01";  // emoji and Thai letter: not in GBK
    const std::string bytes = WideToGb18030(text);
    EXPECT_EQ(bytes.size(), 8u);
    EXPECT_EQ(Gb18030ToWide(bytes), text);
}

TEST(CodePage, InvalidBytesBecomeReplacementCharacters) {
    // 0x80 is not a valid lead byte; 0x81 at the end is a cut-off sequence.
    EXPECT_EQ(Gb18030ToWide(std::string("a\x80" "b\x81", 4)), L"a\uFFFDb\uFFFD");
    // A valid lead byte followed by a byte that cannot trail it: only the lead is lost.
    EXPECT_EQ(Gb18030ToWide(std::string("\x81 x", 3)), L"\uFFFD x");
}

TEST(CodePage, UnencodableCodePointBecomesQuestionMark) {
    std::wstring text = L"a";
    text.push_back(static_cast<wchar_t>(0xD800));  // lone surrogate
    text += L"b";
    EXPECT_EQ(WideToGb18030(text), "a?b");
}

TEST(CodePage, Utf8Conversions) {
    const std::string utf8 = "\xE4\xBA\xAC\xE5\x9F\x8E";  // 京城
    EXPECT_EQ(Utf8ToWide(utf8), L"京城");
    EXPECT_EQ(WideToUtf8(L"京城"), utf8);
    EXPECT_EQ(Gb18030ToUtf8("\xBE\xA9\xB3\xC7"), utf8);
    EXPECT_EQ(Utf8ToGb18030(utf8), "\xBE\xA9\xB3\xC7");
    EXPECT_EQ(Gb18030ToUtf8(std::string("\xFF", 1)), "\xEF\xBF\xBD");
}

TEST(CodePage, EmptyAndZeroBytes) {
    EXPECT_EQ(WideToGb18030(L""), "");
    EXPECT_EQ(Gb18030ToWide(""), L"");
    EXPECT_EQ(Gb18030ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(CodePage, LongTextCrossesInternalChunks) {
    std::wstring text;
    for (int i = 0; i < 5000; ++i) text += L"电视剧";
    EXPECT_EQ(Gb18030ToWide(WideToGb18030(text)), text);
}

}  // namespace
}  // namespace platform
