#pragma once

#include <string_view>

#include "client/core/UsageIdentity.h"

// Sends one usage report ("liveness.php", see BuildUsageQuery) on a thread of its own
// and returns at once: the thread works on copies of the setup and of the text (cut
// to kMaxUsageTextBytes), is never joined, and its answer changes nothing. A report
// that fails is lost silently.
void SendUsageReport(const UsageReportSetup& setup, int type, std::string_view text);

// The same with the running client's setup (ProcessUsageReportSetup).
void SendUsageReport(int type, std::string_view text);
