#pragma once

// CDialogBuilder: builds a control tree from an XML layout of the skin.

#include <memory>

#include "uilib/core/Control.h"

namespace UiLib {

class CPaintManagerUI;

// Creates controls for element names that are not built-in classes.
class IDialogBuilderCallback {
public:
    virtual CControlUI* CreateControl(LPCTSTR pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// A layout named by file (or given as XML text starting with "<"), or by resource id.
class STRINGorID {
public:
    STRINGorID(LPCTSTR text) : m_lpstr(text) {}            // NOLINT: implicit like the original
    STRINGorID(UINT id) : m_lpstr(MAKEINTRESOURCE(id)) {}  // NOLINT
    STRINGorID(const CDuiString& text) : m_lpstr(text.GetData()) {}  // NOLINT
    LPCTSTR m_lpstr;
};

class CDialogBuilder {
public:
    CDialogBuilder();
    ~CDialogBuilder();
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // Loads the layout and builds its control tree. `type` is accepted for the original
    // signature and ignored (layouts are always files of the skin or XML text). With a
    // manager whose window has no layout yet, the Window root's attributes, fonts and
    // defaults go to that manager; for a sub-layout fonts and defaults are added only
    // where the manager has none of that id or class. With a parent container the tree
    // is added to it. Returns the root control (owned by the caller until it is added
    // to a container or attached to a window), or null when the layout is missing or
    // malformed.
    CControlUI* Create(STRINGorID xml, LPCTSTR type = nullptr,
                       IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // Builds the tree again from the layout loaded by the last Create.
    CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);

    // Why the last Create returned null.
    const CDuiString& GetLastErrorMessage() const { return m_sError; }

    struct Markup;

private:
    std::shared_ptr<const Markup> m_markup;
    CDuiString m_sError;
};

}  // namespace UiLib
