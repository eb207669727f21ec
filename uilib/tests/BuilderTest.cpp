#include <gtest/gtest.h>

#include "TestWindow.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

class BuilderTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestArchive(); }
    UiLib::testing::TestBackend backend;
    UiLib::testing::UiTestDriver driver{backend};
};

}  // namespace

TEST_F(BuilderTest, WindowRootSetsSizeCaptionLimitsFontsAndDefaults) {
    TestWindow w(L"controls.xml");
    ASSERT_NE(w.Make(), nullptr);
    EXPECT_EQ(w.initCount, 1);
    EXPECT_EQ(w.Pm().GetInitSize().cx, 400);
    EXPECT_EQ(w.Pm().GetInitSize().cy, 320);
    EXPECT_EQ(w.Pm().GetClientSize().cx, 400);
    EXPECT_EQ(w.Pm().GetClientSize().cy, 320);
    EXPECT_EQ(w.Pm().GetCaptionRect().bottom, 30);
    EXPECT_EQ(w.Pm().GetMinInfo().cx, 400);
    EXPECT_EQ(w.Pm().GetMaxInfo().cy, 320);
    EXPECT_TRUE(w.Pm().HasFont(3));
    EXPECT_EQ(w.Pm().GetFontInfo(3).iSize, 20);
    EXPECT_TRUE(w.Pm().GetFontInfo(3).bBold);
    // The default font serves controls that name none, and unknown ids.
    EXPECT_EQ(w.Pm().GetFontInfo(-1).iSize, 14);
    EXPECT_EQ(w.Pm().GetFontInfo(99).iSize, 14);
    // The Button defaults reach every button before its own attributes.
    auto* go = w.Get<CButtonUI>(L"btnGo");
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->GetTextColor(), 0xFF112233u);
    EXPECT_EQ(go->GetFont(), 3);
    auto* close = w.Get<CButtonUI>(L"closebtn");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->GetTextColor(), 0xFFFFFFFFu);  // own attribute wins over the default
    EXPECT_EQ(go->GetToolTip().str(), L"出发");
    EXPECT_EQ(go->GetUserData().str(), L"data-1");
    EXPECT_EQ(w.Get<CProgressUI>(L"pro")->GetValue(), 10);
    EXPECT_EQ(w.Get<CEditUI>(L"edt")->GetMaxChar(), 20u);
    EXPECT_EQ(w.Get<CTabLayoutUI>(L"tabs")->GetCurSel(), 1);
}

TEST_F(BuilderTest, SubLayoutUsesTheWindowsFontsAndAddsOnlyNewOnes) {
    TestWindow w(L"controls.xml");
    ASSERT_NE(w.Make(), nullptr);
    CDialogBuilder builder;
    CControlUI* sub = builder.Create(L"sub.xml", nullptr, &w, &w.Pm());
    ASSERT_NE(sub, nullptr);
    // The window keeps its size, its font 0 and its Button defaults.
    EXPECT_EQ(w.Pm().GetInitSize().cx, 400);
    EXPECT_EQ(w.Pm().GetFontInfo(0).iSize, 14);
    EXPECT_TRUE(w.Pm().HasFont(7));
    auto* subBtn = static_cast<CContainerUI*>(sub)->FindSubControl(L"subBtn");
    ASSERT_NE(subBtn, nullptr);
    EXPECT_EQ(static_cast<CButtonUI*>(subBtn)->GetTextColor(), 0xFF112233u);
    // A class the window had no defaults for takes the sub-layout's.
    auto* subLbl =
        static_cast<CLabelUI*>(static_cast<CContainerUI*>(sub)->FindSubControl(L"subLbl"));
    EXPECT_EQ(subLbl->GetTextColor(), 0xFF00FF00u);
    // The caller owns the tree until it is added.
    auto* root = w.Get<CContainerUI>(L"root");
    ASSERT_TRUE(root->Add(sub));
    EXPECT_EQ(w.Pm().FindControl(L"subBtn"), subBtn);
    EXPECT_EQ(w.Pm().FindSubControlByName(sub, L"subLbl"), subLbl);
}

TEST_F(BuilderTest, CustomClassesComeFromTheCallbackAndUnknownOnesAreSkipped) {
    TestWindow w(L"custom.xml");
    ASSERT_NE(w.Make(), nullptr);
    auto* fancy = w.Get<CFancyUI>(L"fancy");
    ASSERT_NE(fancy, nullptr);
    EXPECT_EQ(fancy->shade, 7);
    EXPECT_EQ(fancy->GetFixedHeight(), 20);
    EXPECT_EQ(fancy->GetInterface(L"FANCY"), static_cast<LPVOID>(fancy));
    EXPECT_NE(w.Pm().FindControl(L"insideFancy"), nullptr);
    EXPECT_EQ(w.Pm().FindControl(L"bogus"), nullptr);
    EXPECT_EQ(w.Pm().FindControl(L"insideBogus"), nullptr);
    EXPECT_NE(w.Pm().FindControl(L"plain"), nullptr);
    EXPECT_EQ(w.Get<CContainerUI>(L"root")->GetCount(), 2);
}

TEST_F(BuilderTest, MissingAndMalformedLayoutsGiveNullWithAReason) {
    CDialogBuilder builder;
    EXPECT_EQ(builder.Create(L"nothere.xml"), nullptr);
    EXPECT_NE(builder.GetLastErrorMessage().Find(L"nothere.xml"), -1);
    EXPECT_EQ(builder.Create(L"broken.xml"), nullptr);
    EXPECT_NE(builder.GetLastErrorMessage().Find(L"malformed"), -1);
    // A parent that cannot hold controls gets nothing, and the caller no stray control.
    CButtonUI notAContainer;
    EXPECT_EQ(builder.Create(L"<Label name=\"l\"/>", nullptr, nullptr, nullptr, &notAContainer),
              nullptr);
    EXPECT_NE(builder.GetLastErrorMessage().Find(L"parent"), -1);
    // A window whose layout is missing still opens, empty.
    TestWindow w(L"nothere.xml");
    ASSERT_NE(w.Make(), nullptr);
    EXPECT_EQ(w.Pm().GetRoot(), nullptr);
    EXPECT_EQ(w.initCount, 1);
}

TEST_F(BuilderTest, InlineXmlAndAttributeLists) {
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> tree(
        builder.Create(L"<HorizontalLayout name=\"h\"><Button name=\"b\" pos=\"1,2,31,22\" "
                       L"float=\"true\"/></HorizontalLayout>"));
    ASSERT_NE(tree, nullptr);
    auto* b = static_cast<CContainerUI*>(tree.get())->FindSubControl(L"b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetFixedWidth(), 30);
    EXPECT_EQ(b->GetFixedHeight(), 20);
    EXPECT_EQ(b->GetFixedXY().cx, 1);
    b->SetAttributeList(L"text=\"甲\" tooltip='乙' userdata=\"丙\" bogus=\"ignored\"");
    EXPECT_EQ(b->GetText().str(), L"甲");
    EXPECT_EQ(b->GetToolTip().str(), L"乙");
    EXPECT_EQ(b->GetUserData().str(), L"丙");
    // The same builder builds the loaded layout again.
    std::unique_ptr<CControlUI> again(builder.Create());
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again.get(), tree.get());
}

namespace {

// A control class of the program's own, known to layouts by its registration.
class CGaugeUI : public CLabelUI {
public:
    LPCTSTR GetClass() const override { return L"GaugeUI"; }
};
UILIB_REGISTER_CONTROL(L"Gauge", CGaugeUI);

class CDialUI : public CLabelUI {
public:
    LPCTSTR GetClass() const override { return L"DialUI"; }
};

// Answers "Gauge" with a fancy control, as a window's CreateControl may.
class GaugeCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCTSTR cls) override {
        return EqualsNoCase(cls, L"Gauge") ? new CFancyUI : nullptr;
    }
};

std::unique_ptr<CControlUI> MakeDial() {
    return std::make_unique<CDialUI>();
}
std::unique_ptr<CControlUI> MakeGauge() {
    return std::make_unique<CGaugeUI>();
}

LPCTSTR ClassOfItem(CControlUI* tree, int index) {
    CControlUI* item = static_cast<CContainerUI*>(tree)->GetItemAt(index);
    return item ? item->GetClass() : L"";
}

}  // namespace

TEST_F(BuilderTest, RegisteredClassesAreBuiltByNameAndTheWindowsCallbackComesFirst) {
    EXPECT_TRUE(IsControlClassRegistered(L"AnimationTabLayout"));
    EXPECT_TRUE(IsControlClassRegistered(L"Gauge"));
    EXPECT_FALSE(IsControlClassRegistered(L"gauge"));  // element names compare exactly
    EXPECT_EQ(CreateRegisteredControl(L"Unknown"), nullptr);
    EXPECT_FALSE(RegisterControlClass(L"", MakeDial));
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> tree(builder.Create(
        L"<VerticalLayout><Gauge name=\"g\" text=\"3\"/><Unknown name=\"u\"/></VerticalLayout>"));
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(static_cast<CContainerUI*>(tree.get())->GetCount(), 1);
    EXPECT_STREQ(ClassOfItem(tree.get(), 0), L"GaugeUI");
    EXPECT_EQ(static_cast<CContainerUI*>(tree.get())->GetItemAt(0)->GetText().str(), L"3");
    // The window's callback decides before the registry.
    GaugeCallback callback;
    std::unique_ptr<CControlUI> fancy(builder.Create(&callback));
    EXPECT_STREQ(ClassOfItem(fancy.get(), 0), L"FancyUI");
    // A new registration of a name replaces the old one.
    ASSERT_TRUE(RegisterControlClass(L"Gauge", MakeDial));
    std::unique_ptr<CControlUI> dial(builder.Create());
    RegisterControlClass(L"Gauge", MakeGauge);
    EXPECT_STREQ(ClassOfItem(dial.get(), 0), L"DialUI");
}
