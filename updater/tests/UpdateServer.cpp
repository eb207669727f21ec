#include "updater/tests/UpdateServer.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/ProfileFile.h"
#include "tools/testsupport/WaitFor.h"
#include "updater/FileDigest.h"
#include "updater/ManifestJson.h"

#include <sstream>

namespace updatertest {

namespace fs = std::filesystem;
constexpr char kChannel[] = "/update/Trovik/stable/";

namespace {

// Adds `path` (below `node`) to a manifest tree.
void AddToManifest(Json::Value& node, const std::string& path, const ExpectedDigest& digest) {
    const size_t slash = path.find('/');
    if (slash == std::string::npos) {
        Json::Value file;
        file["name"] = path;
        file["MD5"] = digest.md5;
        if (!digest.sha256.empty()) file["SHA256"] = digest.sha256;
        node["files"].append(file);
        return;
    }
    const std::string folder = path.substr(0, slash);
    for (Json::Value& child : node["subdirs"])
        if (child["name"].asString() == folder)
            return AddToManifest(child, path.substr(slash + 1), digest);
    Json::Value child;
    child["name"] = folder;
    AddToManifest(child, path.substr(slash + 1), digest);
    node["subdirs"].append(child);
}

}  // namespace

void UpdateServerTest::SetUp() {
    server_.server().Get(R"(/update/Trovik/stable/(.*))", [this](const httplib::Request& req,
                                                                 httplib::Response& res) {
        const std::string path = req.matches[1];
        std::unique_lock<std::mutex> lock(mutex_);
        if (path == "Version.txt") {
            released_.wait_for(lock, std::chrono::seconds(20), [this] { return !held_; });
            res.set_content(version_, "text/plain");
        } else if (path == "Update.txt") {
            res.set_content(manifest_, "text/plain");
        } else if (extra_.count(path)) {
            res.set_content(extra_[path], "text/plain");
        } else if (failing_.count(path) || !files_.count(path)) {
            res.status = 404;
        } else {
            res.set_content(corrupt_.count(path) ? files_[path] + "!" : files_[path],
                            "application/octet-stream");
        }
    });
    server_.Start();

    const fs::path root = env_.root().path();
    install_ = root / "install";
    data_ = fs::path(env_.dataHome()) / "Trovik";
    staging_ = data_ / "UpdateDir";
    userConfig_ = (data_ / "Config" / "Config.cfg").string();
    fs::create_directories(install_ / "Config");
    fs::create_directories(data_ / "Config");
    fs::copy_file(testsupport::BinPath("morvane"), install_ / "morvane");
    testsupport::WriteFile(install_ / "Config" / "AutoCfg.cfg",
                           "[UpdateServer]\r\nHost=" + server_.url("/update") +
                               "\r\nAppName=Trovik\r\nChannel=stable\r\n");
    testsupport::WriteFile(install_ / "trovik", "#!/bin/sh\necho \"start $*\" >> '" +
                                                    (root / "client.log").string() + "'\n");
    fs::permissions(install_ / "trovik", fs::perms(0755));
    SetUserKey("Local", "WindowText", "Trovik");
    SetUserKey("Local", "ClassText", "TrovikarClient");
    SetUserKey("Local", "AppPath", install_.string());
    SetUserKey("Local", "AppFullName", (install_ / "trovik").string());
    SetUserKey("Local", "ImmediateUpdate", "1");
    SetUserKey("Version", "Ver", "100");
}

void UpdateServerTest::TearDown() {
    Release();
    server_.Stop();
}

std::string UpdateServerTest::ManifestOf(const std::map<std::string, std::string>& files,
                                         bool sha256) {
    Json::Value root;
    root["name"] = "Trovik";
    for (const auto& [path, bytes] : files) {
        ContentDigest digest;
        digest.Update(bytes.data(), bytes.size());
        ExpectedDigest digests = digest.FinishHex();
        if (!sha256) digests.sha256.clear();
        AddToManifest(root, path, digests);
    }
    return WriteFastJson(root);
}

void UpdateServerTest::Publish(const std::string& version,
                               const std::map<std::string, std::string>& files) {
    PublishManifest(version, ManifestOf(files), files);
}

void UpdateServerTest::PublishManifest(const std::string& version, const std::string& manifest,
                                       const std::map<std::string, std::string>& files) {
    std::lock_guard<std::mutex> lock(mutex_);
    version_ = version;
    files_ = files;
    manifest_ = manifest;
    extra_.clear();
}

void UpdateServerTest::Serve(const std::string& path, const std::string& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    extra_[path] = bytes;
}

void UpdateServerTest::Fail(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    failing_.insert(path);
}

void UpdateServerTest::Corrupt(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    corrupt_.insert(path);
}

void UpdateServerTest::Hold() {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = true;
}

void UpdateServerTest::Release() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = false;
    }
    released_.notify_all();
}

testsupport::ProgramResult UpdateServerTest::RunMorvane(const std::vector<std::string>& args,
                                                        const std::vector<std::string>& env) {
    std::vector<std::string> fullEnv = {"TROVIK_DEBUG=1", "QT_QPA_PLATFORM=offscreen"};
    fullEnv.insert(fullEnv.end(), env.begin(), env.end());
    return testsupport::RunProgram((install_ / "morvane").string(), args, fullEnv,
                                   std::chrono::seconds(60));
}

std::vector<std::string> UpdateServerTest::ChannelRequests() const {
    std::vector<std::string> found;
    for (const std::string& line : server_.requests()) {
        const size_t at = line.find(kChannel);
        if (at != std::string::npos)
            found.push_back(line.substr(0, line.find(' ') + 1) +
                            line.substr(at + sizeof kChannel - 1));
    }
    return found;
}

std::vector<std::string> UpdateServerTest::ClientStarts() const {
    std::vector<std::string> lines;
    std::istringstream in(testsupport::ReadFile(fs::path(env_.root().path()) / "client.log"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool UpdateServerTest::WaitForClientStarts(size_t count) {
    return testsupport::WaitFor([&] { return ClientStarts().size() >= count; });
}

void UpdateServerTest::SetUserKey(const std::string& section, const std::string& key,
                                  const std::string& value) {
    ASSERT_TRUE(platform::WriteProfileString(section, key, value, userConfig_));
}

std::string UpdateServerTest::UserKey(const std::string& section, const std::string& key) const {
    return platform::ReadProfileString(section, key, "<none>", userConfig_);
}

}  // namespace updatertest
