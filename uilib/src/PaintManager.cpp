#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <climits>
#include <map>

#include "uilib/Win32Api.h"
#include "uilib/core/Container.h"
#include "uilib/core/PaintManager.h"
#include "uilib/src/Dispatch.h"
#include "uilib/src/ResourceStore.h"
#include "uilib/src/WindowHost.h"

namespace UiLib {

namespace {

struct ProcessState {
    HINSTANCE instance = nullptr;
    CDuiString resourcePath;
    CDuiString zipName;
    bool cachedZip = false;
};

ProcessState& Process() {
    static ProcessState s;
    return s;
}

// Events being delivered right now (of any window); a manager destroyed meanwhile
// keeps its controls alive until the delivery has finished.
int g_eventDepth = 0;

CControlUI* FindFromPoint(CControlUI* control, LPVOID data) {
    return PtInRect(control->GetPos(), *static_cast<const POINT*>(data)) ? control : nullptr;
}

CControlUI* FindFromName(CControlUI* control, LPVOID data) {
    return control->GetName() == static_cast<LPCTSTR>(data) ? control : nullptr;
}

bool IsInside(const CControlUI* control, const CControlUI* ancestor) {
    for (const CControlUI* p = control; p; p = p->GetParent()) {
        if (p == ancestor) return true;
    }
    return false;
}

std::wstring LowerKey(LPCTSTR text) {
    CDuiString s(text);
    s.MakeLower();
    return s.str();
}

void CollectPreOrder(CControlUI* control, std::vector<CControlUI*>& out) {
    out.push_back(control);
    if (auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"))) {
        for (int i = 0; i < container->GetCount(); ++i)
            CollectPreOrder(container->GetItemAt(i), out);
    }
}

// Lays out controls that asked for it; returns true when something was laid out.
bool UpdateMarked(CControlUI* control) {
    if (!control->IsVisible()) return false;
    if (control->IsUpdateNeeded()) {
        control->SetPos(control->GetPos(), false);
        return true;
    }
    bool any = false;
    if (auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"))) {
        for (int i = 0; i < container->GetCount(); ++i)
            any |= UpdateMarked(container->GetItemAt(i));
    }
    return any;
}

}  // namespace

struct CPaintManagerUI::Timers {
    std::map<std::pair<CControlUI*, UINT>, std::unique_ptr<QTimer>> timers;
};

// ---- Process-wide ----

void CPaintManagerUI::SetInstance(HINSTANCE hInst) {
    Process().instance = hInst;
}
HINSTANCE CPaintManagerUI::GetInstance() {
    return Process().instance;
}

CDuiString CPaintManagerUI::GetInstancePath() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return CDuiString(L"./");
    std::string path(buf, static_cast<size_t>(n));
    const auto slash = path.rfind('/');
    path = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    return CDuiString(Utf8ToWide(path));
}

CDuiString CPaintManagerUI::GetCurrentPath() {
    char buf[4096];
    if (!::getcwd(buf, sizeof buf)) return CDuiString();
    return CDuiString(Utf8ToWide(buf));
}

void CPaintManagerUI::SetResourcePath(LPCTSTR pStrPath) {
    CDuiString path(pStrPath);
    path.Replace(L"\\", L"/");
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'/') path += L'/';
    Process().resourcePath = path;
    detail::SetResourceFolder(WideToUtf8(path.str()));
}

const CDuiString& CPaintManagerUI::GetResourcePath() {
    return Process().resourcePath;
}

void CPaintManagerUI::SetResourceZip(LPCTSTR pstrZip, bool bCachedResourceZip) {
    CDuiString name(pstrZip);
    name.Replace(L"\\", L"/");
    Process().zipName = name;
    Process().cachedZip = bCachedResourceZip;
    if (name.IsEmpty()) {
        detail::OpenArchiveBytes(nullptr, 0);  // drops the archive
        return;
    }
    const CDuiString path = name[0] == L'/' ? name : Process().resourcePath + name;
    detail::OpenArchiveFile(WideToUtf8(path.str()));
}

void CPaintManagerUI::SetResourceZip(const void* pData, std::size_t size) {
    Process().zipName = L"<memory>";
    Process().cachedZip = true;
    detail::OpenArchiveBytes(pData, size);
}

CDuiString CPaintManagerUI::GetResourceZip() {
    return Process().zipName;
}
bool CPaintManagerUI::IsCachedResourceZip() {
    return Process().cachedZip;
}

bool CPaintManagerUI::LoadResourceFile(LPCTSTR pstrName, std::string* bytes) {
    if (!pstrName) return false;
    const auto data = detail::LoadFile(WideToUtf8(pstrName));
    if (!data) return false;
    if (bytes) *bytes = *data;
    return true;
}

int CPaintManagerUI::MessageLoop() {
    detail::RunLoopUntil([] { return false; });
    const int code = detail::QuitCode();
    detail::ClearQuit();
    return code;
}

void CPaintManagerUI::Term() {}

// ---- Per window ----

CPaintManagerUI::CPaintManagerUI()
    : m_timers(std::make_unique<Timers>()), m_life(std::make_shared<int>(0)) {
    m_szMaxWindow = SIZE{0, 0};
}

CPaintManagerUI::~CPaintManagerUI() {
    m_bDestroying = true;
    RemoveAllTimers();
    if (detail::WindowHost* host = detail::HostOf(m_hWndPaint)) {
        if (host->Manager() == this) host->SetManager(nullptr);
    }
    m_trayIcon.DeleteTrayIcon();
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    m_pFocus = m_pEventHover = m_pEventClick = nullptr;
    if (root) {
        root->SetManager(nullptr, nullptr, false);
        if (g_eventDepth > 0) {
            // A control of this window is still handling an event: let it finish.
            detail::PostToUi([root] { delete root; });
        } else {
            delete root;
        }
    }
    RunDelayedCleanup();
}

void CPaintManagerUI::Init(HWND hWnd) {
    m_hWndPaint = hWnd;
    if (detail::WindowHost* host = detail::HostOf(hWnd)) host->SetManager(this);
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize = SIZE{cx, cy};
    if (!m_pRoot && cx > 0 && cy > 0) {
        if (detail::WindowHost* host = detail::HostOf(m_hWndPaint)) host->resize(cx, cy);
    }
}

SIZE CPaintManagerUI::GetClientSize() const {
    if (detail::WindowHost* host = detail::HostOf(m_hWndPaint))
        return SIZE{host->width(), host->height()};
    return m_szInitWindowSize;
}

void CPaintManagerUI::SetCaptionRect(RECT& rcCaption) {
    m_rcCaption = rcCaption;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy) {
    m_szRoundCorner = SIZE{cx, cy};
    ApplyWindowShape();
}

void CPaintManagerUI::SetMinInfo(int cx, int cy) {
    m_szMinWindow = SIZE{std::max(0, cx), std::max(0, cy)};
    ApplyWindowShape();
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy) {
    m_szMaxWindow = SIZE{std::max(0, cx), std::max(0, cy)};
    ApplyWindowShape();
}

void CPaintManagerUI::SetSizeBox(RECT& rcSizeBox) {
    m_rcSizeBox = rcSizeBox;
}

void CPaintManagerUI::SetTransparent(int nOpacity) {
    m_nOpacity = std::clamp(nOpacity, 0, 255);
    SetWindowAlpha(m_hWndPaint, static_cast<BYTE>(m_nOpacity));
}

void CPaintManagerUI::ApplyWindowShape() {
    detail::WindowHost* host = detail::HostOf(m_hWndPaint);
    if (!host) return;
    host->SetRoundCorners(m_szRoundCorner.cx, m_szRoundCorner.cy);
    host->setMinimumSize(std::max<LONG>(1, m_szMinWindow.cx), std::max<LONG>(1, m_szMinWindow.cy));
    host->setMaximumSize(m_szMaxWindow.cx > 0 ? m_szMaxWindow.cx : QWIDGETSIZE_MAX,
                         m_szMaxWindow.cy > 0 ? m_szMaxWindow.cy : QWIDGETSIZE_MAX);
}

void CPaintManagerUI::AddFont(int id, LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                              bool bItalic, bool bDefault) {
    TFontInfo info;
    info.sFontName = pStrFontName;
    info.iSize = nSize > 0 ? nSize : 12;
    info.bBold = bBold;
    info.bUnderline = bUnderline;
    info.bItalic = bItalic;
    m_fonts[id] = info;
    if (bDefault) m_iDefaultFont = id;
    Invalidate();
}

bool CPaintManagerUI::HasFont(int id) const {
    return m_fonts.count(id) != 0;
}

const TFontInfo& CPaintManagerUI::GetFontInfo(int id) const {
    if (const auto it = m_fonts.find(id); it != m_fonts.end()) return it->second;
    if (m_pParentResourcePM && id >= 0 && m_pParentResourcePM->HasFont(id)) {
        return m_pParentResourcePM->GetFontInfo(id);
    }
    return GetDefaultFontInfo();
}

void CPaintManagerUI::SetDefaultFont(LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic) {
    m_defaultFont =
        TFontInfo{CDuiString(pStrFontName), nSize > 0 ? nSize : 12, bBold, bUnderline, bItalic};
    m_bHasDefaultFont = true;
    m_iDefaultFont = -1;
}

const TFontInfo& CPaintManagerUI::GetDefaultFontInfo() const {
    if (const auto it = m_fonts.find(m_iDefaultFont); m_iDefaultFont >= 0 && it != m_fonts.end()) {
        return it->second;
    }
    if (m_bHasDefaultFont) return m_defaultFont;
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultFontInfo();
    static const TFontInfo builtin{CDuiString(L"WenQuanYi Zen Hei"), 12, false, false, false};
    return builtin;
}

void CPaintManagerUI::AddDefaultAttributeList(LPCTSTR pStrControlName,
                                              LPCTSTR pStrControlAttrList) {
    m_defaultAttrs[LowerKey(pStrControlName)] = pStrControlAttrList ? pStrControlAttrList : L"";
}

LPCTSTR CPaintManagerUI::GetDefaultAttributeList(LPCTSTR pStrControlName) const {
    const auto it = m_defaultAttrs.find(LowerKey(pStrControlName));
    if (it != m_defaultAttrs.end()) return it->second.c_str();
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultAttributeList(pStrControlName);
    return nullptr;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(LPCTSTR pStrControlName) {
    return m_defaultAttrs.erase(LowerKey(pStrControlName)) != 0;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList() {
    m_defaultAttrs.clear();
}

void CPaintManagerUI::UseParentResource(CPaintManagerUI* pm) {
    m_pParentResourcePM = pm != this ? pm : nullptr;
}

bool CPaintManagerUI::AddOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl) {
    auto& members = m_optionGroups[pStrGroupName ? pStrGroupName : L""];
    if (std::find(members.begin(), members.end(), pControl) != members.end()) return false;
    members.push_back(pControl);
    return true;
}

std::vector<CControlUI*>* CPaintManagerUI::GetOptionGroup(LPCTSTR pStrGroupName) {
    const auto it = m_optionGroups.find(pStrGroupName ? pStrGroupName : L"");
    return it == m_optionGroups.end() ? nullptr : &it->second;
}

void CPaintManagerUI::RemoveOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl) {
    const auto it = m_optionGroups.find(pStrGroupName ? pStrGroupName : L"");
    if (it == m_optionGroups.end()) return;
    std::erase(it->second, pControl);
    if (it->second.empty()) m_optionGroups.erase(it);
}

void CPaintManagerUI::RemoveAllOptionGroups() {
    m_optionGroups.clear();
}

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
    if (!pControl || pControl == m_pRoot) return false;
    if (m_pRoot) {
        CControlUI* old = m_pRoot;
        ReapObjects(old);
        old->SetManager(nullptr, nullptr, false);
        AddDelayedCleanup(old);
    }
    m_pRoot = pControl;
    m_pFocus = m_pEventHover = m_pEventClick = nullptr;
    m_nameCache.clear();
    InitControls(pControl, nullptr);
    m_bUpdateNeeded = true;
    Invalidate();
    return true;
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent) {
    if (!pControl) return false;
    pControl->SetManager(this, pParent ? pParent : pControl->GetParent(), true);
    m_bUpdateNeeded = true;
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
    if (!pControl || m_bDestroying) return;
    if (m_pEventClick && IsInside(m_pEventClick, pControl)) m_pEventClick = nullptr;
    if (m_pEventHover && IsInside(m_pEventHover, pControl)) m_pEventHover = nullptr;
    if (m_pFocus && IsInside(m_pFocus, pControl)) m_pFocus = nullptr;
    for (auto it = m_nameCache.begin(); it != m_nameCache.end();) {
        it = IsInside(it->second, pControl) ? m_nameCache.erase(it) : std::next(it);
    }
    for (auto it = m_timers->timers.begin(); it != m_timers->timers.end();) {
        if (IsInside(it->first.first, pControl)) {
            it->second->stop();
            it->second.release()->deleteLater();
            it = m_timers->timers.erase(it);
        } else {
            ++it;
        }
    }
    if (pControl == m_pRoot) m_pRoot = nullptr;
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl) {
    if (!pControl) return;
    m_delayedCleanup.push_back(pControl);
    if (m_bCleanupPosted) return;
    m_bCleanupPosted = true;
    std::weak_ptr<int> life = m_life;
    detail::PostToUi([this, life] {
        if (life.lock()) RunDelayedCleanup();
    });
}

void CPaintManagerUI::RunDelayedCleanup() {
    m_bCleanupPosted = false;
    std::vector<CControlUI*> items;
    items.swap(m_delayedCleanup);
    for (CControlUI* c : items) delete c;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    if (!m_pRoot) return nullptr;
    return m_pRoot->FindControl(FindFromPoint, &pt,
                                UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(LPCTSTR pstrName) const {
    if (!m_pRoot || !pstrName) return nullptr;
    const auto it = m_nameCache.find(pstrName);
    if (it != m_nameCache.end() && it->second->GetName() == pstrName) return it->second;
    CControlUI* found = m_pRoot->FindControl(FindFromName, const_cast<wchar_t*>(pstrName),
                                             UIFIND_ALL | UIFIND_ME_FIRST);
    if (found) {
        m_nameCache[pstrName] = found;
    } else if (it != m_nameCache.end()) {
        m_nameCache.erase(it);
    }
    return found;
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const {
    if (!pParent) pParent = m_pRoot;
    if (!pParent) return nullptr;
    return pParent->FindControl(FindFromPoint, &pt,
                                UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCTSTR pstrName) const {
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrName) return nullptr;
    return pParent->FindControl(FindFromName, const_cast<wchar_t*>(pstrName),
                                UIFIND_ALL | UIFIND_ME_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCTSTR pstrClass,
                                                   int iIndex) {
    const auto all = FindSubControlsByClass(pParent, pstrClass);
    if (iIndex < 0 || iIndex >= static_cast<int>(all.size())) return nullptr;
    return all[static_cast<size_t>(iIndex)];
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent,
                                                                 LPCTSTR pstrClass) {
    if (!pParent) pParent = m_pRoot;
    std::vector<CControlUI*> all;
    std::vector<CControlUI*> out;
    if (!pParent) return out;
    CollectPreOrder(pParent, all);
    for (CControlUI* c : all) {
        if (EqualsNoCase(c->GetClass(), pstrClass)) out.push_back(c);
    }
    return out;
}

bool CPaintManagerUI::DispatchEvent(CControlUI* pControl, TEventUI event) {
    if (!pControl) return true;
    std::weak_ptr<int> life = m_life;
    event.pSender = pControl;
    event.dwTimestamp = GetTickCount();
    ++g_eventDepth;
    pControl->Event(event);
    --g_eventDepth;
    return !life.expired();
}

void CPaintManagerUI::SetFocus(CControlUI* pControl) {
    if (pControl == m_pFocus) return;
    if (pControl &&
        (pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled())) {
        return;
    }
    std::weak_ptr<int> life = m_life;
    if (CControlUI* old = m_pFocus) {
        m_pFocus = nullptr;
        TEventUI event;
        event.Type = UIEVENT_KILLFOCUS;
        event.wParam = reinterpret_cast<WPARAM>(pControl);
        std::weak_ptr<int> oldLife = old->m_life;
        if (!DispatchEvent(old, event)) return;
        if (!oldLife.expired()) SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
        if (life.expired()) return;
    }
    if (!pControl || pControl->GetManager() != this) return;
    m_pFocus = pControl;
    TEventUI event;
    event.Type = UIEVENT_SETFOCUS;
    std::weak_ptr<int> newLife = pControl->m_life;
    if (!DispatchEvent(pControl, event)) return;
    if (!newLife.expired() && m_pFocus == pControl) SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
}

void CPaintManagerUI::MoveFocusToNextTabStop() {
    if (!m_pRoot) return;
    std::vector<CControlUI*> all;
    CollectPreOrder(m_pRoot, all);
    std::vector<CControlUI*> stops;
    for (CControlUI* c : all) {
        if (c->IsVisible() && c->IsEnabled() && (c->GetControlFlags() & UIFLAG_TABSTOP))
            stops.push_back(c);
    }
    if (stops.empty()) return;
    const auto it = std::find(stops.begin(), stops.end(), m_pFocus);
    SetFocus(it == stops.end() || std::next(it) == stops.end() ? stops.front() : *std::next(it));
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
    if (!pControl || !detail::IsUiThread()) return false;
    auto& slot = m_timers->timers[{pControl, nTimerID}];
    if (!slot) {
        slot = std::make_unique<QTimer>();
        std::weak_ptr<int> life = m_life;
        QObject::connect(slot.get(), &QTimer::timeout, [this, life, pControl, nTimerID] {
            if (life.expired()) return;
            TEventUI event;
            event.Type = UIEVENT_TIMER;
            event.wParam = nTimerID;
            DispatchEvent(pControl, event);
        });
    }
    slot->start(static_cast<int>(std::max<UINT>(uElapse, 1)));
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
    const auto it = m_timers->timers.find({pControl, nTimerID});
    if (it == m_timers->timers.end()) return false;
    it->second->stop();
    it->second.release()->deleteLater();
    m_timers->timers.erase(it);
    return true;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
    for (auto it = m_timers->timers.begin(); it != m_timers->timers.end();) {
        if (it->first.first == pControl) {
            it->second->stop();
            it->second.release()->deleteLater();
            it = m_timers->timers.erase(it);
        } else {
            ++it;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers() {
    for (auto& [key, timer] : m_timers->timers) {
        timer->stop();
        timer.release()->deleteLater();
    }
    m_timers->timers.clear();
}

void CPaintManagerUI::SetCapture() {
    ::UiLib::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
    if (::UiLib::GetCapture() == m_hWndPaint) ::UiLib::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* pControl) {
    if (!pControl ||
        std::find(m_notifiers.begin(), m_notifiers.end(), pControl) != m_notifiers.end()) {
        return false;
    }
    m_notifiers.push_back(pControl);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pControl) {
    const auto before = m_notifiers.size();
    std::erase(m_notifiers, pControl);
    return m_notifiers.size() != before;
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync) {
    Msg.ptMouse = m_ptLastMousePos;
    Msg.dwTimestamp = GetTickCount();
    if (bAsync) {
        std::weak_ptr<int> life = m_life;
        std::weak_ptr<int> senderLife;
        if (Msg.pSender) senderLife = Msg.pSender->m_life;
        TNotifyUI copy = Msg;
        detail::PostToUi([this, life, senderLife, copy]() mutable {
            if (life.expired() || (copy.pSender && senderLife.expired())) return;
            SendNotify(copy, false);
        });
        return;
    }
    std::weak_ptr<int> life = m_life;
    const std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* notifier : notifiers) {
        if (life.expired()) return;
        if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end())
            continue;
        notifier->Notify(Msg);
    }
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam,
                                 LPARAM lParam, bool bAsync) {
    TNotifyUI msg;
    msg.pSender = pControl;
    msg.sType = pstrMessage;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, bAsync);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
    if (!pFilter || std::find(m_filters.begin(), m_filters.end(), pFilter) != m_filters.end())
        return false;
    m_filters.push_back(pFilter);
    return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) {
    const auto before = m_filters.size();
    std::erase(m_filters, pFilter);
    return m_filters.size() != before;
}

bool CPaintManagerUI::IsCaptionPoint(POINT pt) const {
    if (m_rcCaption.left == 0 && m_rcCaption.top == 0 && m_rcCaption.right == 0 &&
        m_rcCaption.bottom == 0) {
        return false;
    }
    const SIZE client = GetClientSize();
    const RECT caption{m_rcCaption.left, m_rcCaption.top,
                       m_rcCaption.right > 0 ? client.cx - m_rcCaption.right : client.cx,
                       m_rcCaption.bottom > 0 ? m_rcCaption.bottom : client.cy};
    if (!PtInRect(caption, pt)) return false;
    const CControlUI* control = FindControl(pt);
    // Controls that take clicks keep them; the rest of the caption drags the window.
    return !control || !(control->GetControlFlags() & (UIFLAG_TABSTOP | UIFLAG_SETCURSOR));
}

bool CPaintManagerUI::IsSizeBoxPoint(POINT pt, int* edges) const {
    const SIZE client = GetClientSize();
    int e = 0;
    if (m_rcSizeBox.left > 0 && pt.x < m_rcSizeBox.left) e |= Qt::LeftEdge;
    if (m_rcSizeBox.right > 0 && pt.x >= client.cx - m_rcSizeBox.right) e |= Qt::RightEdge;
    if (m_rcSizeBox.top > 0 && pt.y < m_rcSizeBox.top) e |= Qt::TopEdge;
    if (m_rcSizeBox.bottom > 0 && pt.y >= client.cy - m_rcSizeBox.bottom) e |= Qt::BottomEdge;
    if (edges) *edges = e;
    return e != 0;
}

void CPaintManagerUI::SetHotControl(CControlUI* pControl, POINT pt) {
    if (pControl == m_pEventHover) return;
    std::weak_ptr<int> life = m_life;
    if (CControlUI* old = m_pEventHover) {
        m_pEventHover = nullptr;
        TEventUI event;
        event.Type = UIEVENT_MOUSELEAVE;
        event.ptMouse = pt;
        if (!DispatchEvent(old, event)) return;
    }
    if (life.expired()) return;
    m_pEventHover = pControl;
    detail::WindowHost* host = detail::HostOf(m_hWndPaint);
    if (host)
        host->setToolTip(pControl ? QString::fromStdWString(pControl->GetToolTip().str())
                                  : QString());
    if (pControl) {
        TEventUI event;
        event.Type = UIEVENT_MOUSEENTER;
        event.ptMouse = pt;
        DispatchEvent(pControl, event);
    }
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    std::weak_ptr<int> life = m_life;
    for (IMessageFilterUI* filter : std::vector<IMessageFilterUI*>(m_filters)) {
        bool handled = false;
        const LRESULT r = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (life.expired()) return true;
        if (handled) {
            lRes = r;
            return true;
        }
    }
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (uMsg) {
        case WM_SIZE:
            if (m_pRoot) m_pRoot->NeedUpdate();
            m_bUpdateNeeded = true;
            Invalidate();
            return false;
        case WM_MOUSEMOVE: {
            UpdateLayout();
            m_ptLastMousePos = pt;
            CControlUI* hover = FindControl(pt);
            SetHotControl(hover, pt);
            if (life.expired()) return true;
            TEventUI event;
            event.Type = UIEVENT_MOUSEMOVE;
            event.ptMouse = pt;
            event.wParam = wParam;
            return !DispatchEvent(m_pEventClick ? m_pEventClick : m_pEventHover, event);
        }
        case WM_MOUSEHOVER: {
            UpdateLayout();
            m_ptLastMousePos = pt;
            CControlUI* control = FindControl(pt);
            if (!control) return false;
            TEventUI event;
            event.Type = UIEVENT_MOUSEHOVER;
            event.ptMouse = pt;
            return !DispatchEvent(control, event);
        }
        case WM_MOUSELEAVE:
            SetHotControl(nullptr, m_ptLastMousePos);
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: {
            UpdateLayout();
            m_ptLastMousePos = pt;
            if (uMsg == WM_LBUTTONDOWN) {
                int edges = 0;
                if (IsSizeBoxPoint(pt, &edges)) {
                    if (detail::WindowHost* host = detail::HostOf(m_hWndPaint)) {
                        host->BeginResize(static_cast<Qt::Edges>(edges));
                    }
                    return true;
                }
                if (IsCaptionPoint(pt)) {
                    BeginWindowDrag(m_hWndPaint);
                    return true;
                }
            }
            CControlUI* control = FindControl(pt);
            if (!control || control->GetManager() != this) return false;
            std::weak_ptr<int> controlLife = control->m_life;
            control->SetFocus();
            if (life.expired()) return true;
            if (controlLife.expired() || control->GetManager() != this) return false;
            TEventUI event;
            event.ptMouse = pt;
            event.wParam = wParam;
            if (uMsg == WM_RBUTTONDOWN) {
                event.Type = UIEVENT_RBUTTONDOWN;
            } else {
                m_pEventClick = control;
                SetCapture();
                event.Type = uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK;
            }
            return !DispatchEvent(control, event);
        }
        case WM_LBUTTONUP: {
            UpdateLayout();
            m_ptLastMousePos = pt;
            ReleaseCapture();
            CControlUI* control = m_pEventClick;
            m_pEventClick = nullptr;
            if (!control) return false;
            TEventUI event;
            event.Type = UIEVENT_BUTTONUP;
            event.ptMouse = pt;
            event.wParam = wParam;
            return !DispatchEvent(control, event);
        }
        case WM_RBUTTONUP: {
            UpdateLayout();
            CControlUI* control = FindControl(pt);
            if (!control) return false;
            TEventUI event;
            event.Type = UIEVENT_RBUTTONUP;
            event.ptMouse = pt;
            if (!DispatchEvent(control, event)) return true;
            if (FindControl(pt) != control) return false;
            event.Type = UIEVENT_CONTEXTMENU;
            return !DispatchEvent(control, event);
        }
        case WM_MOUSEWHEEL: {
            UpdateLayout();
            POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(m_hWndPaint, &client);
            CControlUI* control = FindControl(client);
            if (!control) return false;
            TEventUI event;
            event.Type = UIEVENT_SCROLLWHEEL;
            event.ptMouse = client;
            event.wParam = wParam;
            event.lParam = lParam;
            return !DispatchEvent(control, event);
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR: {
            if (uMsg == WM_KEYDOWN && wParam == VK_TAB) {
                MoveFocusToNextTabStop();
                return true;
            }
            if (!m_pFocus) return false;
            TEventUI event;
            event.Type = uMsg == WM_KEYDOWN ? UIEVENT_KEYDOWN
                                            : (uMsg == WM_KEYUP ? UIEVENT_KEYUP : UIEVENT_CHAR);
            event.chKey = static_cast<TCHAR>(wParam);
            event.wParam = wParam;
            event.lParam = lParam;
            event.ptMouse = m_ptLastMousePos;
            return !DispatchEvent(m_pFocus, event);
        }
        default:
            return false;
    }
}

void CPaintManagerUI::Invalidate() {
    if (detail::WindowHost* host = detail::HostOf(m_hWndPaint)) host->update();
}

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
    if (IsRectEmpty(rcItem)) return;
    if (detail::WindowHost* host = detail::HostOf(m_hWndPaint)) {
        host->update(
            QRect(rcItem.left, rcItem.top, rcItem.right - rcItem.left, rcItem.bottom - rcItem.top));
    }
}

void CPaintManagerUI::UpdateLayout() {
    if (!m_pRoot) return;
    const SIZE size = GetClientSize();
    if (m_pRoot->GetPos() != RECT{0, 0, size.cx, size.cy}) m_bUpdateNeeded = true;
    for (int pass = 0; pass < 4 && m_bUpdateNeeded; ++pass) {
        m_bUpdateNeeded = false;
        const SIZE client = GetClientSize();
        const RECT rc{0, 0, client.cx, client.cy};
        if (m_pRoot->IsUpdateNeeded() || m_pRoot->GetPos() != rc) {
            m_pRoot->SetPos(rc, false);
        } else {
            UpdateMarked(m_pRoot);
        }
    }
}

void CPaintManagerUI::RenderTo(HDC hDC, const RECT& rcPaint) {
    UpdateLayout();
    if (!m_pRoot) return;
    ++g_eventDepth;
    m_pRoot->DoPaint(hDC, rcPaint);
    --g_eventDepth;
}

}  // namespace UiLib
