#include "client/core/UsageIdentity.h"

#include "platform/FileVersion.h"
#include "platform/Identity.h"
#include "platform/ProfileFile.h"

namespace {
constexpr size_t kAdapterTextBytes = 1023;
constexpr size_t kServerHostBytes = 1024;
}  // namespace

std::string CollectAdapterAddresses() {
    return platform::AdapterAddressesText(kAdapterTextBytes);
}

std::string GetFileVersionText(const std::string& path) {
    return platform::FileVersionText(path);
}

std::string GetSystemName() {
    return platform::SystemName();
}

std::string UsageServerHost(const ClientPaths& paths) {
    std::string host =
        platform::ReadProfileString("Stat", "Host", "", paths.autoCfgFile, kServerHostBytes);
    return host.empty() ? std::string(kDefaultUsageServerHost) : host;
}

UsageReportSetup MakeUsageReportSetup(const ClientSettings& settings, const ClientPaths& paths) {
    UsageReportSetup setup;
    setup.identity.adapterAddresses = CollectAdapterAddresses();
    setup.identity.fileVersion = GetFileVersionText("");
    setup.identity.systemName = GetSystemName();
    setup.identity.guid = settings.Guid;
    setup.identity.chid = settings.Chid;
    setup.serverHost = UsageServerHost(paths);
    return setup;
}

UsageReportSetup& ProcessUsageReportSetup() {
    static UsageReportSetup setup;
    return setup;
}

void SetUpUsageReporting() {
    ProcessUsageReportSetup() = MakeUsageReportSetup(ProcessClientSettings(), ProcessClientPaths());
}
