#include "tools/testsupport/SearchTestWindow.h"

#include <filesystem>
#include <regex>

#include "client/mainwnd/EngineBinding.h"
#include "common/TextCodec.h"
#include "platform/CodePage.h"
#include "tools/testsupport/WaitFor.h"

using namespace UiLib;

namespace searchtest {

std::string EngineLibrary() {
    return std::string(TROVIK_BIN_DIR) + "/libvantrel.so";
}
std::string FakeEngineLibrary() {
    return std::string(TROVIK_TEST_BIN_DIR) + "/libfake_engine.so";
}
std::string NoExportLibrary() {
    return std::string(TROVIK_TEST_BIN_DIR) + "/libno_export.so";
}

SearchTestWindow::SearchTestWindow(const std::string& statHost, const std::string& engineLibrary) {
    const std::string instance = env_.root() / "install/";
    std::filesystem::create_directories(instance + "Config");
    testsupport::WriteFile(instance + "Config/AutoCfg.cfg",
                           "[Stat]\r\nHost=" + (statHost.empty() ? "127.0.0.1:1" : statHost) +
                               "\r\n[UpdateServer]\r\nHost=http://127.0.0.1:1/update\r\n");
    SetEngineLibraryOverride(engineLibrary);
    CPaintManagerUI::SetResourcePath(
        platform::Utf8ToWide(std::string(TROVIK_BIN_DIR) + "/Skin").c_str());
    CPaintManagerUI::SetResourceZip(L"SkinRes.zip", false);
    wnd_ = std::make_unique<CTrovik>(instance);
    wnd_->Create(nullptr, kMainWindowTitle, 0x96C80000, 0x100);
    UiLib::ShowWindow(wnd_->GetHWND(), SW_SHOW);
    driver_.Pump();
}

SearchTestWindow::~SearchTestWindow() {
    // A worker still running would still be busy with the engine in the next test.
    if (wnd_) {
        const std::shared_ptr<SearchChannel> channel = wnd_->model().search;
        testsupport::WaitFor([&] { return !channel->SearchBusy(); }, std::chrono::seconds(30));
    }
    Close();
    driver_.Pump();
    driver_.ResetQuit();
    SetEngineLibraryOverride("");
}

void SearchTestWindow::Close() {
    if (wnd_ && wnd_->GetHWND()) UiLib::DestroyWindow(wnd_->GetHWND());
    wnd_.reset();
    driver_.Pump();
}

void SearchTestWindow::Search(const std::wstring& text) {
    // Typing adds to what the box holds: start from an empty box.
    if (wnd_->controls().searchBox) wnd_->controls().searchBox->SetText(L"");
    driver_.TypeText(hwnd(), L"edtSearchText", text);
    driver_.Click(hwnd(), L"btnSearch");
}

bool SearchTestWindow::Visible(const wchar_t* name) {
    CControlUI* c = driver_.Find(hwnd(), name);
    return c && c->IsVisible();
}

int SearchTestWindow::PageCount() {
    return wnd_->controls().resultTabs ? wnd_->controls().resultTabs->GetCount() : -1;
}

CTrovikResultItemUI* SearchTestWindow::Page(int index) {
    if (!wnd_->controls().resultTabs) return nullptr;
    CControlUI* c = wnd_->controls().resultTabs->GetItemAt(index);
    return c ? static_cast<CTrovikResultItemUI*>(c->GetInterface(L"TrovikResultItem")) : nullptr;
}

CControlUI* SearchTestWindow::InPage(int index, const wchar_t* name) {
    CTrovikResultItemUI* page = Page(index);
    return page ? wnd_->GetPaintManager().FindSubControlByName(page, name) : nullptr;
}

std::vector<CControlUI*> SearchTestWindow::BlockButtons(int index) {
    std::vector<CControlUI*> out;
    CControlUI* block = InPage(index, L"ctTvBlock");
    auto* holder = block ? static_cast<CContainerUI*>(block->GetInterface(L"Container")) : nullptr;
    for (int i = 0; holder && i < holder->GetCount(); ++i) out.push_back(holder->GetItemAt(i));
    return out;
}

std::vector<CControlUI*> SearchTestWindow::SelectButtons() {
    std::vector<CControlUI*> out;
    for (int i = 0; wnd_->controls().selectColumn && i < wnd_->controls().selectColumn->GetCount();
         ++i) {
        out.push_back(wnd_->controls().selectColumn->GetItemAt(i));
    }
    return out;
}

std::vector<COptionUI*> SearchTestWindow::SourceButtons(int index) {
    std::vector<COptionUI*> out;
    CControlUI* box = InPage(index, L"ctTvSource");
    auto* holder = box ? static_cast<CContainerUI*>(box->GetInterface(L"Container")) : nullptr;
    for (int i = 0; holder && i < holder->GetCount(); ++i) {
        CControlUI* b =
            wnd_->GetPaintManager().FindSubControlByName(holder->GetItemAt(i), L"btnSource");
        if (b) out.push_back(static_cast<COptionUI*>(b->GetInterface(L"Option")));
    }
    return out;
}

std::vector<int> SearchTestWindow::EpisodeNumbers(int index) {
    std::vector<int> out;
    const std::wregex pattern(LR"(\{f 1\}(\d+)集\{/f\})");
    for (CControlUI* c : BlockButtons(index)) {
        if (c->GetName() != L"btnLinkTv") continue;
        std::wsmatch m;
        const std::wstring text = c->GetText().GetData();
        if (std::regex_match(text, m, pattern)) out.push_back(std::stoi(m[1].str()));
    }
    return out;
}

ResultItem MakeItem(const std::string& name, int sources, int links) {
    ResultItem item;
    item.result.name = name;
    item.result.category = WideToAnsi(L"[电视剧]");
    item.result.score = "8.5";
    item.result.detailUrl = "http://detail.test/" + name;
    for (int s = 1; s <= sources; ++s) {
        PlaySource source;
        source.name = "S" + std::to_string(s);
        for (int l = 1; l <= links; ++l) {
            source.links.push_back("http://play.test/" + std::to_string(s) + "/" +
                                   std::to_string(l));
        }
        item.sources.push_back(source);
    }
    return item;
}

}  // namespace searchtest
