#pragma once

// The windows of the headless test backend: geometry, visibility, activation and line
// edits kept in memory, reported to the framework as a desktop would, and painted on
// a RecordingCanvas when asked.

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "uilib/src/Backend.h"
#include "uilib/testing/RecordingCanvas.h"

namespace UiLib::testing {

class HeadlessWindow;

// What the headless windows share: the screen, the pointer, the active window.
struct HeadlessDesktop {
    RECT screen{0, 0, 1280, 800};
    RECT workArea{0, 0, 1280, 760};  // a 40-pixel panel at the bottom
    POINT cursor;
    HeadlessWindow* active = nullptr;
    std::set<HeadlessWindow*> windows;
};

class HeadlessEdit final : public backend::NativeEdit {
public:
    HeadlessEdit(std::shared_ptr<std::vector<HeadlessEdit*>> siblings, backend::EditEvents& events);
    ~HeadlessEdit() override;

    void SetText(const std::wstring& text) override { text_ = text; }
    std::wstring Text() const override { return text_; }
    void SetLook(const backend::EditLook& look) override { look_ = look; }
    void SetGeometry(const RECT& rc) override { geometry_ = rc; }
    void Show() override { shown_ = true; }
    void Hide() override { shown_ = false; }
    bool IsShown() const override { return shown_; }

    // A person's typing: text committed at the end (within the length limit, not into a
    // read-only edit), and keys. Key is true when the edit took the key for itself.
    void Type(const std::wstring& text);
    bool Key(UINT vk);
    const backend::EditLook& look() const { return look_; }
    const RECT& geometry() const { return geometry_; }

private:
    void Changed(std::wstring text);

    std::weak_ptr<std::vector<HeadlessEdit*>> siblings_;
    backend::EditEvents& events_;
    std::wstring text_;
    backend::EditLook look_;
    RECT geometry_;
    bool shown_ = false;
};

class HeadlessWindow final : public backend::NativeWindow {
public:
    HeadlessWindow(std::shared_ptr<HeadlessDesktop> desktop, backend::WindowEvents& events);
    ~HeadlessWindow() override;

    void SetStyle(bool topmost, bool toolWindow) override;
    void SetOwner(backend::NativeWindow* owner) override { owner_ = owner; }
    void SetTitle(const std::wstring& title) override { title_ = title; }
    void SetIcon(const backend::Image* icon) override { hasIcon_ = icon != nullptr; }
    RECT Geometry() const override { return geometry_; }
    void Move(POINT topLeft) override;
    void Resize(SIZE size) override;
    void SetSizeLimits(SIZE min, SIZE max) override;
    void Show(backend::ShowMode mode) override;
    void Hide() override;
    bool IsShown() const override { return shown_; }
    bool IsMinimized() const override { return minimized_; }
    void BringToFront() override;
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool IsEnabled() const override { return enabled_; }
    void SetOpacity(BYTE alpha) override { opacity_ = alpha; }
    void SetRoundCorners(SIZE corner) override { corner_ = corner; }
    void SetBackdrop(DWORD color) override { backdrop_ = color; }
    bool StartSystemMove() override { return false; }  // the framework moves it by hand
    void StartSystemResize(UINT edges) override { resizeEdges_ = edges; }
    void GrabPointer() override { grabbed_ = true; }
    void ReleasePointer() override { grabbed_ = false; }
    void Invalidate(const RECT*) override { ++invalidations_; }
    void SetToolTip(const std::wstring& text) override { toolTip_ = text; }
    // Headless windows have no pixels: an empty picture.
    backend::Bitmap Snapshot(double) override { return backend::Bitmap(); }
    std::unique_ptr<backend::NativeEdit> CreateEdit(backend::EditEvents& events) override;
    void AnnounceFocus(AccessId id) override { announcedFocus_.push_back(id); }

    backend::WindowEvents& events() { return events_; }
    // The controls announced to assistive technology as focused, oldest first.
    const std::vector<AccessId>& announcedFocus() const { return announcedFocus_; }
    // The window drawn now on a recording canvas.
    std::vector<DrawCall> Paint();
    HeadlessEdit* ShownEdit() const;
    bool IsTopmost() const { return topmost_; }
    bool IsToolWindow() const { return toolWindow_; }
    const std::wstring& title() const { return title_; }
    const std::wstring& toolTip() const { return toolTip_; }
    SIZE corner() const { return corner_; }
    DWORD backdrop() const { return backdrop_; }
    UINT resizeEdges() const { return resizeEdges_; }

private:
    // Still alive after something it reported.
    bool Alive() const { return desktop_->windows.count(const_cast<HeadlessWindow*>(this)) != 0; }
    void Deactivate();

    std::shared_ptr<HeadlessDesktop> desktop_;
    backend::WindowEvents& events_;
    std::shared_ptr<std::vector<HeadlessEdit*>> edits_;
    backend::NativeWindow* owner_ = nullptr;
    RECT geometry_{0, 0, 1, 1};
    SIZE min_{1, 1};
    SIZE max_;
    std::wstring title_;
    std::wstring toolTip_;
    std::vector<AccessId> announcedFocus_;
    SIZE corner_;
    DWORD backdrop_ = 0xFFFFFFFF;
    BYTE opacity_ = 255;
    UINT resizeEdges_ = 0;
    int invalidations_ = 0;
    bool topmost_ = false;
    bool toolWindow_ = false;
    bool hasIcon_ = false;
    bool shown_ = false;
    bool minimized_ = false;
    bool enabled_ = true;
    bool grabbed_ = false;
};

}  // namespace UiLib::testing
