#include "client/core/UpdaterHandOff.h"

#include "client/core/ClientPaths.h"
#include "client/core/MainWindowIdentity.h"
#include "client/core/StartupFlags.h"
#include "platform/CodePage.h"
#include "platform/Folders.h"
#include "platform/Process.h"
#include "platform/ProfileFile.h"

bool StartUpdater(const std::string& executablePath, const std::string& configFile,
                  bool suppressed) {
    const size_t slash = executablePath.rfind('/');
    if (slash == std::string::npos) return true;
    const std::string folder = executablePath.substr(0, slash);
    const std::string updater = folder + "/" + kUpdaterFileName;
    if (!platform::PathExists(updater)) return true;

    platform::WriteProfileString(L"Local", L"WindowText", kMainWindowTitle, configFile);
    platform::WriteProfileString(L"Local", L"ClassText", kMainWindowClass, configFile);
    platform::WriteProfileString(L"Local", L"AppPath", platform::Utf8ToWide(folder), configFile);
    platform::WriteProfileString(L"Local", L"AppFullName", platform::Utf8ToWide(executablePath),
                                 configFile);
    if (suppressed) return true;
    // The client does not wait for the updater; a failed start goes unnoticed.
    platform::StartDetached(updater, {});
    return true;
}

bool StartUpdater() {
    const ClientPaths& paths = ProcessClientPaths();
    return StartUpdater(paths.executablePath, paths.configFile, ProcessStartupFlags().noUpdater);
}
