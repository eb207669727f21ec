#pragma once

#include <string>

#include "client/core/ClientPaths.h"
#include "client/core/ClientSettings.h"
#include "client/core/UsageQuery.h"

// The statistics server used when "AutoCfg.cfg" names none in "Stat"/"Host". There
// is no public statistics server: this is the address where the bundled loopback
// dev server (tools/devserver) answers "liveness.php" by default.
inline constexpr char kDefaultUsageServerHost[] = "127.0.0.1:18632";

// The network adapters' link-layer addresses ("AA:BB:CC:DD:EE:FF|..."), at most 1,023
// bytes: adapters that would not fit are left out whole. Empty without adapters.
std::string CollectAdapterAddresses();

// The file version "%d.%d.%d.%d" of a Trovik binary; the running executable when
// `path` is empty; "" when the file carries none.
std::string GetFileVersionText(const std::string& path);

// The operating system's name (e.g. "Debian GNU/Linux 12 (bookworm)").
std::string GetSystemName();

// "AutoCfg.cfg" "Stat"/"Host" (host or host:port) when present and not empty, else
// kDefaultUsageServerHost.
std::string UsageServerHost(const ClientPaths& paths);

// Everything a report needs besides its type and text.
struct UsageReportSetup {
    std::string serverHost;
    UsageIdentity identity;
};

// Computes the identity values (adapters, file version, system name, in this order),
// takes Guid and Chid from the loaded settings, and reads the server address.
UsageReportSetup MakeUsageReportSetup(const ClientSettings& settings, const ClientPaths& paths);

// The running client's setup: filled once on the UI thread by SetUpUsageReporting,
// after LoadSettings and before the start-up report; unchanged afterwards.
UsageReportSetup& ProcessUsageReportSetup();
void SetUpUsageReporting();
