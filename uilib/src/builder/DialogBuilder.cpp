#include "uilib/core/DialogBuilder.h"

#include <map>
#include <memory>

#include "uilib/core/Container.h"
#include "uilib/core/ControlFactory.h"
#include "uilib/core/PaintManager.h"
#include "uilib/src/builder/LayoutParser.h"
#include "uilib/src/resources/ResourceStore.h"
#include "uilib/src/text/AttributeValues.h"

namespace UiLib {

struct CDialogBuilder::Markup {
    detail::LayoutNode root;
};

namespace {

using Node = detail::LayoutNode;
using detail::ParseBool;
using detail::ParseInt;
using detail::ParseRect;
using detail::ParseSize;

// Parsed layouts by file name, for the archive generation they were read from.
std::shared_ptr<const CDialogBuilder::Markup> CachedMarkup(const std::wstring& name,
                                                           std::wstring* error) {
    static std::map<std::wstring, std::shared_ptr<const CDialogBuilder::Markup>> cache;
    static unsigned generation = 0;
    const unsigned current = detail::ResourceGeneration();
    if (generation != current) {
        cache.clear();
        generation = current;
    }
    if (const auto it = cache.find(name); it != cache.end()) return it->second;
    const auto bytes = detail::LoadFile(WideToUtf8(name));
    if (!bytes) {
        *error = L"layout file not found: " + name;
        return nullptr;
    }
    auto markup = std::make_shared<CDialogBuilder::Markup>();
    if (!detail::ParseLayout(*bytes, &markup->root, error)) return nullptr;
    cache[name] = markup;
    return markup;
}

bool IsResourceNode(const std::wstring& name) {
    return name == L"Font" || name == L"Default" || name == L"Image" || name == L"Style";
}

class TreeBuilder {
public:
    TreeBuilder(IDialogBuilderCallback* callback, CPaintManagerUI* manager)
        : callback_(callback), manager_(manager) {}

    void ApplyWindow(const Node& window, bool isWindowLayout) {
        if (!manager_) return;
        if (isWindowLayout) {
            for (const auto& [name, value] : window.attrs) ApplyWindowAttribute(name, value);
        }
        int nextFontId = 0;
        for (const Node& child : window.children) {
            if (child.name == L"Font") {
                AddFont(child, isWindowLayout, nextFontId);
            } else if (child.name == L"Default") {
                const std::wstring* name = child.Attr(L"name");
                const std::wstring* value = child.Attr(L"value");
                if (!name || name->empty()) continue;
                if (isWindowLayout || !manager_->GetDefaultAttributeList(name->c_str())) {
                    manager_->AddDefaultAttributeList(name->c_str(), value ? value->c_str() : L"");
                }
            }
        }
    }

    std::unique_ptr<CControlUI> Build(const Node& node) {
        std::unique_ptr<CControlUI> owned(callback_ ? callback_->CreateControl(node.name.c_str())
                                                    : nullptr);
        if (!owned) owned = CreateRegisteredControl(node.name.c_str());
        if (!owned) return nullptr;  // unknown class: skipped with its children
        CControlUI* control = owned.get();
        if (manager_) {
            if (LPCTSTR defaults = manager_->GetDefaultAttributeList(node.name.c_str())) {
                control->SetAttributeList(defaults);
            }
        }
        for (const auto& [name, value] : node.attrs)
            control->SetAttribute(name.c_str(), value.c_str());
        auto* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
        for (const Node& child : node.children) {
            if (!container || IsResourceNode(child.name)) continue;
            std::unique_ptr<CControlUI> built = Build(child);
            if (built && container->Add(built.get())) built.release();  // the container owns it
        }
        return owned;
    }

private:
    void ApplyWindowAttribute(const std::wstring& name, const std::wstring& value) {
        if (name == L"size") {
            const SIZE s = ParseSize(value.c_str());
            manager_->SetInitSize(s.cx, s.cy);
        } else if (name == L"caption") {
            RECT rc = ParseRect(value.c_str());
            manager_->SetCaptionRect(rc);
        } else if (name == L"roundcorner") {
            const SIZE s = ParseSize(value.c_str());
            manager_->SetRoundCorner(s.cx, s.cy);
        } else if (name == L"mininfo") {
            const SIZE s = ParseSize(value.c_str());
            manager_->SetMinInfo(s.cx, s.cy);
        } else if (name == L"maxinfo") {
            const SIZE s = ParseSize(value.c_str());
            manager_->SetMaxInfo(s.cx, s.cy);
        } else if (name == L"sizebox") {
            RECT rc = ParseRect(value.c_str());
            manager_->SetSizeBox(rc);
        } else if (name == L"alpha" || name == L"opacity") {
            manager_->SetTransparent(ParseInt(value.c_str()));
        }
    }

    void AddFont(const Node& font, bool isWindowLayout, int& nextId) {
        int id = -1;
        std::wstring family;
        int size = 12;
        bool bold = false, underline = false, italic = false, isDefault = false;
        for (const auto& [k, v] : font.attrs) {
            if (k == L"id") id = ParseInt(v.c_str());
            if (k == L"name") family = v;
            if (k == L"size") size = ParseInt(v.c_str());
            if (k == L"bold") bold = ParseBool(v.c_str());
            if (k == L"underline") underline = ParseBool(v.c_str());
            if (k == L"italic") italic = ParseBool(v.c_str());
            if (k == L"default") isDefault = ParseBool(v.c_str());
        }
        if (id < 0) id = nextId;
        nextId = std::max(nextId, id + 1);
        if (!isWindowLayout && manager_->HasFont(id)) return;
        manager_->AddFont(id, family.c_str(), size, bold, underline, italic,
                          isDefault && isWindowLayout);
    }

    IDialogBuilderCallback* callback_;
    CPaintManagerUI* manager_;
};

}  // namespace

CDialogBuilder::CDialogBuilder() = default;
CDialogBuilder::~CDialogBuilder() = default;

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCTSTR, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent) {
    m_markup.reset();
    m_sError.Empty();
    std::wstring error;
    if (!xml.m_lpstr || IS_INTRESOURCE(xml.m_lpstr)) {
        m_sError = L"layouts are named by file";
        return nullptr;
    }
    const std::wstring text = xml.m_lpstr;
    if (!text.empty() && text[0] == L'<') {
        auto markup = std::make_shared<Markup>();
        if (!detail::ParseLayout(WideToUtf8(text), &markup->root, &error)) {
            m_sError = error;
            return nullptr;
        }
        m_markup = markup;
    } else {
        m_markup = CachedMarkup(text, &error);
        if (!m_markup) {
            m_sError = error;
            return nullptr;
        }
    }
    return Create(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent) {
    if (!m_markup) {
        if (m_sError.IsEmpty()) m_sError = L"no layout loaded";
        return nullptr;
    }
    TreeBuilder builder(pCallback, pManager);
    const Node& root = m_markup->root;
    const Node* controlNode = &root;
    if (root.name == L"Window") {
        builder.ApplyWindow(root, pManager && !pManager->GetRoot() && !pParent);
        controlNode = nullptr;
        for (const Node& child : root.children) {
            if (!IsResourceNode(child.name)) {
                controlNode = &child;
                break;
            }
        }
        if (!controlNode) {
            m_sError = L"layout has no control";
            return nullptr;
        }
    }
    std::unique_ptr<CControlUI> control = builder.Build(*controlNode);
    if (!control) {
        m_sError = L"unknown control class: " + controlNode->name;
        return nullptr;
    }
    if (pParent) {
        auto* container = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
        if (!container || !container->Add(control.get())) {
            m_sError = L"parent cannot hold the layout";
            return nullptr;
        }
    }
    return control.release();  // the caller's, or the parent's when given
}

}  // namespace UiLib
