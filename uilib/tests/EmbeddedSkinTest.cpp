#include <gtest/gtest.h>

#include <algorithm>

#include "TestWindow.h"

extern "C" const unsigned char uilib_test_zip_bytes[];
extern "C" const unsigned long long uilib_test_zip_bytes_size;

using namespace UiLib;
using namespace uilibtest;

namespace {

// A window whose skin is the archive linked into the program (resource "ZIPRES" 103).
class EmbeddedSkinWindow : public WindowImplBase {
public:
    LPCTSTR GetWindowClassName() const override { return L"Morvane"; }
    CDuiString GetSkinFolder() override { return L""; }
    CDuiString GetSkinFile() override { return L"sample.xml"; }
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_ZIPRESOURCE; }
    LPCTSTR GetResourceID() const override { return MAKEINTRESOURCE(103); }
    CPaintManagerUI& Pm() { return m_PaintManager; }
};

}  // namespace

TEST(EmbeddedSkin, AWindowLoadsItsLayoutFromTheLinkedArchive) {
    UiLib::testing::TestBackend backend;
    ASSERT_GT(uilib_test_zip_bytes_size, 100u);
    EXPECT_EQ(uilib_test_zip_bytes[0], 'P');
    EXPECT_EQ(uilib_test_zip_bytes[1], 'K');
    RegisterResource(L"ZIPRES", 103, uilib_test_zip_bytes, uilib_test_zip_bytes_size);
    CPaintManagerUI::SetResourceZip(L"");  // no archive file: only the linked one
    {
        EmbeddedSkinWindow w;
        ASSERT_NE(w.Create(nullptr, L"自动更新程序", 0x96C80000, 0x100), nullptr);
        EXPECT_EQ(CPaintManagerUI::GetResourceZip().str(), L"<memory>");
        ASSERT_NE(w.Pm().GetRoot(), nullptr);
        EXPECT_EQ(w.Pm().GetInitSize().cx, 400);
        EXPECT_NE(w.Pm().FindControl(L"proFile"), nullptr);
        // Images come from the same archive: the background picture is drawn.
        const auto calls = backend.Paint(w.GetHWND());
        EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const auto& call) {
            return call.kind == UiLib::testing::DrawCall::Kind::Image;
        }));
    }
    // Leave the archive file in place for the other tests.
    CPaintManagerUI::SetResourceZip(L"");
    UseTestArchive();
}
