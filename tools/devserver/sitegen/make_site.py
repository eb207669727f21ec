#!/usr/bin/python3
"""Builds the sample portal below tools/devserver/site/ from shows.py.

Writes GBK HTML (search pages, detail pages, a home page, a play page) and draws
the posters and site icons with PIL. Run it again after editing shows.py:
    /usr/bin/python3 tools/devserver/sitegen/make_site.py
The pages link to the devserver's default address; devserver rewrites it when it
listens on another port.
"""
import html
import os
import shutil

from PIL import Image, ImageDraw, ImageFont

from shows import FIXED_SEARCH_PATHS, SEARCHES, SHOWS, SITES

HOST = "http://127.0.0.1:18632"
HERE = os.path.dirname(os.path.abspath(__file__))
SITE = os.path.join(os.path.dirname(HERE), "site")
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
BY_ID = {show["id"]: show for show in SHOWS}


def url_encode(data):
    """Percent-encodes bytes like the client's UrlEncode."""
    out = []
    for b in data:
        c = chr(b)
        if c.isascii() and (c.isalnum() or c in "-_.~"):
            out.append(c)
        elif c == " ":
            out.append("+")
        else:
            out.append("%%%02X" % b)
    return "".join(out)


def esc(text):
    return html.escape(text, quote=True)


def write_gbk(path, text):
    full = os.path.join(SITE, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(text.encode("gbk"))


def page(title, body):
    return ("<!DOCTYPE html>\n<html>\n<head>\n<meta http-equiv=\"Content-Type\" "
            "content=\"text/html; charset=gbk\">\n<title>%s - 影视搜索</title>\n"
            "<link rel=\"stylesheet\" href=\"%s/css/portal.css\">\n</head>\n<body>\n"
            "<div class=\"header\"><a class=\"logo\" href=\"%s/\">影视搜索</a>"
            "<form class=\"searchForm\" action=\"%s/\"><input type=\"text\" name=\"q\">"
            "<input type=\"submit\" value=\"搜索\"></form></div>\n%s\n"
            "<div class=\"footer\">示例站点，仅供开发与测试使用</div>\n</body>\n</html>\n"
            % (esc(title), HOST, HOST, HOST, body))


def detail_url(show):
    path = show["page"]
    if path.endswith("index.html"):
        path = path[: -len("index.html")]
    return "%s/%s" % (HOST, path)


def poster_url(show):
    return "%s/img/poster/%s.jpg" % (HOST, show["id"])


def icon_url(site):
    return "%s/img/site/%s.png" % (HOST, site)


def play_url(show, site, episode):
    return "%s/play/?v=%s-%s-%d" % (HOST, show["id"], site, episode)


def search_item(show):
    """One li of the result list. Runs of names have nothing between their links."""
    links = lambda names: "".join("<a href=\"%s/search_%s/\">%s</a>"
                                  % (HOST, url_encode(n.encode("gbk")), esc(n)) for n in names)
    return (
        "<li>\n"
        "<div class=\"pic_left\"><a href=\"%(detail)s\" target=\"_blank\"><img src=\"%(poster)s\" "
        "alt=\"%(title)s\"></a><em class=\"left\">%(bl)s</em><em class=\"right\">%(br)s</em></div>\n"
        "<div class=\"txt_right\">\n"
        "<h3><a class=\"aVideoName\" href=\"%(detail)s\" target=\"_blank\">%(title)s</a>"
        "<span class=\"sVideoStyle\">%(category)s</span></h3>\n"
        "<p class=\"score\">评分：<span class=\"sVideoScoreNum\"><b>%(score)s</b></span></p>\n"
        "<p><em>导演：</em>%(directors)s</p>\n"
        "<p><em>演员：</em>%(actors)s</p>\n"
        "<p><em>类型：</em>%(genres)s</p>\n"
        "<p><em>地区：</em><span>%(region)s</span> <em>年代：</em><span>%(year)s</span></p>\n"
        "<p class=\"desc\"><em>简介：</em>%(synopsis)s</p>\n"
        "</div>\n"
        "</li>\n"
        % dict(detail=detail_url(show), poster=poster_url(show), title=esc(show["title"]),
               bl=esc(show["badge_left"]), br=esc(show["badge_right"]), category=show["category"],
               score=show["score"], directors=links(show["directors"]),
               actors=links(show["actors"]), genres=links(show["genres"]),
               region=esc(show["region"]), year=show["year"], synopsis=esc(show["synopsis"])))


def search_page(keyword, ids):
    items = "".join(search_item(BY_ID[i]) for i in ids)
    body = ("<div class=\"searchTip\">搜索“%s”，共找到 %d 个结果</div>\n"
            "<ul id=\"searchlist\" class=\"resultList\">\n%s</ul>\n" % (esc(keyword), len(ids), items))
    return page(keyword, body)


def info_block(show):
    return ("<div class=\"detailInfo\"><img src=\"%s\" alt=\"%s\"><h1>%s</h1>"
            "<p>%s %s %s</p><p>导演：%s</p><p>主演：%s</p><p>%s</p></div>\n"
            % (poster_url(show), esc(show["title"]), esc(show["title"]), show["category"],
               esc(show["region"]), show["year"], esc(" ".join(show["directors"])),
               esc(" ".join(show["actors"])), esc(show["synopsis"])))


def film_page(show):
    items = "".join(
        "<li><a href=\"%s\" target=\"_blank\"><span class=\"siteIcon\"><img src=\"%s\"></span>%s</a></li>\n"
        % (play_url(show, site, 1), icon_url(site), esc(SITES[site])) for site, _ in show["sites"])
    body = info_block(show) + ("<div class=\"moviePlaySourceA\">\n<h2>播放来源</h2>\n<ul>\n%s</ul>\n</div>\n" % items)
    return page(show["title"], body)


def series_page(show):
    tabs = "".join(
        "<a href=\"javascript:;\"%s><img src=\"%s\"><span>%s</span></a>\n"
        % (" class=\"on\"" if n == 0 else "", icon_url(site), esc(SITES[site]))
        for n, (site, _) in enumerate(show["sites"]))
    blocks = ""
    for site, count in show["sites"]:
        label = "第%d期" if show["category"] == "[综艺]" else "第%d集"
        links = "".join("<a href=\"%s\" target=\"_blank\" title=\"%s\">%d</a>"
                        % (play_url(show, site, ep), label % ep, ep) for ep in range(1, count + 1))
        blocks += "<div class=\"playNumCon\">%s</div>\n" % links
    body = info_block(show) + (
        "<div class=\"playNumList\">\n<div class=\"playNumTab clearfix\">\n%s</div>\n%s</div>\n"
        % (tabs, blocks))
    return page(show["title"], body)


def home_page():
    items = "".join("<li><a href=\"%s\"><img src=\"%s\"><span>%s</span></a></li>\n"
                    % (detail_url(s), poster_url(s), esc(s["title"])) for s in SHOWS)
    keywords = "".join("<a href=\"%s/search_%s/\">%s</a> " % (HOST, url_encode(k.encode("gbk")), esc(k))
                       for k in SEARCHES)
    return page("首页", "<div class=\"hotWords\">热门搜索：%s</div>\n<ul class=\"showList\">\n%s</ul>\n"
                % (keywords, items))


PLAY_PAGE = """<!DOCTYPE html>
<html><head><meta http-equiv="Content-Type" content="text/html; charset=gbk">
<title>播放页 - 示例站点</title></head>
<body><h1>示例播放页</h1><p id="what">此处播放所选剧集。</p>
<script>
var v = (location.search.match(/v=([^&]*)/) || [])[1];
if (v) document.getElementById("what").textContent = "节目 " + v.split("-").join(" / ");
</script></body></html>
"""

CSS = """body{font-family:sans-serif;margin:0;background:#f5f5f5}
.header{background:#1d6fd1;color:#fff;padding:8px 16px}.header a{color:#fff}
.resultList{list-style:none;padding:0 16px}.resultList li{background:#fff;margin:8px 0;padding:8px;overflow:hidden}
.pic_left{float:left;margin-right:12px}.txt_right em{font-style:normal;color:#888}
.footer{color:#999;padding:16px;font-size:12px}
"""


def draw_poster(show, path):
    img = Image.new("RGB", (120, 160), show["color"])
    d = ImageDraw.Draw(img)
    r, g, b = show["color"]
    for y in range(160):  # darker towards the bottom
        k = 1.0 - 0.5 * y / 160
        d.line([(0, y), (119, y)], fill=(int(r * k), int(g * k), int(b * k)))
    d.ellipse([20, 18, 100, 98], outline=(255, 255, 255), width=2)
    d.rectangle([0, 120, 119, 159], fill=(0, 0, 0))
    font = ImageFont.truetype(FONT, 15) if os.path.exists(FONT) else ImageFont.load_default()
    title = show["title"].strip()
    w = d.textlength(title, font=font)
    d.text(((120 - w) / 2, 130), title, font=font, fill=(255, 255, 255))
    img.save(path, "JPEG", quality=80)


def draw_icon(site, n, path):
    colors = [(240, 120, 40), (60, 120, 220), (240, 170, 30), (30, 160, 200), (200, 90, 160), (80, 170, 90)]
    img = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, 15, 15], radius=4, fill=colors[n % len(colors)])
    font = ImageFont.truetype(FONT, 11) if os.path.exists(FONT) else ImageFont.load_default()
    d.text((2, 1), SITES[site][0], font=font, fill=(255, 255, 255))
    img.save(path, "PNG")


def main():
    # Everything but the update server's tree is generated here.
    for entry in os.listdir(SITE) if os.path.isdir(SITE) else []:
        if entry != "update":
            full = os.path.join(SITE, entry)
            shutil.rmtree(full) if os.path.isdir(full) else os.remove(full)
    os.makedirs(SITE, exist_ok=True)

    for show in SHOWS:
        write_gbk(show["page"], film_page(show) if show["category"] == "[电影]" else series_page(show))
    searches = dict(SEARCHES)
    for show in SHOWS:
        searches.setdefault(show["title"], [show["id"]])
    for keyword, ids in searches.items():
        write_gbk("search_%s/index.html" % url_encode(keyword.encode("gbk")), search_page(keyword, ids))
    for path, ids in FIXED_SEARCH_PATHS.items():
        write_gbk(path, search_page(BY_ID[ids[0]]["title"], ids))
    write_gbk("index.html", home_page())
    write_gbk("play/index.html", PLAY_PAGE)
    os.makedirs(os.path.join(SITE, "css"), exist_ok=True)
    with open(os.path.join(SITE, "css", "portal.css"), "w") as f:
        f.write(CSS)

    os.makedirs(os.path.join(SITE, "img", "poster"), exist_ok=True)
    os.makedirs(os.path.join(SITE, "img", "site"), exist_ok=True)
    for show in SHOWS:
        draw_poster(show, os.path.join(SITE, "img", "poster", show["id"] + ".jpg"))
    for n, site in enumerate(SITES):
        draw_icon(site, n, os.path.join(SITE, "img", "site", site + ".png"))


if __name__ == "__main__":
    main()
