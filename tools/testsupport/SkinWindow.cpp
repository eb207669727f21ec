#include "tools/testsupport/SkinWindow.h"

#include <filesystem>

namespace skintest {

bool UseSkinArchive(const std::string& archive) {
    if (!std::filesystem::is_regular_file(archive)) return false;
    const std::wstring zip = Utf8ToWide(std::filesystem::absolute(archive).string());
    if (CPaintManagerUI::GetResourceZip().str() != zip) {
        CPaintManagerUI::SetResourcePath(L"/nonexistent-resource-folder");
        CPaintManagerUI::SetResourceZip(zip.c_str());
    }
    return true;
}

LPVOID CThumbStandInUI::GetInterface(LPCTSTR name) {
    if (EqualsNoCase(name, L"SkinPictureItem")) return this;
    return CButtonUI::GetInterface(name);
}

void CThumbStandInUI::SetAttribute(LPCTSTR name, LPCTSTR value) {
    if (std::wstring_view(name) == L"bkname") {
        bkname = value;
        return;
    }
    CButtonUI::SetAttribute(name, value);
}

void CThumbStandInUI::PaintText(HDC hDC) {
    if (!(m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED))) return;
    RECT rc = GetPos();
    CRenderEngine::DrawText(hDC, m_pManager, rc, bkname.c_str(), 0xFFFFFFFF, GetFont(),
                            DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    CRenderEngine::DrawRect(hDC, rc, 2, 0xFF64B0FA);
}

HWND SkinWindow::Make() {
    return Create(nullptr, L"Trovik", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0);
}

CControlUI* SkinWindow::CreateControl(LPCTSTR cls) {
    if (EqualsNoCase(cls, L"SkinPictureItem")) return new CThumbStandInUI;
    if (EqualsNoCase(cls, L"Menu")) return new CListUI;
    if (EqualsNoCase(cls, L"MenuElement")) return new CListContainerElementUI;
    return nullptr;
}

CControlUI* SkinWindow::Build(LPCTSTR file) {
    CDialogBuilder builder;
    return builder.Create(file, nullptr, this, &m_PaintManager);
}

std::wstring PosText(int l, int t, int r, int b) {
    return std::to_wstring(l) + L"," + std::to_wstring(t) + L"," + std::to_wstring(r) + L"," +
           std::to_wstring(b);
}

bool ShowResultArea(SkinWindow& w, int count, const std::vector<std::wstring>& sources,
                    int episodes, ResultArea* out) {
    CControlUI* history = w.Find(L"vlTvHistory");
    CControlUI* results = w.Find(L"vlSearchResult");
    CControlUI* column = w.Find(L"vlSelectResult");
    CControlUI* tabsControl = w.Find(L"tlSearchResult");
    if (!history || !results || !column || !tabsControl) return false;
    history->SetVisible(false);
    results->SetVisible(true);
    column->SetVisible(true);
    auto* tabs = static_cast<CTabLayoutUI*>(tabsControl->GetInterface(L"TabLayout"));
    if (!tabs) return false;
    auto* page = new CVerticalLayoutUI;
    tabs->Add(page);
    out->info = w.Build(L"OneTvInfo.xml");
    if (!out->info) return false;
    page->Add(out->info);
    auto sub = [&](LPCTSTR name) {
        CControlUI* c = w.Pm().FindSubControlByName(out->info, name);
        return c ? static_cast<CContainerUI*>(c->GetInterface(L"Container")) : nullptr;
    };
    CContainerUI* sourceBox = sub(L"ctTvSource");
    CContainerUI* block = sub(L"ctTvBlock");
    if (!sourceBox || !block) return false;
    for (size_t i = 0; i < sources.size(); ++i) {
        CControlUI* row = w.Build(L"OneTvSource.xml");
        if (!row) return false;
        sourceBox->Add(row);
        const int x = 40 * static_cast<int>(i);
        row->SetAttribute(L"minwidth", L"40");
        row->SetAttribute(L"float", L"true");
        row->SetAttribute(L"pos", PosText(x, 0, x + 40, 25).c_str());
        CControlUI* button = w.Pm().FindSubControlByName(row, L"btnSource");
        auto* option = button ? static_cast<COptionUI*>(button->GetInterface(L"Option")) : nullptr;
        if (!option) return false;
        option->SetText(sources[i].c_str());
        option->SetGroup(L"Group0");
        if (i == 0) option->Selected(true, false);
        out->sourceRows.push_back(row);
    }
    auto add = [&](int l, int r, const std::wstring& text, bool episode) {
        auto* b = new CButtonUI;
        block->Add(b);
        b->SetAttribute(L"float", L"true");
        b->SetAttribute(L"minwidth", episode ? L"44" : L"19");
        b->SetAttribute(L"pos", PosText(l, 0, r, 25).c_str());
        b->SetAttribute(L"textcolor", L"#FF8C8C8C");
        b->SetAttribute(L"hottextcolor", L"#FFCCCCCC");
        if (episode) {
            b->SetAttribute(L"bordercolor", L"#FF8C8C8C");
            b->SetAttribute(L"bottombordersize", L"1");
            b->SetAttribute(L"showhtml", L"true");
        }
        b->SetText(text.c_str());
        out->blockButtons.push_back(b);
    };
    if (episodes > 8) {
        add(5, 24, L"<<", false);
        add(366, 385, L">>", false);
    }
    for (int e = 0; e < episodes && e < 8; ++e) {
        const int x = 19 + 44 * e;
        add(x, x + 44, L"{f 1}" + std::to_wstring(e + 1) + L"集{/f}", true);
    }
    auto* select = static_cast<CContainerUI*>(column->GetInterface(L"Container"));
    for (int i = 0; i < count; ++i) {
        auto* o = new COptionUI;
        select->Add(o);
        o->SetAttribute(L"float", L"true");
        o->SetAttribute(L"pos", PosText(0, 85 - 8 * count + 16 * i, 0, 0).c_str());
        o->SetAttribute(L"width", L"16");
        o->SetAttribute(L"height", L"16");
        o->SetAttribute(L"normalimage", L"SelectNormal.png");
        o->SetAttribute(L"selectedimage", L"SelectHot.png");
        o->SetAttribute(L"group", L"btnSelectTv");
        if (i == 0) o->Selected(true, false);
        out->selects.push_back(o);
    }
    tabs->SelectItem(0);
    return true;
}

}  // namespace skintest
