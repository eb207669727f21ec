#include "client/core/UsageReport.h"

#include <system_error>
#include <thread>

#include "common/HttpGetText.h"

void SendUsageReport(const UsageReportSetup& setup, int type, std::string_view text) {
    try {
        std::thread([setup, type, text = std::string(text.substr(0, kMaxUsageTextBytes))] {
            // The server answers "ok"; nothing depends on the answer, and nothing that
            // goes wrong here may end the program.
            try {
                HttpGetText(setup.serverHost, BuildUsageQuery(setup.identity, type, text));
            } catch (...) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread could be started: the report is dropped like a failed one.
    }
}

void SendUsageReport(int type, std::string_view text) {
    SendUsageReport(ProcessUsageReportSetup(), type, text);
}
