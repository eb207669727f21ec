#include "uilib/backend/qt/QtAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <algorithm>

#include "uilib/backend/qt/QtWindow.h"

namespace UiLib::qt {

namespace {

backend::AccessibleTree* TreeOf(const QPointer<WindowWidget>& widget) {
    backend::WindowEvents* events = widget ? widget->events() : nullptr;
    return events ? &events->Accessibility() : nullptr;
}

QAccessible::Role QtRole(AccessRole role) {
    switch (role) {
        case AccessRole::Window:
            return QAccessible::Window;
        case AccessRole::Dialog:
            return QAccessible::Dialog;
        case AccessRole::Pane:
            return QAccessible::Pane;
        case AccessRole::Button:
            return QAccessible::Button;
        case AccessRole::CheckBox:
            return QAccessible::CheckBox;
        case AccessRole::RadioButton:
            return QAccessible::RadioButton;
        case AccessRole::Edit:
            return QAccessible::EditableText;
        case AccessRole::StaticText:
            return QAccessible::StaticText;
        case AccessRole::ProgressBar:
            return QAccessible::ProgressBar;
        case AccessRole::List:
            return QAccessible::List;
        case AccessRole::ListItem:
            return QAccessible::ListItem;
        case AccessRole::Menu:
            return QAccessible::PopupMenu;
        case AccessRole::MenuItem:
            return QAccessible::MenuItem;
        case AccessRole::PageTabList:
            return QAccessible::PageTabList;
        case AccessRole::PageTab:
            return QAccessible::PageTab;
        case AccessRole::Graphic:
            return QAccessible::Graphic;
        case AccessRole::None:
            break;
    }
    return QAccessible::NoRole;
}

QAccessible::State QtState(UINT state) {
    QAccessible::State s;
    s.focusable = (state & kAccessFocusable) != 0;
    s.focused = (state & kAccessFocused) != 0;
    s.checkable = (state & kAccessCheckable) != 0;
    s.checked = (state & kAccessChecked) != 0;
    s.selectable = (state & kAccessSelectable) != 0;
    s.selected = (state & kAccessSelected) != 0;
    s.disabled = (state & kAccessDisabled) != 0;
    s.invisible = (state & kAccessInvisible) != 0;
    return s;
}

// One windowless control. It holds only the control's number: every answer is asked of
// the framework anew, so a control that is gone makes the interface invalid.
class ControlAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ControlAccessible(WindowWidget* widget, AccessId id) : widget_(widget), id_(id) {}

    AccessId id() const { return id_; }
    const WindowWidget* widget() const { return widget_; }

    bool isValid() const override {
        AccessInfo info;
        backend::AccessibleTree* tree = TreeOf(widget_);
        return tree && tree->Describe(id_, info);
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return widget_ ? widget_->windowHandle() : nullptr; }

    QAccessibleInterface* parent() const override {
        backend::AccessibleTree* tree = TreeOf(widget_);
        if (!tree) return nullptr;
        const AccessId up = tree->Parent(id_);
        return up ? widget_->accessibleNodes().NodeFor(up)
                  : QAccessible::queryAccessibleInterface(widget_.data());
    }
    QAccessibleInterface* child(int index) const override {
        const std::vector<AccessId> kids = Kids();
        if (index < 0 || index >= static_cast<int>(kids.size())) return nullptr;
        return widget_->accessibleNodes().NodeFor(kids[static_cast<size_t>(index)]);
    }
    int childCount() const override { return static_cast<int>(Kids().size()); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return IndexIn(Kids(), child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* c = child(i);
            if (c && c->rect().contains(x, y)) return c;
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        backend::AccessibleTree* tree = TreeOf(widget_);
        return tree && tree->Focus() == id_ ? const_cast<ControlAccessible*>(this) : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        const AccessInfo info = Info();
        switch (t) {
            case QAccessible::Name:
                return QString::fromStdWString(info.name);
            case QAccessible::Description:
                return QString::fromStdWString(info.description);
            case QAccessible::Value:
                return QString::fromStdWString(info.value);
            default:
                return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const RECT rc = Info().rect;
        if (!widget_) return QRect();
        const QPoint topLeft = widget_->mapToGlobal(QPoint(rc.left, rc.top));
        return QRect(topLeft, QSize(rc.right - rc.left, rc.bottom - rc.top));
    }
    QAccessible::Role role() const override { return QtRole(Info().role); }
    QAccessible::State state() const override { return QtState(Info().state); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        return nullptr;
    }

    QStringList actionNames() const override {
        const AccessInfo info = Info();
        QStringList names;
        if (info.state & kAccessDisabled) return names;
        switch (info.role) {
            case AccessRole::Button:
            case AccessRole::CheckBox:
            case AccessRole::RadioButton:
            case AccessRole::MenuItem:
            case AccessRole::ListItem:
                names << pressAction();
                break;
            default:
                break;
        }
        if (info.state & kAccessFocusable) names << setFocusAction();
        return names;
    }
    void doAction(const QString& name) override {
        backend::AccessibleTree* tree = TreeOf(widget_);
        if (!tree) return;
        if (name == pressAction()) {
            tree->Press(id_);
        } else if (name == setFocusAction()) {
            tree->SetFocus(id_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    static int IndexIn(const std::vector<AccessId>& ids, const QAccessibleInterface* iface) {
        const auto* control = dynamic_cast<const ControlAccessible*>(iface);
        if (!control) return -1;
        const auto it = std::find(ids.begin(), ids.end(), control->id());
        return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
    }

private:
    AccessInfo Info() const {
        AccessInfo info;
        if (backend::AccessibleTree* tree = TreeOf(widget_)) tree->Describe(id_, info);
        return info;
    }
    std::vector<AccessId> Kids() const {
        backend::AccessibleTree* tree = TreeOf(widget_);
        return tree ? tree->Children(id_) : std::vector<AccessId>();
    }

    QPointer<WindowWidget> widget_;
    AccessId id_;
};

// A window: its controls are its children (its line edit is the edit control's
// stand-in and is not listed).
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(WindowWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Window), window_(widget) {}

    QAccessible::Role role() const override {
        const QWindow* handle = window_ ? window_->windowHandle() : nullptr;
        return handle && handle->transientParent() ? QAccessible::Dialog : QAccessible::Window;
    }
    int childCount() const override { return static_cast<int>(Kids().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<AccessId> kids = Kids();
        if (!window_ || index < 0 || index >= static_cast<int>(kids.size())) return nullptr;
        return window_->accessibleNodes().NodeFor(kids[static_cast<size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return ControlAccessible::IndexIn(Kids(), child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        backend::AccessibleTree* tree = TreeOf(window_);
        if (!tree) return nullptr;
        const QPoint local = window_->mapFromGlobal(QPoint(x, y));
        AccessId id = tree->At(POINT{local.x(), local.y()});
        // The direct child of the window that holds the point.
        while (id && tree->Parent(id)) id = tree->Parent(id);
        return id ? window_->accessibleNodes().NodeFor(id) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        backend::AccessibleTree* tree = TreeOf(window_);
        const AccessId id = tree ? tree->Focus() : 0;
        return id ? window_->accessibleNodes().NodeFor(id) : nullptr;
    }

private:
    std::vector<AccessId> Kids() const {
        backend::AccessibleTree* tree = TreeOf(window_);
        return tree ? tree->Children(0) : std::vector<AccessId>();
    }

    QPointer<WindowWidget> window_;
};

QAccessibleInterface* WindowFactory(const QString&, QObject* object) {
    if (auto* widget = dynamic_cast<WindowWidget*>(object)) return new WindowAccessible(widget);
    return nullptr;
}

// Interfaces kept for controls that may have gone before the map is swept again.
constexpr std::size_t kSweepAbove = 512;

}  // namespace

AccessibleNodes::~AccessibleNodes() {
    for (const auto& [id, qid] : ids_) QAccessible::deleteAccessibleInterface(qid);
}

QAccessibleInterface* AccessibleNodes::NodeFor(AccessId id) {
    if (id == 0) return nullptr;
    if (const auto it = ids_.find(id); it != ids_.end()) {
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(it->second))
            return known;
        ids_.erase(it);
    }
    if (ids_.size() >= kSweepAbove) Prune();
    auto* node = new ControlAccessible(widget_, id);  // owned by Qt's registry from here
    ids_[id] = QAccessible::registerAccessibleInterface(node);
    return node;
}

void AccessibleNodes::Prune() {
    for (auto it = ids_.begin(); it != ids_.end();) {
        QAccessibleInterface* iface = QAccessible::accessibleInterface(it->second);
        if (iface && iface->isValid()) {
            ++it;
            continue;
        }
        if (iface) QAccessible::deleteAccessibleInterface(it->second);
        it = ids_.erase(it);
    }
}

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&WindowFactory);
        return true;
    }();
    (void)installed;
}

std::unique_ptr<QAccessibleEvent> FocusEventFor(WindowWidget* widget, AccessId id) {
    QAccessibleInterface* node = widget ? widget->accessibleNodes().NodeFor(id) : nullptr;
    if (!node) return nullptr;
    return std::make_unique<QAccessibleEvent>(node, QAccessible::Focus);
}

void AnnounceFocus(WindowWidget* widget, AccessId id) {
    // Without a listener Qt drops the event: no interface is made for it then.
    if (!QAccessible::isActive()) return;
    if (const auto event = FocusEventFor(widget, id)) QAccessible::updateAccessibility(event.get());
}

}  // namespace UiLib::qt
