#include <gtest/gtest.h>

#include <string>

#include "uilib/src/builder/LayoutParser.h"

using UiLib::detail::kMaxLayoutDepth;
using UiLib::detail::LayoutNode;
using UiLib::detail::ParseLayout;

namespace {

std::string Nested(int depth) {
    std::string xml;
    for (int i = 0; i < depth; ++i) xml += "<Container>";
    for (int i = 0; i < depth; ++i) xml += "</Container>";
    return xml;
}

}  // namespace

TEST(LayoutParser, ElementsAttributesInOrderAndDecodedText) {
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<!-- the window -->\n"
        "<Window size=\"240,120\" caption=\"0,0,0,30\">\n"
        "  <Default name=\"Button\" value=\"textcolor=&quot;#FF333333&quot; "
        "font=&quot;1&quot;\"/>\n"
        "  text between elements is dropped\n"
        "  <VerticalLayout><Label name=\"lbl\" text=\"你好 &amp; "
        "再见\"/><Button/></VerticalLayout>\n"
        "</Window>\n"
        "<Window name=\"second\"/>";
    LayoutNode root;
    std::wstring error;
    ASSERT_TRUE(ParseLayout(xml, &root, &error)) << std::string(error.begin(), error.end());
    EXPECT_EQ(root.name, L"Window");
    ASSERT_EQ(root.attrs.size(), 2u);
    EXPECT_EQ(root.attrs[0], (std::pair<std::wstring, std::wstring>{L"size", L"240,120"}));
    EXPECT_EQ(root.attrs[1].first, L"caption");
    ASSERT_EQ(root.children.size(), 2u);
    ASSERT_NE(root.children[0].Attr(L"value"), nullptr);
    EXPECT_EQ(*root.children[0].Attr(L"value"), L"textcolor=\"#FF333333\" font=\"1\"");
    EXPECT_EQ(root.children[0].Attr(L"Value"), nullptr);  // names compare exactly
    const LayoutNode& layout = root.children[1];
    ASSERT_EQ(layout.children.size(), 2u);
    EXPECT_EQ(*layout.children[0].Attr(L"text"), L"你好 & 再见");
    EXPECT_EQ(layout.children[1].name, L"Button");
    EXPECT_TRUE(layout.children[1].attrs.empty());
}

TEST(LayoutParser, BrokenEmptyAndTooDeepLayoutsAreRefusedWithAReason) {
    LayoutNode root;
    root.name = L"untouched";
    std::wstring error;
    EXPECT_FALSE(ParseLayout("<Window>\n  <Label text=\"x\">\n</Window>", &root, &error));
    EXPECT_NE(error.find(L"malformed"), std::wstring::npos);
    EXPECT_NE(error.find(L"line 3"), std::wstring::npos);
    EXPECT_EQ(root.name, L"untouched");
    EXPECT_FALSE(ParseLayout("<?xml version=\"1.0\"?><!-- nothing -->", &root, &error));
    EXPECT_NE(error.find(L"no element"), std::wstring::npos);
    EXPECT_FALSE(ParseLayout("", &root, &error));
    EXPECT_FALSE(ParseLayout(Nested(kMaxLayoutDepth + 1), &root, &error));
    EXPECT_NE(error.find(L"deeper"), std::wstring::npos);
    EXPECT_EQ(root.name, L"untouched");
    ASSERT_TRUE(ParseLayout(Nested(kMaxLayoutDepth), &root, &error));
    int depth = 1;
    for (const LayoutNode* n = &root; !n->children.empty(); n = &n->children[0]) ++depth;
    EXPECT_EQ(depth, kMaxLayoutDepth);
}
