#include "client/mainwnd/ResultText.h"

#include "common/TextCodec.h"

namespace {

// A fixed label in the ANSI code page.
std::string Ansi(const wchar_t* text) {
    return WideToAnsi(text);
}

constexpr std::size_t kNameBytes = 20;
constexpr std::size_t kSynopsisBytes = 96;
constexpr std::size_t kJoinedNames = 5;

}  // namespace

std::string Join(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += names[i];
        if (i + 1 == kJoinedNames) {
            text += "...";
            break;
        }
        text += ' ';
    }
    return text;
}

std::string CutBytes(const std::string& text, std::size_t maxBytes) {
    return text.size() > maxBytes ? text.substr(0, maxBytes) : text;
}

std::string ScoreMarkup(const std::string& score) {
    const std::string fen = Ansi(L"分");
    const auto dot = score.find('.');
    if (dot == std::string::npos) return "{f 4}" + score + "{/f}{f 3}" + fen + "{/f}";
    return "{f 4}" + score.substr(0, dot) + "{/f}{f 3}" + score.substr(dot) + fen + "{/f}";
}

std::string NameText(const std::string& name) {
    return name.size() > kNameBytes ? name.substr(0, kNameBytes) + "..." : name;
}

std::string SynopsisText(const std::string& synopsis) {
    return Ansi(L"简介 : ") + CutBytes(synopsis, kSynopsisBytes) + "...";
}

std::string ActorsText(const std::vector<std::string>& actors) {
    return Ansi(L"演员 : ") + Join(actors);
}

std::string DirectorsText(const std::vector<std::string>& directors) {
    return Ansi(L"导演 : ") + Join(directors);
}

std::string CategoryText(const std::string& category) {
    return Ansi(L"类型 : ") + category;
}

std::string LengthText(const std::string& category, const std::string& badgeRight) {
    const bool film = category == Ansi(L"[电影]");
    return Ansi(film ? L"片长 : " : L"集数 : ") + badgeRight;
}

std::string EpisodeText(int number) {
    return "{f 1}" + std::to_string(number) + Ansi(L"集") + "{/f}";
}
