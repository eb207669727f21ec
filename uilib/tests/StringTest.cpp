#include <gtest/gtest.h>

#include "uilib/core/Control.h"
#include "uilib/core/DuiString.h"
#include "uilib/src/text/AttributeValues.h"

using namespace UiLib;

TEST(DuiString, FormatTakesWideStringsForPercentS) {
    CDuiString s;
    s.Format(L"file='%s' source='%d,0,410,240'", L"/tmp/海报.png", 12);
    EXPECT_EQ(s.str(), L"file='/tmp/海报.png' source='12,0,410,240'");
    s.Format(L"%hs|%c|%%|%5d", "narrow", L'字', 42);
    EXPECT_EQ(s.str(), L"narrow|字|%|   42");
}

TEST(DuiString, FormatHandlesLongResults) {
    const std::wstring longText(5000, L'x');
    CDuiString s;
    EXPECT_EQ(s.Format(L"[%s]", longText.c_str()), 5002);
    EXPECT_EQ(s.GetLength(), 5002);
}

TEST(DuiString, SearchingAndSlicing) {
    CDuiString s(L"file='a\\b\\c.png'");
    EXPECT_EQ(s.ReverseFind(L'\\'), 9);
    EXPECT_EQ(s.Mid(10).str(), L"c.png'");
    EXPECT_EQ(s.Find(L"b"), 8);
    EXPECT_EQ(s.Find(L'z'), -1);
    EXPECT_EQ(s.Replace(L"'", L""), 2);
    EXPECT_EQ(s.str(), L"file=a\\b\\c.png");
    EXPECT_EQ(s.Left(4).str(), L"file");
    EXPECT_EQ(s.Right(3).str(), L"png");
    EXPECT_EQ(s.Mid(100).str(), L"");
    EXPECT_EQ(s.GetAt(1000), L'\0');
}

TEST(DuiString, CompareNoCase) {
    EXPECT_EQ(CDuiString(L"SkinPictureItem").CompareNoCase(L"skinpictureitem"), 0);
    EXPECT_NE(CDuiString(L"Menu").CompareNoCase(L"MenuElement"), 0);
    EXPECT_TRUE(EqualsNoCase(L"TrovikResultItem", L"TROVIKRESULTITEM"));
    EXPECT_FALSE(EqualsNoCase(nullptr, L"x"));
}

TEST(DuiString, Utf8RoundTrip) {
    const std::wstring text = L"请输入片名 abc 😀";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(WideToUtf8(L"分"), "\xE5\x88\x86");
    // A broken sequence becomes a replacement character instead of being dropped.
    EXPECT_EQ(Utf8ToWide("a\xE5\x88"), std::wstring(L"a\uFFFD\uFFFD"));
}

TEST(AttributeValues, ColoursRectsAndBooleans) {
    using namespace UiLib::detail;
    EXPECT_EQ(ParseColor(L"#FF3399CC"), 0xFF3399CCu);
    EXPECT_EQ(ParseColor(L"#3399CC"), 0xFF3399CCu);
    EXPECT_EQ(ParseColor(L"FF8C8C8C"), 0xFF8C8C8Cu);
    EXPECT_EQ(ParseColor(L"#12345"), 0u);
    EXPECT_EQ(ParseColor(L"#GG0000"), 0u);
    const RECT rc = ParseRect(L"0,-43,0,0");
    EXPECT_EQ(rc.top, -43);
    EXPECT_EQ(rc.right, 0);
    const RECT partial = ParseRect(L"5,6");
    EXPECT_EQ(partial.left, 5);
    EXPECT_EQ(partial.top, 6);
    EXPECT_EQ(partial.bottom, 0);
    EXPECT_TRUE(ParseBool(L"TRUE"));
    EXPECT_FALSE(ParseBool(L"1"));
}

TEST(AttributeValues, ListsStopAtTheFirstMalformedPair) {
    using UiLib::detail::ParseAttributeList;
    const auto pairs = ParseAttributeList(L" text=\"甲 乙\"  tooltip = 'x=\"1\"' ");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0], (std::pair<std::wstring, std::wstring>{L"text", L"甲 乙"}));
    EXPECT_EQ(pairs[1].second, L"x=\"1\"");
    EXPECT_EQ(ParseAttributeList(L"a='1' dangling").size(), 1u);
    EXPECT_EQ(ParseAttributeList(L"a='1' b=unquoted c='3'").size(), 1u);
    EXPECT_EQ(ParseAttributeList(L"a='unclosed").size(), 0u);
    EXPECT_TRUE(ParseAttributeList(nullptr).empty());
}
