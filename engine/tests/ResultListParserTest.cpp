#include "engine/ResultListParser.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/tests/GbkPage.h"

namespace vantrel {
namespace {

using test::Gbk;
using test::SearchPage;

const std::string kFullItem =
    "<li><div class=\"pic_left\"><a href=\"/d/1.html\"><img src=\"/p/1.jpg\"></a>"
    "<em class=\"left\">超清</em><em class=\"right\">全40集</em></div>"
    "<div class=\"txt_right\"><h3><a class=\"aVideoName\" href=\"/d/1.html\">山海长歌</a>"
    "<span class=\"sVideoStyle\">[电视剧]</span></h3>"
    "<p>评分：<span class=\"sVideoScoreNum\"><b>9.1</b></span></p>"
    "<p><em>导演：</em><a>秦风</a></p>"
    "<p><em>演员：</em><a>顾长安</a><a>叶知秋</a><a>沈青禾</a></p>"
    "<p><em>类型：</em><a>古装</a><a>武侠</a></p>"
    "<p><em>地区：</em><span>中国大陆</span> <em>年代：</em><span>2020</span></p>"
    "<p><em>简介：</em>少年下山。</p></div></li>";

std::vector<SearchResult> Parse(const std::string& page, bool expectList = true) {
    std::vector<SearchResult> results;
    EXPECT_EQ(ParseResultList(page, &results), expectList);
    return results;
}

std::vector<std::string> GbkList(std::initializer_list<const char*> texts) {
    std::vector<std::string> list;
    for (const char* text : texts) list.push_back(Gbk(text));
    return list;
}

TEST(ResultListParser, FillsEveryFieldOfAWellFormedItem) {
    auto results = Parse(SearchPage(kFullItem));
    ASSERT_EQ(results.size(), 1u);
    const SearchResult& r = results[0];
    EXPECT_EQ(r.name, Gbk("山海长歌"));
    EXPECT_EQ(r.category, Gbk("[电视剧]"));
    EXPECT_EQ(r.badgeLeft, Gbk("超清"));
    EXPECT_EQ(r.score, "9.1");
    EXPECT_EQ(r.synopsis, Gbk("少年下山。"));
    EXPECT_EQ(r.region, Gbk("中国大陆"));
    EXPECT_EQ(r.badgeRight, Gbk("全40集"));
    EXPECT_EQ(r.detailUrl, "/d/1.html");
    EXPECT_EQ(r.posterUrl, "/p/1.jpg");
    EXPECT_EQ(r.year, "2020");
    EXPECT_EQ(r.actors, GbkList({"顾长安", "叶知秋", "沈青禾"}));
    EXPECT_EQ(r.directors, GbkList({"秦风"}));
    EXPECT_EQ(r.genres, GbkList({"古装", "武侠"}));
}

TEST(ResultListParser, PagesWithoutTheListOrItems) {
    EXPECT_TRUE(Parse(Gbk("<html><ul id=\"other\"><li>x</li></ul></html>"), false).empty());
    EXPECT_TRUE(Parse("", false).empty());
    EXPECT_TRUE(Parse(SearchPage("")).empty());
    // The id compares without letter case; two lists: only the first one counts.
    auto results =
        Parse(Gbk("<ul id=\"SearchList\"><li><div class=\"txt_right\">"
                  "<a class=\"aVideoName\">一</a></div></li></ul>"
                  "<ul id=\"searchlist\"><li>二</li><li>三</li></ul>"));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].name, Gbk("一"));
}

TEST(ResultListParser, CollectsNestedItemsButNotItemsInsideItems) {
    auto results = Parse(SearchPage("<div><li><ul><li>inner</li></ul></li></div><li></li>"));
    EXPECT_EQ(results.size(), 2u);
}

TEST(ResultListParser, AppendsAfterWhatTheVectorHolds) {
    std::vector<SearchResult> results(2);
    results[0].name = "kept";
    ASSERT_TRUE(ParseResultList(SearchPage(kFullItem), &results));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].name, "kept");
    EXPECT_EQ(results[2].name, Gbk("山海长歌"));
}

TEST(ResultListParser, SiblingRunsStopAtWhiteSpace) {
    auto results =
        Parse(SearchPage("<li><div class=\"txt_right\"><p><em>演员：</em><a>甲</a>\n<a>乙</a></p>"
                         "<p><em>类型：</em><a>古装</a><span>武侠</span></p></div></li>"));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].actors, GbkList({"甲"}));
    EXPECT_EQ(results[0].genres, GbkList({"古装"}));  // the run keeps one tag name
}

TEST(ResultListParser, LabelsMatchExactlyAndRepeatedLabelsAddBothRuns) {
    auto results = Parse(SearchPage(
        "<li><div class=\"txt_right\">"
        "<p><em>地区 ：</em><span>中国</span><em>年代：</em>2020</p>"  // blank, text node
        "<p><em>演员：</em><a>甲</a></p><p><em>演员：</em><a>乙</a></p>"
        "<p><em>简介：</em><b>加粗</b></p></div></li>"));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].region, "");
    EXPECT_EQ(results[0].year, "");
    EXPECT_EQ(results[0].actors, GbkList({"甲", "乙"}));
    EXPECT_EQ(results[0].synopsis, "<b>");  // an element's text is its opening tag
}

TEST(ResultListParser, ClassComparisons) {
    auto results = Parse(SearchPage(
        "<li><div class=\"PIC_LEFT\"><img src=\"a.jpg\"><img src=\"b.jpg\"><img alt=\"c\">"
        "<em class=\"RIGHT\">右</em></div>"
        "<div class=\"txt_right\"><a class=\"avideoname\" href=\"x\">小写</a>"
        "<span class=\"sVideoStyle\">[电影]</span></div></li>"
        "<li><div class=\"txt_right extra\"><a class=\"aVideoName\">不算</a></div></li>"));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].posterUrl, "b.jpg");  // the last img with a src wins
    EXPECT_EQ(results[0].badgeRight, Gbk("右"));
    EXPECT_EQ(results[0].name, "");  // class values are compared exactly
    EXPECT_EQ(results[0].category, Gbk("[电影]"));
    EXPECT_EQ(results[1].name, "");  // "txt_right extra" is no text block
}

TEST(ResultListParser, ItemsMissingABlockOrAFieldStillYieldRecords) {
    auto results = Parse(SearchPage(
        "<li><div class=\"pic_left\"><img src=\"only.jpg\"></div></li>"
        "<li><div class=\"txt_right\"><a class=\"aVideoName\">无评分</a>"
        "<span class=\"sVideoScoreNum\">8.0</span><a class=\"aVideoName\"></a></div></li>"));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].posterUrl, "only.jpg");
    EXPECT_EQ(results[0].name, "");
    EXPECT_EQ(results[1].name, Gbk("无评分"));  // the empty second link has no first child
    EXPECT_EQ(results[1].detailUrl, "");
    EXPECT_EQ(results[1].score, "");  // the score must sit in an inner element
}

TEST(ResultListParser, LabelWithoutNextSiblingIsAnOrdinaryElement) {
    auto results = Parse(SearchPage(
        "<li><div class=\"txt_right\"><p><em class=\"sVideoStyle\">[动漫]</em></p></div></li>"));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].category, Gbk("[动漫]"));
}

TEST(ResultListParser, OverlappingLabelRunsAreBounded) {
    // Every label's run is all the labels after it: without a bound this page
    // would need about n*n/2 entries.
    std::string labels;
    for (int i = 0; i < 20000; ++i) labels += "<em>演员：</em>";
    auto results =
        Parse(SearchPage("<li><div class=\"txt_right\"><p>" + labels + "</p></div></li>"));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].actors.size(), kMaxListEntries);
}

// Entries and bytes of the list fields of all records.
std::pair<size_t, size_t> ListTotals(const std::vector<SearchResult>& results) {
    size_t entries = 0, bytes = 0;
    for (const SearchResult& r : results) {
        for (const auto* list : {&r.actors, &r.directors, &r.genres}) {
            entries += list->size();
            for (const std::string& text : *list) bytes += text.size();
        }
    }
    return {entries, bytes};
}

// Items of `triples` rows of the three list labels in a row: every label collects all
// the labels after it.
std::string LabelRowItems(int items, int triples) {
    std::string row;
    for (int i = 0; i < triples; ++i) row += "<em>演员：</em><em>导演：</em><em>类型：</em>";
    std::string out;
    for (int i = 0; i < items; ++i)
        out += "<li><div class=\"txt_right\"><p>" + row + "</p></div></li>";
    return out;
}

// One item whose labels (genres first, then directors, then actors, `labels` in all)
// stand in a row before one value of `valueBytes`: every label collects the value.
std::string ValueBehindLabelsItem(int labels, size_t valueBytes) {
    std::string row;
    for (const char* label : {"类型：", "导演：", "演员："})
        for (int i = 0; i < labels / 3; ++i) row += std::string("<em>") + label + "</em>";
    return "<li><div class=\"txt_right\"><p>" + row + "<em>" + std::string(valueBytes, 'v') +
           "</em></p></div></li>";
}

size_t CopiesOf(const std::vector<SearchResult>& results, size_t valueBytes) {
    size_t copies = 0;
    for (const SearchResult& r : results)
        for (const auto* list : {&r.actors, &r.directors, &r.genres})
            copies += std::count_if(list->begin(), list->end(),
                                    [&](const std::string& t) { return t.size() == valueBytes; });
    return copies;
}

TEST(ResultListParser, LabelsInARowAreBoundedPerPageInEntries) {
    // Below the bound nothing changes: each list of each item fills to its own cap.
    auto results = Parse(SearchPage(LabelRowItems(2, 150)));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(ListTotals(results).first, 2 * 3 * kMaxListEntries);
    // Twenty such items would ask for 245,760 entries: the page stops at its bound.
    results = Parse(SearchPage(LabelRowItems(20, 150)));
    ASSERT_EQ(results.size(), 20u);
    EXPECT_EQ(ListTotals(results).first, kMaxListEntriesPerPage);
    EXPECT_EQ(results[0].actors.size(), kMaxListEntries);
    EXPECT_LT(results[19].actors.size(), kMaxListEntries);
}

TEST(ResultListParser, AValueBehindManyLabelsIsBoundedPerPageInBytes) {
    constexpr size_t kValue = 256 * 1024;
    // Below the bound every label collects the value.
    auto results = Parse(SearchPage(ValueBehindLabelsItem(9, kValue)));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(CopiesOf(results, kValue), 9u);
    EXPECT_EQ(results[0].actors.size(), 6u);  // the last three labels: runs of 3, 2 and 1
    // 150 labels would copy it about 130 times: the copies stop at the page's bytes.
    results = Parse(SearchPage(ValueBehindLabelsItem(150, kValue)));
    ASSERT_EQ(results.size(), 1u);
    const size_t copies = CopiesOf(results, kValue);
    EXPECT_LE(ListTotals(results).second, kMaxListBytesPerPage);
    EXPECT_EQ(copies, kMaxListBytesPerPage / kValue - 1);
}

TEST(ResultListParser, ItemsPerPageAreBounded) {
    std::string items;
    for (size_t i = 0; i <= kMaxResultItems; ++i) items += "<li></li>";
    EXPECT_EQ(Parse(SearchPage(items)).size(), kMaxResultItems);
}

}  // namespace
}  // namespace vantrel
