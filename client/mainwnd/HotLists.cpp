#include "client/mainwnd/HotLists.h"

#include "client/mainwnd/PendingCalls.h"

std::vector<HotEntry>& HotEntries() {
    static std::vector<HotEntry> entries;
    return entries;
}

void StartListDownloadThread() {
    NotePendingCall(PendingOp::StartListDownload);
}

void LoadHotList(CTrovik&) {
    NotePendingCall(PendingOp::LoadHotList);
}

void LoadSiteList(CTrovik&) {
    NotePendingCall(PendingOp::LoadSiteList);
}

void LoadSampleList(CTrovik&) {
    NotePendingCall(PendingOp::LoadSampleList);
}

void BannerStep(CTrovik&) {
    NotePendingCall(PendingOp::BannerStep);
}

void RefreshPanelButtons(CTrovik&) {
    NotePendingCall(PendingOp::RefreshPanelButtons);
}
