// The parts of a window's paint manager that its layout declares for the controls:
// fonts, default attribute lists per control class, option groups, and the owner's
// resources a popup window shares.

#include <algorithm>

#include "uilib/core/PaintManager.h"

namespace UiLib {

namespace {

std::wstring LowerKey(LPCTSTR text) {
    CDuiString s(text);
    s.MakeLower();
    return s.str();
}

}  // namespace

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

}  // namespace UiLib
