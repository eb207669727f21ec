// The texts of a result page and the search keyword, composed in GB18030.

#include <gtest/gtest.h>

#include <regex>

#include "client/mainwnd/ResultText.h"
#include "client/mainwnd/SearchKeyword.h"
#include "common/TextCodec.h"

namespace {

std::string A(const wchar_t* text) {
    return WideToAnsi(text);
}

TEST(SearchKeywordTest, EncodesTheGb18030BytesWithUpperCaseHexAndPlusForSpace) {
    // "月" is D4 C2 in GB18030 (and GBK).
    EXPECT_EQ(SearchKeyword(L"月"), "%D4%C2");
    EXPECT_EQ(SearchKeyword(L"a b"), "a+b");
    EXPECT_EQ(SearchKeyword(L"   "), "+++");
    EXPECT_EQ(SearchKeyword(L"Az09-_.~"), "Az09-_.~");
    EXPECT_EQ(SearchKeyword(L"/?&=%"), "%2F%3F%26%3D%25");
    EXPECT_EQ(SearchKeyword(L""), "");
}

TEST(SearchKeywordTest, HoldsOnlyTheUrlSafeAlphabet) {
    const std::regex safe("^([A-Za-z0-9._~+-]|%[0-9A-F]{2})*$");
    for (const wchar_t* text :
         {L"城南旧事录 第2季", L"Ünïcødé ☃ 𝄞", L"\t\r\n\"'<>", L"山海长歌!"}) {
        const std::string keyword = SearchKeyword(text);
        EXPECT_TRUE(std::regex_match(keyword, safe)) << keyword;
        EXPECT_FALSE(keyword.empty());
    }
}

TEST(ResultTextTest, JoinStopsAfterTheFifthNameWithAnEllipsis) {
    EXPECT_EQ(Join({}), "");
    EXPECT_EQ(Join({"a", "b", "c"}), "a b c ");
    EXPECT_EQ(Join({"a", "b", "c", "d", "e"}), "a b c d e...");
    EXPECT_EQ(Join({"a", "b", "c", "d", "e", "f"}), "a b c d e...");
    EXPECT_EQ(ActorsText({A(L"甲"), A(L"乙")}), A(L"演员 : 甲 乙 "));
    EXPECT_EQ(DirectorsText({}), A(L"导演 : "));
}

TEST(ResultTextTest, ScoreMarkupSplitsAtTheFirstDot) {
    EXPECT_EQ(ScoreMarkup("8.5"), A(L"{f 4}8{/f}{f 3}.5分{/f}"));
    EXPECT_EQ(ScoreMarkup("9"), A(L"{f 4}9{/f}{f 3}分{/f}"));
    EXPECT_EQ(ScoreMarkup("7.2.1"), A(L"{f 4}7{/f}{f 3}.2.1分{/f}"));
    EXPECT_EQ(ScoreMarkup(".5"), A(L"{f 4}{/f}{f 3}.5分{/f}"));
}

TEST(ResultTextTest, NameAndSynopsisAreCutByBytes) {
    const std::string ten = A(L"一二三四五六七八九十");  // 20 bytes
    EXPECT_EQ(NameText(ten), ten);
    const std::string eleven = ten + A(L"壹");
    EXPECT_EQ(NameText(eleven), ten + "...");
    // A cut in the middle of a double-byte character keeps the lead byte.
    const std::string odd = "x" + ten;
    EXPECT_EQ(NameText(odd), odd.substr(0, 20) + "...");
    EXPECT_EQ(NameText(odd).size(), 23u);

    EXPECT_EQ(SynopsisText(""), A(L"简介 : ..."));
    EXPECT_EQ(SynopsisText("short"), A(L"简介 : short..."));
    const std::string long100(100, 'x');
    EXPECT_EQ(SynopsisText(long100), A(L"简介 : ") + std::string(96, 'x') + "...");
    EXPECT_EQ(CutBytes(std::string(96, 'y'), 96), std::string(96, 'y'));
}

TEST(ResultTextTest, LengthLabelDependsOnTheExactFilmCategory) {
    EXPECT_EQ(LengthText(A(L"[电影]"), "HD"), A(L"片长 : HD"));
    EXPECT_EQ(LengthText(A(L"[电视剧]"), A(L"全40集")), A(L"集数 : 全40集"));
    EXPECT_EQ(LengthText(A(L"[电影] "), "HD"), A(L"集数 : HD"));
    EXPECT_EQ(CategoryText(A(L"[动漫]")), A(L"类型 : [动漫]"));
    EXPECT_EQ(EpisodeText(17), A(L"{f 1}17集{/f}"));
}

}  // namespace
