#include "engine/HtmlTree.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "engine/DetailPageParser.h"
#include "engine/PageGuard.h"
#include "engine/ResultListParser.h"

namespace vantrel {
namespace {

std::string Repeat(const std::string& text, size_t times) {
    std::string out;
    out.reserve(text.size() * times);
    for (size_t i = 0; i < times; ++i) out += text;
    return out;
}

std::string SampleFile(const std::string& path) {
    std::ifstream in(std::string(TROVIK_SOURCE_DIR) + "/tools/devserver/site/" + path,
                     std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs `work` on a thread with a 512 KB stack and waits for it.
void RunOnSmallStack(std::function<void()> work) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 512 * 1024);
    pthread_t thread;
    auto entry = [](void* arg) -> void* {
        (*static_cast<std::function<void()>*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, entry, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

TEST(PageGuard, PredictsTheTreeOfRealPages) {
    for (const char* path : {"detail/2002.html", "detail/1001.html",
                             "search_%C8%AB%B2%BF/index.html", "index.html", "play/index.html"}) {
        const std::string page = SampleFile(path);
        ASSERT_FALSE(page.empty()) << path;
        const PageCost cost = ScanPage(page);
        EXPECT_TRUE(cost.accepted) << path;
        HtmlTree tree(page);
        EXPECT_TRUE(tree.parsed());
        EXPECT_EQ(cost.nodes, tree.nodeCount()) << path;
        // Real pages close what they open: hardly any extra work.
        EXPECT_LT(cost.steps, cost.nodes) << path;
    }
}

TEST(PageGuard, ModelsLiteralTextCommentsAndStrayTags) {
    const std::string page =
        "<p>a<script>if (a<b) x='</p>';</script ></SCRIPT>b<!-- <li> --></ 3>"
        "<style>x</style ></style><img src=\">\"><br>t</i></p><?x?><textarea><a></textarea>";
    HtmlTree tree(page);
    EXPECT_EQ(ScanPage(page).nodes, tree.nodeCount());
}

TEST(PageGuard, RefusesUnclosedRunsClosedLater) {
    // 10,000 unclosed items closed by one end tag: htmlcxx would spend about 10^8
    // moves (over a second) building this 60 KB page.
    const std::string page = "<ul>" + Repeat("<li>item", 10000) + "</ul>";
    const PageCost cost = ScanPage(page);
    EXPECT_FALSE(cost.accepted);
    EXPECT_GT(cost.steps, PageLimits().maxSteps);
    // The same items closed one by one are fine.
    EXPECT_TRUE(ScanPage("<ul>" + Repeat("<li>item</li>", 10000) + "</ul>").accepted);
}

TEST(PageGuard, RefusesStrayEndTagsBelowManyOpenElements) {
    const std::string page = Repeat("<div>", 40000) + Repeat("</p>", 40000);
    EXPECT_FALSE(ScanPage(page).accepted);
    EXPECT_TRUE(ScanPage(Repeat("<div>", 100) + Repeat("</p>", 100)).accepted);
}

TEST(PageGuard, RefusesTooManyNodesAndTooManyBytes) {
    EXPECT_FALSE(ScanPage(Repeat("<a>x</a>", 300000)).accepted);
    PageLimits small;
    small.maxBytes = 10;
    EXPECT_FALSE(ScanPage("<p>eleven b", small).accepted);
    EXPECT_TRUE(ScanPage("<p>ten by", small).accepted);
}

TEST(HtmlTree, RefusedPageIsEmpty) {
    HtmlTree tree("<ul id=searchlist>" + Repeat("<li>x", 20000) + "</ul>");
    EXPECT_FALSE(tree.parsed());
    EXPECT_EQ(tree.root()->first_child, nullptr);
    std::vector<SearchResult> results;
    EXPECT_FALSE(
        ParseResultList("<ul id=searchlist>" + Repeat("<li>x", 20000) + "</ul>", &results));
}

TEST(HtmlTree, DeepNestingIsFreedWithoutRecursion) {
    // Each unclosed element nests one level deeper. Freeing this tree the way
    // htmlcxx does would take about 300,000 stack frames; run it on a small stack
    // to be sure nothing recurses.
    const std::string page = Repeat("<div>", 300000);
    RunOnSmallStack([&] {
        HtmlTree tree(page);
        EXPECT_TRUE(tree.parsed());
        EXPECT_EQ(tree.nodeCount(), 300000u);
    });
    std::vector<PlaySource> sources;
    EXPECT_FALSE(ParseMoviePage(page, &sources));
    EXPECT_FALSE(ParseSeriesPage("<div class=playNumList>" + page, &sources));
}

TEST(HtmlTree, BinaryAndTruncatedPages) {
    std::string binary;
    for (int i = 0; i < 200000; ++i) binary += static_cast<char>((i * 7919) % 256);
    for (const std::string& page :
         {binary, std::string("<ul id=\"searchlist\"><li><div class=\"txt_right\"><a class=\"aVid"),
          std::string("<a href=\"x"), std::string("<!--"), std::string("<script>"),
          std::string("</"), std::string("<")}) {
        std::vector<SearchResult> results;
        ParseResultList(page, &results);
        std::vector<PlaySource> sources;
        ParseMoviePage(page, &sources);
        ParseSeriesPage(page, &sources);
        HtmlTree tree(page);
        EXPECT_EQ(ScanPage(page).nodes, tree.nodeCount());
    }
}

}  // namespace
}  // namespace vantrel
