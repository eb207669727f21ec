#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What identifies this installation in a usage report. Fixed for the life of the
// process once the start-up report has been sent.
struct UsageIdentity {
    std::string adapterAddresses;  // "AA:BB:..|..", empty without adapters
    std::string fileVersion;       // "1.0.1.102", empty without a version
    std::string systemName;
    std::string guid;
    std::string chid;
};

// Report types.
constexpr int kUsageReportSearch = 1;   // text: the searched name, ANSI code page
constexpr int kUsageReportStartup = 2;  // text: empty

// A report text longer than this is cut to its first kMaxUsageTextBytes bytes.
constexpr size_t kMaxUsageTextBytes = 1022;
// The whole query never exceeds this many bytes.
constexpr size_t kMaxUsageQueryBytes = 1023;

// Percent-encodes every byte that is not unreserved (ASCII letters, digits, "-._~")
// as "%" and two upper-case hex digits. A space becomes "%20", never "+", so that no
// "+" in a query is left for the server to guess about.
std::string PercentEncodeQueryValue(std::string_view bytes);

// The request's object name:
//   liveness.php?macid=..&ver=..&osver=..&text=..&type=N&guid=..&chid=..
// in this order, every value percent-encoded, so a text holding "&", "#", "=", a line
// break or non-ASCII bytes stays one value that the server decodes back to the same
// bytes. The text is first cut to kMaxUsageTextBytes. When the query would still be
// longer than kMaxUsageQueryBytes, values are shortened, never in the middle of a
// percent group: first the text, then the adapter list (whole adapters are dropped
// from its end), then chid, system name, version and GUID.
std::string BuildUsageQuery(const UsageIdentity& identity, int type, std::string_view text);
