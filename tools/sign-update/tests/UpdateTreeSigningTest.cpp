// Signing an update tree: only a consistent tree is signed; the signed tree verifies
// with the key's public half and with nothing else, and not once a file changed.

#include <gtest/gtest.h>

#include "tools/testsupport/TempDir.h"
#include "tools/sign-update/UpdateTreeSigning.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

TEST(UpdateTreeSigning, SignsAConsistentTreeThatThenVerifiesUntilAFileChanges) {
    testsupport::TempDir tree;
    WriteFile(tree.path() / "Version.txt", "103\r\n");
    WriteFile(tree.path() / "a.txt", "abc");
    WriteFile(tree.path() / "Sub" / "b.txt", "");
    WriteFile(tree.path() / "Update.txt",
              R"({"files":[{"MD5":"900150983cd24fb0d6963f7d28e17f72","name":"a.txt"}],)"
              R"("name":"Trovik","subdirs":[{"files":[{"MD5":"d41d8cd98f00b204e9800998ecf8427e",)"
              R"("name":"b.txt"}],"name":"Sub"}]})"
              "\n");
    const Ed25519Key key = *Ed25519Key::Generate();
    const PublisherKey publicKey(Ed25519Key::FromPublicPem(key.PublicPem()));
    std::string problem;

    // A listed file whose bytes differ from its MD5: nothing is signed or changed.
    WriteFile(tree.path() / "a.txt", "abd");
    const std::string unsigned_ = ReadFile(tree.path() / "Update.txt");
    EXPECT_FALSE(SignUpdateTree(tree.path(), key, &problem));
    EXPECT_NE(problem.find("a.txt does not have the manifest's MD5"), std::string::npos) << problem;
    EXPECT_EQ(ReadFile(tree.path() / "Update.txt"), unsigned_);
    EXPECT_FALSE(std::filesystem::exists(tree.path() / "Update.txt.sig"));
    EXPECT_FALSE(VerifyUpdateTree(tree.path(), publicKey, &problem));

    WriteFile(tree.path() / "a.txt", "abc");
    ASSERT_TRUE(SignUpdateTree(tree.path(), key, &problem)) << problem;
    EXPECT_EQ(ReadFile(tree.path() / "Update.txt"),
              R"({"files":[{"MD5":"900150983cd24fb0d6963f7d28e17f72","SHA256":)"
              R"("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",)"
              R"("name":"a.txt"}],"name":"Trovik","subdirs":[{"files":[{"MD5":)"
              R"("d41d8cd98f00b204e9800998ecf8427e","SHA256":)"
              R"("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",)"
              R"("name":"b.txt"}],"name":"Sub"}]})"
              "\n");
    EXPECT_TRUE(VerifyUpdateTree(tree.path(), publicKey, &problem)) << problem;
    EXPECT_TRUE(
        publicKey.VerifyVersion("103\r\n", ReadFile(tree.path() / "Version.txt.sig"), &problem));
    EXPECT_TRUE(publicKey.VerifyManifest(103, ReadFile(tree.path() / "Update.txt"),
                                         ReadFile(tree.path() / "Update.txt.sig"), &problem));

    const PublisherKey otherKey(Ed25519Key::FromPublicPem(Ed25519Key::Generate()->PublicPem()));
    EXPECT_FALSE(VerifyUpdateTree(tree.path(), otherKey, &problem));
    WriteFile(tree.path() / "Sub" / "b.txt", "x");
    EXPECT_FALSE(VerifyUpdateTree(tree.path(), publicKey, &problem));
    EXPECT_NE(problem.find("b.txt is missing or does not have"), std::string::npos) << problem;
}

}  // namespace
