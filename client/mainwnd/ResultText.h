#pragma once

// The texts of a result page, composed in the ANSI code page (GB18030) from the
// engine's records before they are widened for the controls. Cuts count bytes, so a
// cut may split a double-byte character; the widening then shows the broken byte as
// the code page does.

#include <cstddef>
#include <string>
#include <vector>

struct SearchResult;

// The names in order, each followed by one space; the fifth is followed by "..." and
// ends the text. An empty list gives "".
std::string Join(const std::vector<std::string>& names);

// The first `maxBytes` bytes of `text`; the text itself when it is not longer.
std::string CutBytes(const std::string& text, std::size_t maxBytes);

// The score as markup: the part before the first "." in the large font 4, the rest
// and "分" in the small font 3 ("8.5" gives "{f 4}8{/f}{f 3}.5分{/f}").
std::string ScoreMarkup(const std::string& score);

// The show's name, cut to 20 bytes followed by "..." when longer.
std::string NameText(const std::string& name);

// "简介 : " and the synopsis cut to 96 bytes, followed by "..." in every case.
std::string SynopsisText(const std::string& synopsis);

// "演员 : " / "导演 : " / "类型 : " followed by the value.
std::string ActorsText(const std::vector<std::string>& actors);
std::string DirectorsText(const std::vector<std::string>& directors);
std::string CategoryText(const std::string& category);

// "片长 : " (films, category exactly "[电影]") or "集数 : " followed by the right badge.
std::string LengthText(const std::string& category, const std::string& badgeRight);

// The label of episode button `number` (counted from 1): "{f 1}%d集{/f}".
std::string EpisodeText(int number);
