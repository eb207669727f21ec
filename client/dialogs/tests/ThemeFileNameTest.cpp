// The file name a thumbnail's image attribute yields, and the URL it is fetched from.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "client/dialogs/ThemeFileName.h"

namespace {

TEST(ThemeFileNameTest, TakesTheBareNameOfTheFileAttribute) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"file='SkinThumb/Theme01.png'", L"Theme01.png"},
        {L"file='Skin\\Thumbs\\Theme02.png' source='0,0,80,125'", L"Theme02.png"},
        {L"source='0,0,80,125' file=\"a/b/Theme03.png\" corner='1,1,1,1'", L"Theme03.png"},
        {L"file=SkinThumb/Theme04.png dest='0,0,80,125'", L"Theme04.png"},
        {L"profile='x.png' file='y/晨雾蓝.png'", L"晨雾蓝.png"},
        {L"SkinThumb\\Theme05.png", L"Theme05.png"},
        {L"O'Neil's.png", L"ONeils.png"},
    };
    for (const auto& [attribute, name] : cases) {
        EXPECT_EQ(ThemeFileName(attribute), name) << testing::PrintToString(attribute);
    }
}

TEST(ThemeFileNameTest, NamesThatCouldLeaveTheFolderAreIgnored) {
    const std::vector<std::wstring> unusable = {
        L"",
        L"file=''",
        L"file='SkinThumb/'",
        L"file='..'",
        L"..",
        L"file='a/.'",
        L"SkinThumb\\''",
        L"file='/'",
        L"file='''..'",
        std::wstring(L"file='Theme\0.png'", 17),
    };
    for (const std::wstring& attribute : unusable) {
        EXPECT_EQ(ThemeFileName(attribute), L"") << testing::PrintToString(attribute);
    }
}

TEST(ThemeFileNameTest, TheNameIsOnePathSegmentOfTheUrl) {
    const std::string base = "http://127.0.0.1:18632/update/Trovik/Theme/";
    EXPECT_EQ(ThemeUrl(base, L"Theme-01_a~.png"), base + "Theme-01_a~.png");
    EXPECT_EQ(ThemeUrl(base, L"晨 雾?#%+.png"), base + "%E6%99%A8%20%E9%9B%BE%3F%23%25%2B.png");
}

}  // namespace
