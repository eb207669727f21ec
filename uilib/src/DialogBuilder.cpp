#include <QXmlStreamReader>
#include <map>
#include <memory>

#include "uilib/UiLib.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/PaintManager.h"
#include "uilib/src/ResourceStore.h"

namespace UiLib {

struct CDialogBuilder::Markup {
    struct Node {
        std::wstring name;
        std::vector<std::pair<std::wstring, std::wstring>> attrs;
        std::vector<Node> children;
    };
    Node root;
};

namespace {

using Node = CDialogBuilder::Markup::Node;

bool ParseXml(const QByteArray& bytes, CDialogBuilder::Markup* out, std::wstring* error) {
    QXmlStreamReader reader(bytes);
    std::vector<Node*> stack;
    bool haveRoot = false;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            Node node;
            node.name = reader.name().toString().toStdWString();
            for (const auto& a : reader.attributes()) {
                node.attrs.emplace_back(a.name().toString().toStdWString(),
                                        a.value().toString().toStdWString());
            }
            if (stack.empty()) {
                if (haveRoot) break;
                out->root = std::move(node);
                haveRoot = true;
                stack.push_back(&out->root);
            } else {
                stack.back()->children.push_back(std::move(node));
                stack.push_back(&stack.back()->children.back());
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (!stack.empty()) stack.pop_back();
        }
    }
    if (reader.hasError()) {
        *error = L"malformed layout: " + reader.errorString().toStdWString() + L" at line " +
                 std::to_wstring(reader.lineNumber());
        return false;
    }
    if (!haveRoot) {
        *error = L"layout has no element";
        return false;
    }
    return true;
}

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
    if (!ParseXml(QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size())),
                  markup.get(), error)) {
        return nullptr;
    }
    cache[name] = markup;
    return markup;
}

CControlUI* CreateBuiltin(const std::wstring& cls) {
    if (cls == L"Control") return new CControlUI;
    if (cls == L"Label") return new CLabelUI;
    if (cls == L"Text") return new CTextUI;
    if (cls == L"Button") return new CButtonUI;
    if (cls == L"Option") return new COptionUI;
    if (cls == L"CheckBox") return new CCheckBoxUI;
    if (cls == L"Edit") return new CEditUI;
    if (cls == L"Progress") return new CProgressUI;
    if (cls == L"Container") return new CContainerUI;
    if (cls == L"VerticalLayout") return new CVerticalLayoutUI;
    if (cls == L"HorizontalLayout") return new CHorizontalLayoutUI;
    if (cls == L"TabLayout") return new CTabLayoutUI;
    if (cls == L"AnimationTabLayout") return new CAnimationTabLayoutUI;
    if (cls == L"List") return new CListUI;
    if (cls == L"ListContainerElement") return new CListContainerElementUI;
    return nullptr;
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
                std::wstring name;
                std::wstring value;
                for (const auto& [k, v] : child.attrs) {
                    if (k == L"name") name = v;
                    if (k == L"value") value = v;
                }
                if (name.empty()) continue;
                if (isWindowLayout || !manager_->GetDefaultAttributeList(name.c_str())) {
                    manager_->AddDefaultAttributeList(name.c_str(), value.c_str());
                }
            }
        }
    }

    CControlUI* Build(const Node& node) {
        CControlUI* control = callback_ ? callback_->CreateControl(node.name.c_str()) : nullptr;
        if (!control) control = CreateBuiltin(node.name);
        if (!control) return nullptr;  // unknown class: skipped with its children
        std::unique_ptr<CControlUI> owned(control);
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
            if (CControlUI* built = Build(child)) {
                if (!container->Add(built)) delete built;
            }
        }
        return owned.release();
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
        if (!ParseXml(QString::fromStdWString(text).toUtf8(), markup.get(), &error)) {
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
    CControlUI* control = builder.Build(*controlNode);
    if (!control) {
        m_sError = L"unknown control class: " + controlNode->name;
        return nullptr;
    }
    if (pParent) {
        auto* container = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
        if (!container || !container->Add(control)) {
            delete control;
            m_sError = L"parent cannot hold the layout";
            return nullptr;
        }
    }
    return control;
}

}  // namespace UiLib
