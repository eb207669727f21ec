#pragma once

// The portal's fixed GBK texts, held as bytes: the source files stay ASCII and
// the comparisons are exact byte comparisons.

#include <string_view>

namespace vantrel::gbk {

// Labels of the search page's text block: two ideographs and a full-width colon.
inline constexpr std::string_view kActors = "\xD1\xDD\xD4\xB1\xA3\xBA";     // 演员：
inline constexpr std::string_view kDirectors = "\xB5\xBC\xD1\xDD\xA3\xBA";  // 导演：
inline constexpr std::string_view kSynopsis = "\xBC\xF2\xBD\xE9\xA3\xBA";   // 简介：
inline constexpr std::string_view kGenres = "\xC0\xE0\xD0\xCD\xA3\xBA";     // 类型：
inline constexpr std::string_view kRegion = "\xB5\xD8\xC7\xF8\xA3\xBA";     // 地区：
inline constexpr std::string_view kYear = "\xC4\xEA\xB4\xFA\xA3\xBA";       // 年代：

// Category words of the search page, which choose the detail page extractor.
inline constexpr std::string_view kFilm = "[\xB5\xE7\xD3\xB0]";            // [电影]
inline constexpr std::string_view kSeries = "[\xB5\xE7\xCA\xD3\xBE\xE7]";  // [电视剧]
inline constexpr std::string_view kAnimation = "[\xB6\xAF\xC2\xFE]";       // [动漫]
inline constexpr std::string_view kVariety = "[\xD7\xDB\xD2\xD5]";         // [综艺]

}  // namespace vantrel::gbk
