#include "client/mainwnd/HotLists.h"

#include <sys/stat.h>

#include <algorithm>

#include "client/core/ClientPaths.h"
#include "client/mainwnd/ListImages.h"
#include "client/mainwnd/Trovik.h"
#include "platform/CodePage.h"
#include "platform/DebugLog.h"
#include "platform/Folders.h"
#include "platform/ProfileFile.h"

using namespace UiLib;

namespace {

constexpr size_t kTextChars = 1024;

// Where one list is read from: the downloaded list, the folder of its images and the
// installation's default list.
struct ListFiles {
    std::string downloaded;
    std::string imageFolder;
    std::string defaults;
};

ListFiles HotFiles() {
    const ClientPaths& paths = ProcessClientPaths();
    return {paths.hotListFile, paths.dataFolder + "Hot/",
            paths.instancePath + "Config/DefaultHot.cfg"};
}

ListFiles SiteFiles() {
    const ClientPaths& paths = ProcessClientPaths();
    return {paths.linkSiteListFile, paths.dataFolder + "LinkSite/",
            paths.instancePath + "Config/DefaultLinkSite.cfg"};
}

std::wstring Read(const wchar_t* section, const wchar_t* key, int index, const std::string& file) {
    return platform::ReadProfileString(std::wstring_view(section), key + std::to_wstring(index),
                                       L"", file, kTextChars);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The full path of entry `index`'s image when the downloaded list has one to show;
// empty when the entry has to come from the default list (no downloaded list, or its
// image is missing or has a name no list may use).
std::wstring DownloadedImage(const ListFiles& files, const wchar_t* section, int index) {
    if (!platform::PathExists(files.downloaded)) return {};
    const std::wstring name = Read(section, L"ImgName", index, files.downloaded);
    if (!IsUsableImageName(name)) return {};
    const std::string path = files.imageFolder + platform::WideToUtf8(name);
    return IsRegularFile(path) ? platform::Utf8ToWide(path) : std::wstring();
}

// One entry: from the downloaded list with its image, else from the default list with
// the skin's picture it names. The text keys are read from the same file as the image.
template <typename Fill>
void ReadEntry(const ListFiles& files, const wchar_t* section, int index, Fill fill) {
    std::wstring image = DownloadedImage(files, section, index);
    const std::string& file = image.empty() ? files.defaults : files.downloaded;
    if (image.empty()) image = Read(section, L"ImgName", index, file);
    fill(image, file);
    platform::DebugOutput(image);
}

struct SampleShow {
    const wchar_t* name;
    const char* hostKey;  // the portal host of "AutoCfg.cfg" the link goes to
    const char* path;
};

constexpr SampleShow kSampleShows[kSampleEntries] = {
    {L"风中奇缘", "TvHost", "/detail/27553.html#jdt"},
    {L" 中国好声音", "VideoHost", "/zongyi/zy_96/"},
    {L"沉睡魔咒", "SearchHost", "/search_%E6%B2%89%E7%9D%A1%E9%AD%94%E5%92%92_%E5%85%A8%E9%83%A8/"},
    {L"京城81号", "SearchHost", "/search_%E4%BA%AC%E5%9F%8E81/"},
    {L"古剑奇谭", "TvHost", "/detail/39244.html"},
    {L"离婚律师", "TvHost", "/detail/28029.html"},
};

CControlUI* Button(CTrovik& wnd, const wchar_t* prefix, size_t index) {
    return wnd.GetPaintManager().FindControl((prefix + std::to_wstring(index)).c_str());
}

}  // namespace

void LoadHotList(std::vector<HotEntry>& hot) {
    hot.clear();
    const ListFiles files = HotFiles();
    for (int i = 0; i < kHotEntries; ++i) {
        ReadEntry(files, L"HotLst", i, [&](const std::wstring& image, const std::string& file) {
            HotEntry entry{Read(L"HotLst", L"HotName", i, file),
                           Read(L"HotLst", L"HotUrl", i, file), image};
            // A show without a name or a link has nothing to offer.
            if (!entry.name.empty() && !entry.url.empty()) hot.push_back(std::move(entry));
        });
    }
}

void LoadSiteList(std::vector<SiteEntry>& sites) {
    sites.clear();
    const ListFiles files = SiteFiles();
    for (int i = 0; i < kSiteEntries; ++i) {
        ReadEntry(files, L"LinkSite", i, [&](const std::wstring& image, const std::string& file) {
            sites.push_back(SiteEntry{Read(L"LinkSite", L"Descript", i, file), image,
                                      Read(L"LinkSite", L"LinkUrl", i, file)});
        });
    }
}

void LoadSampleList(std::vector<SampleEntry>& samples) {
    samples.clear();
    const std::string& autoCfg = ProcessClientPaths().autoCfgFile;
    for (const SampleShow& show : kSampleShows) {
        const std::string host =
            platform::ReadProfileString("Portal", show.hostKey, "", autoCfg, kTextChars);
        // Without the deployment's host there is nowhere to go.
        const std::string url = host.empty() ? std::string() : "http://" + host + show.path;
        samples.push_back(SampleEntry{show.name, platform::Utf8ToWide(url)});
    }
}

void RefreshPanelButtons(CTrovik& wnd) {
    const StartLists& lists = wnd.model().lists;
    const std::vector<SiteEntry>& sites = lists.sites;
    for (size_t i = 0; i < std::min<size_t>(kSiteEntries, sites.size()); ++i) {
        CControlUI* control = Button(wnd, L"btnLinkSite", i);
        auto* button =
            control ? static_cast<CButtonUI*>(control->GetInterface(L"Button")) : nullptr;
        if (!button) continue;
        button->SetToolTip(sites[i].description.c_str());
        button->SetUserData(sites[i].url.c_str());
        button->SetNormalImage(ImageString(sites[i].image).c_str());
    }
    const std::vector<SampleEntry>& samples = lists.samples;
    for (size_t i = 0; i < std::min<size_t>(kSampleEntries, samples.size()); ++i) {
        CControlUI* button = Button(wnd, L"btnHistory", i);
        if (!button) continue;
        button->SetToolTip(samples[i].name.c_str());
        button->SetUserData(samples[i].url.c_str());
    }
    const std::vector<HotEntry>& hot = lists.hot;
    for (size_t i = 0; i < std::min<size_t>(kHotEntries, hot.size()); ++i) {
        CControlUI* button = Button(wnd, L"btnHot", i);
        if (!button) continue;
        const std::wstring& name = hot[i].name;
        const std::wstring text =
            name.size() > kHotNameChars ? name.substr(0, kHotNameChars) + L"..." : name;
        button->SetText(text.c_str());
        button->SetToolTip(name.c_str());
        button->SetUserData(hot[i].url.c_str());
        button->SetTag(i);
    }
}
