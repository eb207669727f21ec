// Whole runs of the real morvane in an installation that holds a publisher key: a
// signed update installs; anything the key's holder did not sign is refused with
// everything left as it was; a postponed update installs only with its signed manifest.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "UpdateServer.h"
#include "tools/testsupport/WaitFor.h"
#include "updater/PendingList.h"
#include "updater/SignedPending.h"
#include "updater/UpdateSignature.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;
using Files = std::map<std::string, std::string>;

const Files kFiles = {{"a.txt", "new"}, {"Sub/b.bin", "b"}};

// Every file below `folder` with its bytes ("" for a folder), by relative path.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> found;
    if (!fs::exists(folder)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        found[fs::relative(entry.path(), folder).string()] =
            entry.is_regular_file() ? ReadFile(entry.path()) : "";
    return found;
}

class SignedUpdate : public updatertest::UpdateServerTest {
protected:
    void SetUp() override {
        UpdateServerTest::SetUp();
        WriteFile(install_ / "Config" / "UpdateKey.pub", publisher_.PublicPem());
        WriteFile(install_ / "a.txt", "old");
    }

    static std::string Sign(const Ed25519Key& key, const std::string& bytes) {
        return FormatSignatureFile(*key.Sign(bytes));
    }
    // Serves a release: "" for a signature serves none.
    void Release(const std::string& version, const std::string& manifest,
                 const std::string& versionSignature, const std::string& manifestSignature,
                 const Files& files = kFiles) {
        PublishManifest(version, manifest, files);
        if (!versionSignature.empty()) Serve("Version.txt.sig", versionSignature);
        if (!manifestSignature.empty()) Serve("Update.txt.sig", manifestSignature);
    }
    // A release as the key's holder makes it.
    void SignedRelease(const std::string& version, const std::string& manifest) {
        Release(version, manifest, Sign(publisher_, VersionSignedBytes(version)),
                Sign(publisher_, ManifestSignedBytes(std::stoi(version), manifest)));
    }

    const Ed25519Key publisher_ = *Ed25519Key::Generate();
    const Ed25519Key other_ = *Ed25519Key::Generate();
};

TEST_F(SignedUpdate, ASignedTreeInstallsAndEveryFileMustHaveItsSha256) {
    // The signed manifest names another SHA-256 for b.bin (its MD5 is right): the
    // download fails as for a damaged file.
    std::string manifest = ManifestOf(kFiles, true);
    const std::string realSha = ManifestOf({{"b.bin", "b"}}, true);
    const std::string otherSha = ManifestOf({{"b.bin", "x"}}, true);
    const auto shaIn = [](const std::string& text) {
        const size_t at = text.find("\"SHA256\":\"") + 10;
        return text.substr(at, 64);
    };
    manifest.replace(manifest.find(shaIn(realSha)), 64, shaIn(otherSha));
    SignedRelease("101", manifest);
    auto result = RunMorvane();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("SHA-256"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "old");
    EXPECT_FALSE(fs::exists(install_ / "Sub"));
    EXPECT_FALSE(fs::exists(staging_));
    EXPECT_EQ(UserKey("Version", "Ver"), "100");

    SignedRelease("101", ManifestOf(kFiles, true));
    result = RunMorvane();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ASSERT_TRUE(WaitForClientStarts(1)) << result.err;
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "new");
    EXPECT_EQ(ReadFile(install_ / "Sub" / "b.bin"), "b");
    EXPECT_EQ(UserKey("Version", "Ver"), "101");
    const std::vector<std::string> requests = ChannelRequests();
    for (const char* path : {"GET Version.txt.sig", "GET Update.txt.sig"})
        EXPECT_NE(std::find(requests.begin(), requests.end(), path), requests.end()) << path;
    EXPECT_TRUE(testsupport::WaitFor([&] { return !fs::exists(staging_); }));
}

TEST_F(SignedUpdate, AnythingTheKeyDidNotSignIsRefusedLeavingEverythingAsItWas) {
    const std::string good = ManifestOf(kFiles, true);
    const std::string evil = ManifestOf({{"a.txt", "evil"}}, true);
    const std::string v101 = Sign(publisher_, VersionSignedBytes("101"));
    const std::string m101 = Sign(publisher_, ManifestSignedBytes(101, good));
    struct Case {
        const char* name;
        std::function<void()> publish;
        const char* why;  // in the debug output
    };
    const std::vector<Case> cases = {
        {"Update.txt changed after signing",
         [&] {
             Release("101", evil, v101, m101, {{"a.txt", "evil"}});
         },
         "Update.txt.sig does not match"},
        {"Version.txt changed after signing",
         [&] { Release("102", good, v101, Sign(publisher_, ManifestSignedBytes(102, good))); },
         "Version.txt.sig does not match"},
        {"signed with another key",
         [&] {
             Release("101", good, Sign(other_, VersionSignedBytes("101")),
                     Sign(other_, ManifestSignedBytes(101, good)));
         },
         "Version.txt.sig does not match"},
        {"no Version.txt.sig", [&] { Release("101", good, "", m101); },
         "Version.txt.sig is missing"},
        {"no Update.txt.sig", [&] { Release("101", good, v101, ""); }, "Update.txt.sig is missing"},
        {"a truncated signature", [&] { Release("101", good, v101, m101.substr(0, 60)); },
         "Update.txt.sig is not a signature file"},
        {"an old signed manifest served with a newer Version.txt",
         [&] { Release("102", good, Sign(publisher_, VersionSignedBytes("102")), m101); },
         "Update.txt.sig does not match"},
        {"a signed manifest with MD5 digests only",
         [&] { SignedRelease("101", ManifestOf(kFiles)); }, "no SHA-256 digest"},
        {"an installation key that is no public key",
         [&] {
             WriteFile(install_ / "Config" / "UpdateKey.pub", publisher_.PrivatePem());
             SignedRelease("101", good);
         },
         "holds no Ed25519 public key"},
    };

    // A download abandoned by an earlier run stays as it is.
    WriteFile(staging_ / "a.txt", "abc");
    UpdateItem staged, missing;
    staged.localPath = (staging_ / "a.txt").string();
    staged.md5 = "900150983cd24fb0d6963f7d28e17f72";
    missing.localPath = (staging_ / "b.txt").string();
    missing.md5 = staged.md5;
    WritePendingList((staging_ / "UpdateLst.cfg").string(), {staged, missing});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.publish();
        const auto installation = Snapshot(install_);
        const auto staging = Snapshot(staging_);
        const auto result = RunMorvane();
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.err.find(c.why), std::string::npos) << result.err;
        EXPECT_EQ(Snapshot(install_), installation);
        EXPECT_EQ(Snapshot(staging_), staging);
        EXPECT_EQ(UserKey("Version", "Ver"), "100");
        WriteFile(install_ / "Config" / "UpdateKey.pub", publisher_.PublicPem());
    }
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "old");
    EXPECT_TRUE(ClientStarts().empty());
}

TEST_F(SignedUpdate, AStagedUpdateInstallsOnlyWithItsSignedManifest) {
    const std::string manifest = ManifestOf({{"a.txt", "abc"}}, true);
    WriteFile(staging_ / "a.txt", "abc");
    WriteFile(staging_ / "b.txt", "abc");
    UpdateItem a;
    a.localPath = (staging_ / "a.txt").string();
    a.md5 = "900150983cd24fb0d6963f7d28e17f72";
    a.sha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    UpdateItem b = a;
    b.localPath = (staging_ / "b.txt").string();
    const std::string pendingList = (staging_ / "UpdateLst.cfg").string();
    server_.Stop();

    // Without the signed manifest, or with an entry it does not name, nothing is
    // installed, neither by a check nor by the install step started directly.
    WritePendingList(pendingList, {a});
    auto result = RunMorvane();
    EXPECT_NE(result.err.find("no signed manifest"), std::string::npos) << result.err;
    WriteSignedUpdate(
        SignedUpdatePath(staging_.string()),
        {"101", FormatSignatureFile(*publisher_.Sign(VersionSignedBytes("101"))), manifest,
         FormatSignatureFile(*publisher_.Sign(ManifestSignedBytes(101, manifest)))});
    WritePendingList(pendingList, {a, b});
    result = RunMorvane();
    EXPECT_NE(result.err.find("b.txt is not a file of the signed manifest"), std::string::npos)
        << result.err;
    EXPECT_EQ(RunMorvane({"copyfile"}).exitCode, 0);
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "old");
    EXPECT_FALSE(fs::exists(install_ / "b.txt"));

    // The list as the verified check wrote it installs without any server.
    WritePendingList(pendingList, {a});
    result = RunMorvane();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(testsupport::WaitFor([&] { return ReadFile(install_ / "a.txt") == "abc"; }))
        << result.err;
    EXPECT_FALSE(fs::exists(install_ / "b.txt"));
}

}  // namespace
