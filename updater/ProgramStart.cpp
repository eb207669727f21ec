#include "updater/ProgramStart.h"

#include "platform/DebugLog.h"
#include "updater/UpdaterConfig.h"

bool RunProgram(const std::string& file, const std::vector<std::string>& parameters) {
    // An empty name finds no program: false.
    return platform::StartDetached(file, parameters);
}

platform::ElevatedStart RunAsAdmin(const std::string& file,
                                   const std::vector<std::string>& parameters) {
    if (file.empty()) return platform::ElevatedStart::kFileMissing;
    return platform::StartThroughElevation(file, parameters);
}

void RestartClient(const UpdaterConfig& config, bool complete) {
    std::vector<std::string> parameters;
    if (!complete) parameters.push_back("/noupdate");
    if (!RunProgram(config.appFullName, parameters))
        platform::DebugOutput("MS - 无法启动 " + config.appFullName);
}
