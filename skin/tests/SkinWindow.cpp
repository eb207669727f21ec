#include "skin/tests/SkinWindow.h"

#include <filesystem>

namespace skintest {

bool UseSkinArchive(const std::string& archive) {
    if (!std::filesystem::is_regular_file(archive)) return false;
    const std::wstring zip = Utf8ToWide(archive);
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

}  // namespace skintest
