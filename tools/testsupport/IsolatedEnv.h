#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/testsupport/TempDir.h"

namespace testsupport {

// Sets an environment variable for the lifetime of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// A private home for one test: HOME, XDG_DATA_HOME, XDG_CONFIG_HOME,
// XDG_RUNTIME_DIR and TMPDIR all point into one temporary folder.
class IsolatedEnv {
public:
    IsolatedEnv();
    std::string home() const { return root_ / "home"; }
    std::string dataHome() const { return root_ / "data"; }
    std::string configHome() const { return root_ / "config"; }
    std::string runtimeDir() const { return root_ / "runtime"; }
    std::string tmpDir() const { return root_ / "tmp"; }
    const TempDir& root() const { return root_; }

private:
    TempDir root_;
    std::vector<std::unique_ptr<ScopedEnv>> vars_;
};

}  // namespace testsupport
