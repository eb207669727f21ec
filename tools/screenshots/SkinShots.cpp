// skin_shots: pictures of the client's windows as a user sees them, drawn by the real
// framework from the packed skin with sample content and in the states that matter
// (hover, focus, selection), for docs/screenshots/.
//
//     skin_shots ARCHIVE OUTDIR [THEME_PNG]
//
// THEME_PNG, when given, is set as the background of the last main-window picture.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/testsupport/SkinWindow.h"
#include "uilib/testing/UiTestDriver.h"

using namespace UiLib;
using namespace skintest;

namespace {

struct Shots {
    UiLib::testing::UiTestDriver driver;
    std::filesystem::path out;
    int failures = 0;

    void Save(HWND h, const std::string& name) {
        driver.Pump();
        const std::string path = (out / ("skin-" + name + ".png")).string();
        if (!driver.SaveWindowPng(h, path)) {
            std::fprintf(stderr, "skin_shots: cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("%s\n", path.c_str());
        }
    }
};

void SetText(SkinWindow& w, CControlUI* root, LPCTSTR name, LPCTSTR text) {
    CControlUI* c = root ? w.Pm().FindSubControlByName(root, name) : w.Find(name);
    if (c) c->SetText(text);
}

void MainWindowShots(Shots& s, const std::string& theme) {
    {
        SkinWindow w(L"Main.xml");
        const HWND h = w.Make();
        s.Save(h, "Main-start");
        s.driver.Hover(h, L"btnHistory1");
        s.Save(h, "Main-start-hover");
        s.driver.Hover(h, L"btnScrollTv");
        s.Save(h, "Main-banner-hover");
        s.driver.LeaveWindow(h);
        w.Find(L"edtSearchText")->SetText(L"沉睡魔咒");
        w.Pm().SetFocus(w.Find(L"btnSearch"));
        s.Save(h, "Main-focus-search-button");
        // From the keyboard: the caption's hide button has no focused picture, so the
        // framework draws its ring.
        w.Pm().SetFocus(w.Find(L"closebtn"));
        s.Save(h, "Main-focus-caption-keyboard");
        w.Close();
    }
    {
        SkinWindow w(L"Main.xml");
        const HWND h = w.Make();
        w.Find(L"vlTvHistory")->SetVisible(false);
        w.Find(L"vlSearching")->SetVisible(true);
        w.Find(L"ctWaitingPic")->SetBkImage(L"Searching2.png");
        w.Find(L"edtSearchText")->SetText(L"沉睡魔咒");
        s.Save(h, "Main-searching");
        w.Find(L"vlSearching")->SetVisible(false);
        w.Find(L"vlNoFindResult")->SetVisible(true);
        w.Find(L"edtSearchText")->SetText(L"不存在的片名");
        s.Save(h, "Main-noresult");
        w.Close();
    }
    for (int pass = 0; pass < (theme.empty() ? 1 : 2); ++pass) {
        SkinWindow w(L"Main.xml");
        const HWND h = w.Make();
        ResultArea area;
        if (!ShowResultArea(w, 4, {L"青柠视频", L"飞鱼影院", L"橙子TV"}, 24, &area)) {
            std::fprintf(stderr, "skin_shots: the result page cannot be built\n");
            ++s.failures;
            return;
        }
        CControlUI* info = area.info;
        w.Find(L"edtSearchText")->SetText(L"迷城");
        // The poster: a portrait part of one of the skin's own banner pictures.
        SetText(w, info, L"ctTvPic", L"迷城追凶");
        if (CControlUI* pic = w.Pm().FindSubControlByName(info, L"ctTvPic")) {
            pic->SetBkImage(L"file='HotDefault4.png' source='230,0,410,240'");
        }
        SetText(w, info, L"TvName", L"迷城追凶");
        SetText(w, info, L"TvPingFen", L"{f 4}8{/f}{f 3}.7分{/f}");
        SetText(w, info, L"lblQuality", L"更新至24集");
        SetText(w, info, L"lblNianFen", L"2015");
        SetText(w, info, L"txtDaoYan", L"导演 : 韩子墨 ");
        SetText(w, info, L"txtYanYuan", L"演员 : 林清远 苏晚晴 周牧之 陈一帆 李若溪...");
        SetText(w, info, L"txtLeiXing", L"类型 : [电视剧]");
        SetText(w, info, L"txtJiShu", L"集数 : 全24集");
        SetText(w, info, L"txtDescript",
                L"简介 : 雨夜的老城接连发生离奇命案，刚调回家乡的刑警与一位沉默的法医搭档，"
                L"在旧街巷里追寻一桩二十年前的...");
        if (pass == 1) {
            const std::string path = std::filesystem::absolute(theme).string();
            w.Find(L"background")->SetBkImage(Utf8ToWide(path).c_str());
            s.Save(h, "Main-results-theme");
        } else {
            s.Save(h, "Main-results");
            if (area.blockButtons.size() > 4) {
                s.driver.HoverAt(h, POINT{(area.blockButtons[4]->GetPos().left +
                                           area.blockButtons[4]->GetPos().right) /
                                              2,
                                          (area.blockButtons[4]->GetPos().top +
                                           area.blockButtons[4]->GetPos().bottom) /
                                              2});
                s.Save(h, "Main-results-hover-episode");
                s.driver.LeaveWindow(h);
                w.Pm().SetFocus(area.blockButtons[2]);
                s.Save(h, "Main-results-focus-episode-keyboard");
            }
        }
        w.Close();
    }
}

void DialogShots(Shots& s) {
    {
        SkinWindow w(L"MsgDlg.xml");
        const HWND h = w.Make();
        s.Save(h, "MsgDlg");
        s.driver.Hover(h, L"btnOk");
        s.Save(h, "MsgDlg-hover-ok");
        w.Close();
    }
    {
        SkinWindow w(L"ConfigDlg.xml");
        const HWND h = w.Make();
        for (LPCTSTR name : {L"chkMinShowInBar", L"chkShowFloatingWindow"}) {
            if (auto* c = static_cast<CCheckBoxUI*>(w.Find(name)->GetInterface(L"CheckBox"))) {
                c->SetCheck(true, false);
            }
        }
        s.driver.Hover(h, L"chkQuitOnClose");
        w.Pm().SetFocus(w.Find(L"btnOk"));
        s.Save(h, "ConfigDlg");
        w.Close();
    }
    {
        SkinWindow w(L"AboutDlg.xml");
        const HWND h = w.Make();
        w.Find(L"txtAppVersion")->SetText(L"当前版本 : 1.0.1.102");
        s.driver.Hover(h, L"btnAppWebSite");
        s.Save(h, "AboutDlg");
        w.Close();
    }
    {
        SkinWindow w(L"SkinSetDlg.xml");
        const HWND h = w.Make();
        // The second thumbnail hovered, the third one downloading.
        std::vector<CControlUI*> thumbs;
        CControlUI* root = w.Pm().GetRoot();
        std::vector<CControlUI*> stack = {root};
        while (!stack.empty()) {
            CControlUI* c = stack.back();
            stack.pop_back();
            if (c->GetInterface(L"SkinPictureItem")) thumbs.push_back(c);
            if (auto* box = static_cast<CContainerUI*>(c->GetInterface(L"Container"))) {
                for (int i = box->GetCount() - 1; i >= 0; --i) stack.push_back(box->GetItemAt(i));
            }
        }
        s.Save(h, "SkinSetDlg");
        if (thumbs.size() >= 3) {
            const RECT two = thumbs[1]->GetPos();
            s.driver.HoverAt(h, POINT{(two.left + two.right) / 2, (two.top + two.bottom) / 2});
            const RECT three = thumbs[2]->GetPos();
            if (CControlUI* bar = w.Find(L"proDown")) {
                bar->SetPos(RECT{three.left, three.bottom - 7, three.right, three.bottom});
                if (auto* p = static_cast<CProgressUI*>(bar->GetInterface(L"Progress"))) {
                    p->SetValue(60);
                }
                bar->SetVisible(true);
            }
            s.Save(h, "SkinSetDlg-hover-download");
        }
        w.Close();
    }
    {
        SkinWindow w(L"FloatToolWindow.xml");
        s.Save(w.Make(), "FloatToolWindow");
        w.Close();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: skin_shots ARCHIVE OUTDIR [THEME_PNG]\n");
        return 2;
    }
    if (!UseSkinArchive(argv[1])) {
        std::fprintf(stderr, "skin_shots: no archive %s\n", argv[1]);
        return 1;
    }
    Shots s;
    s.out = argv[2];
    std::filesystem::create_directories(s.out);
    MainWindowShots(s, argc > 3 ? argv[3] : "");
    DialogShots(s);
    s.driver.Pump();
    return s.failures == 0 ? 0 : 1;
}
