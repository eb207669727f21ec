#include "client/frame/MsFrameWnd.h"

#include "client/core/ClientSettings.h"
#include "platform/Folders.h"

using namespace UiLib;

void CMsFrameWnd::InitWindow() {
    backgroundControl = m_PaintManager.FindControl(L"background");
    if (!backgroundControl) return;
    const std::wstring& saved = ProcessClientSettings().BackGround;
    // A background whose file has gone (deleted theme, moved data folder) leaves the
    // skin's own picture in place.
    if (!saved.empty() && platform::PathExists(WideToUtf8(saved))) {
        backgroundControl->SetBkImage(saved.c_str());
    }
}

CDuiString CMsFrameWnd::GetSkinFolder() {
    return L"Skin";
}

void CMsFrameWnd::SetBackground(const std::wstring& imagePath) {
    if (imagePath.empty()) return;
    if (!backgroundControl) backgroundControl = m_PaintManager.FindControl(L"background");
    if (!backgroundControl) return;
    backgroundControl->SetBkImage(imagePath.c_str());
}
