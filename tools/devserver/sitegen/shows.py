# The sample portal's shows, in UTF-8. make_site.py turns them into GBK pages.
# Every title, name and description here is invented for the sample portal.

SITES = {
    # id: display name
    "qingyou": "青柚视频",
    "xinghe": "星河TV",
    "chengguo": "橙果影院",
    "lanjing": "蓝鲸视频",
    "xiaolu": "小鹿剧场",
    "yunfan": "云帆视频",
}

FILM, SERIES, ANIME, VARIETY = "[电影]", "[电视剧]", "[动漫]", "[综艺]"

# Each show: detail page path (below the site root), search-page fields, and the
# sites with their episode counts (1 for a film).
SHOWS = [
    dict(id="1001", page="detail/1001.html", title="长河落日", category=FILM,
         badge_left="超清", badge_right="HD", score="8.7", region="中国大陆", year="2019",
         directors=["韩子墨"], actors=["林清远", "苏晚晴", "周牧之", "陈一帆"],
         genres=["剧情", "历史"],
         synopsis="清末年间，黄河岸边的渡口小镇迎来一位神秘的外乡人。船工之子林远为了守护家人与渡口，"
                  "卷入一场关乎全镇命运的风波，在洪水与乱世中寻找自己的归途。",
         sites=[("qingyou", 1), ("xinghe", 1), ("chengguo", 1)], color=(176, 92, 40)),
    dict(id="1002", page="detail/1002.html", title="月光下的约定", category=FILM,
         badge_left="高清", badge_right="HD", score="7.9", region="中国台湾", year="2021",
         directors=["吴念真心"], actors=["许若曦", "江承宇", "白小棠"], genres=["爱情", "剧情"],
         synopsis="十年前的夏夜，两个少年在海边约定十年后重逢。十年后，一封迟到的来信让他们的故事重新开始。",
         sites=[("lanjing", 1), ("qingyou", 1)], color=(60, 80, 150)),
    dict(id="1003", page="detail/1003.html", title="迷城追凶", category=FILM,
         badge_left="超清", badge_right="HD", score="8.2", region="中国香港", year="2018",
         directors=["梁启航", "何志明"], actors=["郑家豪", "林美仪", "黄子健", "陈国栋"],
         genres=["悬疑", "犯罪", "动作"],
         synopsis="一宗离奇的珠宝劫案牵出尘封二十年的旧案，重案组督察与被停职的老警探联手，"
                  "在霓虹闪烁的旧城区与时间赛跑。",
         sites=[("chengguo", 1), ("yunfan", 1), ("xinghe", 1), ("xiaolu", 1)], color=(40, 40, 60)),
    dict(id="2001", page="detail/2001.html", title="山海长歌", category=SERIES,
         badge_left="超清", badge_right="全40集", score="9.1", region="中国大陆", year="2020",
         directors=["秦风"], actors=["顾长安", "叶知秋", "沈青禾", "萧逸尘", "唐小满"],
         genres=["古装", "武侠"],
         synopsis="江湖动荡，少年侠客顾长安背负师门血仇下山，一路结识知己、历经生死，"
                  "终在山海之间唱响属于自己的长歌。",
         sites=[("qingyou", 40), ("xinghe", 40)], color=(30, 110, 90)),
    dict(id="2002", page="detail/2002.html", title="城南旧事录", category=SERIES,
         badge_left="高清", badge_right="全24集", score="8.5", region="中国大陆", year="2017",
         directors=["刘晓岚"], actors=["王秀英", "李大山", "赵春生", "孙小梅"],
         genres=["年代", "家庭"],
         synopsis="上世纪八十年代的城南胡同里，三户人家的悲欢离合。一台老式收音机，"
                  "记录下邻里之间三十年的温情与变迁。",
         sites=[("qingyou", 24), ("xinghe", 24), ("chengguo", 24), ("lanjing", 24),
                ("xiaolu", 24), ("yunfan", 24)], color=(150, 120, 70)),
    dict(id="2003", page="detail/2003.html", title="云端上的月亮", category=SERIES,
         badge_left="超清", badge_right="更新至12集", score="7.6", region="中国大陆", year="2023",
         directors=["周可欣"], actors=["宋雨桐", "陆之昂", "许嘉禾"], genres=["都市", "爱情"],
         synopsis="航空公司的新晋机长与塔台管制员因一次航班延误结缘，在万米高空与城市灯火之间，"
                  "两个倔强的人慢慢靠近。",
         sites=[("lanjing", 12), ("yunfan", 12), ("qingyou", 12)], color=(90, 140, 200)),
    dict(id="3001", page="detail/3001.html", title="小龙历险记", category=ANIME,
         badge_left="高清", badge_right="全26集", score="8.8", region="中国大陆", year="2022",
         directors=["方小舟"], actors=["米粒", "豆豆", "阿福"], genres=["动画", "冒险", "亲子"],
         synopsis="一条刚学会飞的小龙离开云朵山，和伙伴们踏上寻找七色宝珠的旅程。",
         sites=[("xiaolu", 26), ("qingyou", 26)], color=(220, 150, 40)),
    dict(id="4001", page="detail/4001.html", title="歌声与远方", category=VARIETY,
         badge_left="高清", badge_right="第12期", score="7.8", region="中国大陆", year="2024",
         directors=["马一鸣"], actors=["林歌", "赵远", "沈乐乐"], genres=["音乐", "真人秀"],
         synopsis="八位来自天南地北的民间歌手，带着家乡的歌谣走上舞台，每期一个城市，一路唱到远方。",
         sites=[("xinghe", 12), ("yunfan", 12)], color=(170, 60, 120)),
    # The pages behind the client's built-in sample buttons.
    dict(id="27553", page="detail/27553.html", title="风中奇缘", category=SERIES,
         badge_left="高清", badge_right="全35集", score="7.2", region="中国大陆", year="2014",
         directors=["陈子明"], actors=["何青青", "杨慕白", "韩云舒"], genres=["古装", "爱情"],
         synopsis="（示例页面）边塞风沙之中，一段跨越国界的情缘与一场改变天下格局的征战。",
         sites=[("qingyou", 35), ("chengguo", 35)], color=(130, 90, 60)),
    dict(id="39244", page="detail/39244.html", title="古剑奇谭", category=SERIES,
         badge_left="超清", badge_right="全52集", score="8.3", region="中国大陆", year="2014",
         directors=["林若尘"], actors=["白子羽", "苏云溪", "方明哲"], genres=["古装", "仙侠"],
         synopsis="（示例页面）少年携古剑踏上寻找身世之谜的旅途，仙魔纷争之下，守护与抉择并行。",
         sites=[("xinghe", 52), ("lanjing", 52), ("yunfan", 52)], color=(70, 60, 130)),
    dict(id="28029", page="detail/28029.html", title="离婚律师", category=SERIES,
         badge_left="高清", badge_right="全42集", score="7.5", region="中国大陆", year="2014",
         directors=["高文涛"], actors=["罗佳音", "池一鸣", "周晓彤"], genres=["都市", "喜剧"],
         synopsis="（示例页面）一位从不输官司的离婚律师，遇上了处处与她作对的新合伙人。",
         sites=[("xiaolu", 42), ("qingyou", 42)], color=(180, 70, 70)),
    dict(id="zy96", page="zongyi/zy_96/index.html", title=" 中国好声音", category=VARIETY,
         badge_left="高清", badge_right="第15期", score="8.0", region="中国大陆", year="2014",
         directors=["秦海"], actors=["导师甲", "导师乙"], genres=["音乐", "选秀"],
         synopsis="（示例页面）盲选、对战与终极之夜，寻找最打动人心的声音。",
         sites=[("xinghe", 15)], color=(200, 40, 40)),
    dict(id="1004", page="detail/1004.html", title="沉睡魔咒", category=FILM,
         badge_left="超清", badge_right="HD", score="7.4", region="美国", year="2014",
         directors=["某导演"], actors=["演员甲", "演员乙"], genres=["奇幻", "冒险"],
         synopsis="（示例页面）被诅咒沉睡的公主与守护森林的女巫之间，一段出人意料的故事。",
         sites=[("lanjing", 1), ("chengguo", 1)], color=(60, 100, 60)),
    dict(id="2004", page="detail/2004.html", title="京城81号", category=SERIES,
         badge_left="高清", badge_right="全6集", score="6.9", region="中国大陆", year="2014",
         directors=["某导演"], actors=["演员丙", "演员丁"], genres=["悬疑", "惊悚"],
         synopsis="（示例页面）一座百年老宅里流传的怪谈，一群闯入者揭开的往事。",
         sites=[("yunfan", 6)], color=(50, 50, 50)),
]

# Search keywords (UTF-8) and the ids they list, in page order. Every title also
# gets a page of its own (see make_site.py).
SEARCHES = {
    "月": ["1002", "2003"],
    "长": ["1001", "2001"],
    "城": ["1003", "2002", "2004"],
    "山": ["2001"],
    "全部": ["1001", "1002", "1003", "2001", "2002", "2003", "3001", "4001", "27553", "39244"],
}

# Search pages at fixed raw paths (UTF-8 percent-encoded keywords), as the
# client's sample buttons link to them.
FIXED_SEARCH_PATHS = {
    "search_%E6%B2%89%E7%9D%A1%E9%AD%94%E5%92%92_%E5%85%A8%E9%83%A8/index.html": ["1004"],
    "search_%E4%BA%AC%E5%9F%8E81/index.html": ["2004"],
}
