#pragma once

// A sample update server on the loopback interface and a private installation that
// points at it, for whole runs of the real `morvane`: the installation holds a copy
// of build/bin/morvane, "Config/AutoCfg.cfg" naming the server, and a stand-in client
// "trovik" (a script that records each start with its arguments in client.log); the
// user's "Config.cfg" carries the hand-off keys naming that installation.

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "tools/testsupport/ChildPrograms.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/LoopbackServer.h"

namespace updatertest {

class UpdateServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The files the channel serves and lists in its manifest ("Update.txt"), by path
    // below the manifest root, and the text of "Version.txt".
    void Publish(const std::string& version, const std::map<std::string, std::string>& files);
    // The same with the manifest's text given; forgets every path given to Serve.
    void PublishManifest(const std::string& version, const std::string& manifest,
                         const std::map<std::string, std::string>& files);
    // The manifest listing `files` with their MD5 (and with `sha256` their SHA-256).
    static std::string ManifestOf(const std::map<std::string, std::string>& files,
                                  bool sha256 = false);
    // Serves `bytes` at `path` below the channel (a signature, for example).
    void Serve(const std::string& path, const std::string& bytes);
    // Paths answered 404, or with other bytes than the manifest's digest says.
    void Fail(const std::string& path);
    void Corrupt(const std::string& path);
    // "Version.txt" is not answered until Release (or the end of the test).
    void Hold();
    void Release();

    // Runs the installation's morvane (with TROVIK_DEBUG=1, off screen) to its end.
    testsupport::ProgramResult RunMorvane(const std::vector<std::string>& args = {},
                                          const std::vector<std::string>& env = {});
    // Requests for files of the channel, "METHOD path" with the path below the channel.
    std::vector<std::string> ChannelRequests() const;
    // The stand-in client's starts ("start" and its arguments), waiting for `count`.
    bool WaitForClientStarts(size_t count);
    std::vector<std::string> ClientStarts() const;

    void SetUserKey(const std::string& section, const std::string& key, const std::string& value);
    std::string UserKey(const std::string& section, const std::string& key) const;

    std::filesystem::path install_;  // the private installation
    std::filesystem::path data_;     // $XDG_DATA_HOME/Trovik
    std::filesystem::path staging_;  // data_ / "UpdateDir"
    std::string userConfig_;         // data_ / "Config/Config.cfg"
    testsupport::IsolatedEnv env_;
    testsupport::LoopbackServer server_;

private:
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
    std::string version_;
    std::string manifest_;
    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> extra_;
    std::set<std::string> failing_;
    std::set<std::string> corrupt_;
};

}  // namespace updatertest
