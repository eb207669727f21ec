#include <gtest/gtest.h>

#include "uilib/src/drawing/HtmlText.h"

using UiLib::detail::ParseMarkup;

TEST(InlineMarkup, FontRunsOfAScore) {
    const auto runs = ParseMarkup(L"{f 4}8{/f}{f 3}.5分{/f}", -1);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, L"8");
    EXPECT_EQ(runs[0].font, 4);
    EXPECT_EQ(runs[1].text, L".5分");
    EXPECT_EQ(runs[1].font, 3);
}

TEST(InlineMarkup, TextOutsideTagsKeepsTheControlsFont) {
    const auto runs = ParseMarkup(L"评分 {f 1}9{/f} 分", 2);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].font, 2);
    EXPECT_EQ(runs[1].font, 1);
    EXPECT_EQ(runs[2].text, L" 分");
    EXPECT_EQ(runs[2].font, 2);
}

TEST(InlineMarkup, ColourBoldAndLineBreak) {
    const auto runs = ParseMarkup(L"{c #FF112233}a{b}b{/b}{/c}{n}c", -1);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_TRUE(runs[0].hasColor);
    EXPECT_EQ(runs[0].color, 0xFF112233u);
    EXPECT_FALSE(runs[0].bold);
    EXPECT_TRUE(runs[1].bold);
    EXPECT_TRUE(runs[1].hasColor);
    EXPECT_TRUE(runs[2].lineBreak);
    EXPECT_EQ(runs[3].text, L"c");
    EXPECT_FALSE(runs[3].hasColor);
}

TEST(InlineMarkup, UnknownAndUnbalancedTagsStayText) {
    auto runs = ParseMarkup(L"{x}a{/f}b{f 2}c", -1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"{x}a{/f}b{f 2}c");
    runs = ParseMarkup(L"{f 1}{f 2}a{/f}", -1);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, L"{f 1}");
    EXPECT_EQ(runs[1].text, L"a");
    EXPECT_EQ(runs[1].font, 2);
    runs = ParseMarkup(L"{f 1}a{/c}", -1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"{f 1}a{/c}");
    runs = ParseMarkup(L"brace { only", -1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"brace { only");
}
