#include "tools/testsupport/IsolatedEnv.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

namespace testsupport {

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) previous_ = old;
    if (value)
        setenv(name_.c_str(), value->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

ScopedEnv::~ScopedEnv() {
    if (previous_)
        setenv(name_.c_str(), previous_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

IsolatedEnv::IsolatedEnv() : root_("trovik-env") {
    for (const char* sub : {"home", "data", "config", "runtime", "tmp"})
        std::filesystem::create_directories(root_.path() / sub);
    chmod((root_.path() / "runtime").c_str(), 0700);
    vars_.push_back(std::make_unique<ScopedEnv>("HOME", home()));
    vars_.push_back(std::make_unique<ScopedEnv>("XDG_DATA_HOME", dataHome()));
    vars_.push_back(std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", configHome()));
    vars_.push_back(std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", runtimeDir()));
    // TMPDIR last: the root itself was made below the previous TMPDIR.
    vars_.push_back(std::make_unique<ScopedEnv>("TMPDIR", tmpDir()));
}

}  // namespace testsupport
