#include "engine/DetailPageParser.h"

#include <gtest/gtest.h>

#include "engine/tests/GbkPage.h"

namespace vantrel {
namespace {

using test::Gbk;

std::string Tab(const std::string& icon, const std::string& name) {
    return "<a href=\"javascript:;\"><img src=\"" + icon + "\"><span>" + name + "</span></a>";
}

std::string SeriesPage(const std::string& tabs, const std::string& blocks,
                       const std::string& tabClass = "playNumTab clearfix") {
    return Gbk("<div class=\"detail\"><div class=\"playNumList\"><div class=\"" + tabClass + "\">" +
               tabs + "</div>" + blocks + "</div></div>");
}

std::string Block(const std::string& links) {
    return "<div class=\"playNumCon\">" + links + "</div>";
}

TEST(SeriesPage, OneSourcePerTabWithTheBlockAtItsPosition) {
    std::vector<PlaySource> sources;
    const std::string page =
        SeriesPage(Tab("q.png", "青柚视频") + Tab("x.png", "星河TV"),
                   Block("<a target=\"_blank\" href=\"e1\" title=\"第1集\">1</a>"
                         "<a target=\"_BLANK\" href=\"e2\" title=\"第2集\">2</a>") +
                       Block("<a target=\"_blank\" href=\"f1\" title=\"第1集\">1</a>"));
    EXPECT_TRUE(ParseSeriesPage(page, &sources));
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0].name, Gbk("青柚视频"));
    EXPECT_EQ(sources[0].iconUrl, "q.png");
    EXPECT_EQ(sources[0].links, (std::vector<std::string>{"e1", "e2"}));
    EXPECT_EQ(sources[1].name, Gbk("星河TV"));
    EXPECT_EQ(sources[1].links, (std::vector<std::string>{"f1"}));
}

TEST(SeriesPage, TabsAndBlocksOutOfStep) {
    const std::string tabs3 = Tab("a", "A") + Tab("b", "B") + Tab("c", "C");
    std::vector<PlaySource> sources;
    EXPECT_FALSE(ParseSeriesPage(SeriesPage(tabs3, Block("") + Block("")), &sources));
    EXPECT_EQ(sources.size(), 2u);  // the tabs that had a block stay appended

    sources.clear();
    const std::string blocks3 = Block("<a target=_blank href=1>") +
                                Block("<a target=_blank href=2>") +
                                Block("<a target=_blank href=3>");
    EXPECT_TRUE(ParseSeriesPage(SeriesPage(Tab("a", "A") + Tab("b", "B"), blocks3), &sources));
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[1].links, (std::vector<std::string>{"2"}));
}

TEST(SeriesPage, MissingAreaOrTabBar) {
    std::vector<PlaySource> sources;
    EXPECT_FALSE(ParseSeriesPage(Gbk("<div class=\"playNumCon\"></div>"), &sources));
    // An area without a recognised tab bar appends nothing.
    EXPECT_FALSE(
        ParseSeriesPage(SeriesPage(Tab("a", "A"), Block(""), "playNumTab clearfix on"), &sources));
    EXPECT_FALSE(
        ParseSeriesPage(Gbk("<div class=\"playNumList\">") + Block("") + "</div>", &sources));
    EXPECT_TRUE(sources.empty());
}

TEST(EpisodeLinks, FirstLinkOfEachTitleWithTargetAndHref) {
    std::vector<PlaySource> sources;
    ParseSeriesPage(
        SeriesPage(Tab("a", "A"), Block("<a target=\"_blank\" href=\"one\" title=\"第1集\">1</a>"
                                        "<a target=\"_blank\" href=\"again\" title=\"第1集\">1</a>"
                                        "<a target=\"_blank\" href=\"untitled\">预告</a>"
                                        "<a target=\"_blank\" href=\"untitled2\">花絮</a>"
                                        "<a href=\"notarget\" title=\"第2集\">2</a>"
                                        "<a target=\"_self\" href=\"self\" title=\"第3集\">3</a>"
                                        "<a target=\"_blank\" title=\"第4集\">no href</a>")),
        &sources);
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0].links, (std::vector<std::string>{"one", "untitled"}));
}

TEST(MoviePage, IconsInsideAndOutsideListItems) {
    std::vector<PlaySource> sources;
    const std::string page =
        Gbk("<div class=\"MoviePlaySourceA\"><ul>"
            "<li><a href=\"p1\"><span><img src=\"i1.png\"></span>青柚视频</a></li>"
            "<li><a href=\"p2\"><span></span>空图标</a></li></ul>"
            "<a href=\"p3\"><img src=\"i3.png\">星河TV</a>"
            "<a><img src=\"i4.png\">无链接</a><a href=\"single\">只有文字</a></div>"
            "<div class=\"moviePlaySourceA\"><a href=\"second\"><img src=\"x\">第二块</a></div>");
    EXPECT_TRUE(ParseMoviePage(page, &sources));
    ASSERT_EQ(sources.size(), 4u);
    EXPECT_EQ(sources[0].name, Gbk("青柚视频"));
    EXPECT_EQ(sources[0].iconUrl, "i1.png");
    EXPECT_EQ(sources[0].links, (std::vector<std::string>{"p1"}));
    EXPECT_EQ(sources[1].iconUrl, "");  // the wrapper has no child
    EXPECT_EQ(sources[2].iconUrl, "i3.png");
    EXPECT_EQ(sources[2].name, Gbk("星河TV"));
    EXPECT_EQ(sources[3].links, (std::vector<std::string>{""}));
}

TEST(MoviePage, PageWithoutTheBlock) {
    std::vector<PlaySource> sources;
    EXPECT_FALSE(ParseMoviePage(
        Gbk("<div class=\"moviePlaySourceA x\"><a href=1><b></b>t</a></div>"), &sources));
    EXPECT_TRUE(sources.empty());
}

}  // namespace
}  // namespace vantrel
