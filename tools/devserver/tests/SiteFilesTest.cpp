#include "tools/devserver/SiteFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tools/testsupport/TempDir.h"

namespace devserver {
namespace {

using testsupport::TempDir;
using testsupport::WriteFile;

class SiteFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(root_.path() / "site" / "index.html", "home");
        WriteFile(root_.path() / "site" / "search_%C9%F1" / "index.html", "gbk keyword");
        WriteFile(root_.path() / "site" / "detail" / "1.html", "detail");
        WriteFile(root_.path() / "secret.txt", "outside");
    }
    std::string site() const { return root_ / "site"; }
    TempDir root_;
};

TEST_F(SiteFilesTest, MapsRawPathsBelowTheRoot) {
    EXPECT_EQ(ResolveFile(site(), "/"), site() + "/index.html");
    EXPECT_EQ(ResolveFile(site(), "/detail/1.html?x=1&y=2"), site() + "/detail/1.html");
    // Percent-encoding stays as it is: the folder is named with the encoded bytes.
    EXPECT_EQ(ResolveFile(site(), "/search_%C9%F1/"), site() + "/search_%C9%F1/index.html");
    EXPECT_EQ(ResolveFile(site(), "/search_%c9%f1/"), std::nullopt);
}

TEST_F(SiteFilesTest, RefusesWhatIsNotAFileBelowTheRoot) {
    EXPECT_EQ(ResolveFile(site(), "/detail"), std::nullopt);         // a folder
    EXPECT_EQ(ResolveFile(site(), "/detail/2.html"), std::nullopt);  // missing
    EXPECT_EQ(ResolveFile(site(), "detail/1.html"), std::nullopt);   // not rooted
    EXPECT_EQ(ResolveFile(site(), "/../secret.txt"), std::nullopt);
    EXPECT_EQ(ResolveFile(site(), "/detail/../../secret.txt"), std::nullopt);
    EXPECT_EQ(ResolveFile(site(), "/./index.html"), std::nullopt);
    EXPECT_EQ(ResolveFile(site(), std::string("/index.html\0x", 13)), std::nullopt);
}

TEST_F(SiteFilesTest, RefusesSymbolicLinksLeadingOutOfTheRoot) {
    std::filesystem::create_symlink(root_.path() / "secret.txt",
                                    root_.path() / "site" / "link.txt");
    std::filesystem::create_directory_symlink(root_.path(), root_.path() / "site" / "up");
    std::filesystem::create_symlink(root_.path() / "site" / "detail" / "1.html",
                                    root_.path() / "site" / "inside.html");
    EXPECT_EQ(ResolveFile(site(), "/link.txt"), std::nullopt);
    EXPECT_EQ(ResolveFile(site(), "/up/secret.txt"), std::nullopt);
    EXPECT_EQ(ResolveFile(site(), "/inside.html"), site() + "/detail/1.html");
}

TEST(SiteFiles, RewritesTheDefaultAddressOnly) {
    EXPECT_EQ(RewriteHost("a http://127.0.0.1:18632/x 127.0.0.1:18632", "127.0.0.1:4000"),
              "a http://127.0.0.1:4000/x 127.0.0.1:4000");
    EXPECT_EQ(RewriteHost("127.0.0.1:186320", "127.0.0.1:18632"), "127.0.0.1:186320");
    EXPECT_EQ(ContentTypeFor("a/b.html"), "text/html; charset=gbk");
    EXPECT_EQ(ContentTypeFor("a/b.png"), "image/png");
}

}  // namespace
}  // namespace devserver
