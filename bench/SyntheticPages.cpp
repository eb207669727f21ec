#include "bench/SyntheticPages.h"

#include "platform/CodePage.h"

namespace bench {
namespace {

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

std::string Chrome(const std::string& body) {
    std::string nav;
    for (int i = 0; i < 120; ++i)
        nav += "<li class=\"navItem\"><a href=\"http://www.portal.test/channel/" +
               std::to_string(i) + "/\" title=\"频道\">频道" + std::to_string(i) + "</a></li>\n";
    return "<!DOCTYPE html><html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
           "charset=gbk\"><title>搜索结果</title><script type=\"text/javascript\">var a = 1; "
           "if (a < 2) { a = \"<b>\"; }</script><link rel=\"stylesheet\" href=\"/css/a.css\">"
           "</head><body><div class=\"header\"><ul class=\"nav\">\n" +
           nav + "</ul></div>\n" + body +
           "<div class=\"footer\"><p>版权所有 示例站点</p></div></body></html>\n";
}

}  // namespace

std::string SearchPage(int items) {
    const std::string synopsis =
        Repeat("江湖动荡，少年侠客背负师门血仇下山，一路结识知己、历经生死。", 50);
    std::string list;
    for (int i = 0; i < items; ++i) {
        const std::string id = std::to_string(10000 + i);
        std::string actors;
        for (int a = 0; a < 12; ++a)
            actors += "<a href=\"http://so.portal.test/search_%C3%FB" + std::to_string(a) +
                      "/\" target=\"_blank\">演员" + std::to_string(a) + "</a>";
        list +=
            "<li class=\"resultItem\">\n<div class=\"pic_left\"><a "
            "href=\"http://v.portal.test/detail/" +
            id + ".html\" target=\"_blank\"><img src=\"http://img.portal.test/poster/" + id +
            ".jpg\" alt=\"节目\" width=\"120\" height=\"160\"></a><em class=\"left\">超清</em>"
            "<em class=\"right\">全40集</em></div>\n<div class=\"txt_right\">\n<h3><a "
            "class=\"aVideoName\" "
            "href=\"http://v.portal.test/detail/" +
            id + ".html\" target=\"_blank\">山海长歌" + std::to_string(i) +
            "</a><span class=\"sVideoStyle\">[电视剧]</span></h3>\n<p class=\"score\">评分：<span "
            "class=\"sVideoScoreNum\"><b>9.1</b></span></p>\n<p><em>导演：</em><a "
            "href=\"#\">秦风</a>"
            "<a href=\"#\">韩子墨</a></p>\n<p><em>演员：</em>" +
            actors +
            "</p>\n<p><em>类型：</em><a href=\"#\">古装</a><a href=\"#\">武侠</a><a "
            "href=\"#\">剧情</a></p>\n"
            "<p><em>地区：</em><span>中国大陆</span> <em>年代：</em><span>2020</span></p>\n"
            "<p class=\"desc\"><em>简介：</em>" +
            synopsis + "</p>\n</div>\n</li>\n";
    }
    return platform::Utf8ToGb18030(
        Chrome("<ul id=\"searchlist\" class=\"resultList\">\n" + list + "</ul>\n"));
}

std::string SeriesPage(int sites, int episodes) {
    std::string tabs, blocks;
    for (int s = 0; s < sites; ++s) {
        const std::string site = std::to_string(s);
        tabs += "<a href=\"javascript:;\"><img src=\"http://img.portal.test/site/" + site +
                ".png\"><span>站点" + site + "</span></a>\n";
        std::string links;
        for (int e = 1; e <= episodes; ++e)
            links += "<a href=\"http://play.site" + site + ".test/v/" + std::to_string(e) +
                     ".html\" target=\"_blank\" title=\"第" + std::to_string(e) + "集\">" +
                     std::to_string(e) + "</a>";
        blocks += "<div class=\"playNumCon\">" + links + "</div>\n";
    }
    return platform::Utf8ToGb18030(
        Chrome("<div class=\"detailInfo\"><h1>山海长歌</h1><p>" + Repeat("简介文字。", 100) +
               "</p></div><div class=\"playNumList\"><div class=\"playNumTab clearfix\">\n" + tabs +
               "</div>\n" + blocks + "</div>\n"));
}

namespace {

std::string LabelList(const std::string& items) {
    return platform::Utf8ToGb18030(Chrome("<ul id=\"searchlist\">\n" + items + "</ul>\n"));
}

std::string Label(const char* label, bool runs) {
    return std::string("<em>") + (runs ? label : "地区：") + "</em>";
}

}  // namespace

std::string LabelRowsPage(int items, int labels, bool runs) {
    const char* kinds[] = {"演员：", "导演：", "类型："};
    std::string row;
    for (int i = 0; i < labels; ++i) row += Label(kinds[i % 3], runs);
    std::string list;
    for (int i = 0; i < items; ++i)
        list += "<li><div class=\"txt_right\"><a class=\"aVideoName\">节目" + std::to_string(i) +
                "</a><p>" + row + "</p></div></li>\n";
    return LabelList(list);
}

std::string LabelValuePage(int labels, size_t valueBytes, bool runs) {
    std::string row;
    for (const char* kind : {"类型：", "导演：", "演员："})
        for (int i = 0; i < labels / 3; ++i) row += Label(kind, runs);
    return LabelList("<li><div class=\"txt_right\"><a class=\"aVideoName\">节目</a><p>" + row +
                     "<em>" + std::string(valueBytes, 'v') + "</em></p></div></li>\n");
}

}  // namespace bench
