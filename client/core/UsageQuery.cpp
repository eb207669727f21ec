#include "client/core/UsageQuery.h"

#include <array>

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

size_t EncodedLength(std::string_view bytes) {
    size_t length = 0;
    for (char ch : bytes) length += IsUnreserved(static_cast<unsigned char>(ch)) ? 1 : 3;
    return length;
}

// The longest prefix of `bytes` whose encoding fits in `budget` bytes.
std::string_view FittingPrefix(std::string_view bytes, size_t budget) {
    size_t used = 0;
    size_t count = 0;
    for (char ch : bytes) {
        const size_t width = IsUnreserved(static_cast<unsigned char>(ch)) ? 1 : 3;
        if (used + width > budget) break;
        used += width;
        ++count;
    }
    return bytes.substr(0, count);
}

// The longest run of whole adapters ("A|B|C" -> "A|B", "A", "") that fits in `budget`.
std::string_view FittingAdapters(std::string_view adapters, size_t budget) {
    if (EncodedLength(adapters) <= budget) return adapters;
    std::string_view best;
    for (size_t bar = adapters.find('|'); bar != std::string_view::npos;
         bar = adapters.find('|', bar + 1)) {
        const std::string_view candidate = adapters.substr(0, bar);
        if (EncodedLength(candidate) > budget) break;
        best = candidate;
    }
    return best;
}

}  // namespace

std::string PercentEncodeQueryValue(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(EncodedLength(bytes));
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string BuildUsageQuery(const UsageIdentity& identity, int type, std::string_view text) {
    enum Field { kMacid, kVer, kOsver, kText, kGuid, kChid, kFieldCount };
    std::array<std::string_view, kFieldCount> values = {
        identity.adapterAddresses,          identity.fileVersion, identity.systemName,
        text.substr(0, kMaxUsageTextBytes), identity.guid,        identity.chid};

    const std::string typeText = std::to_string(type);
    constexpr std::string_view kNames[kFieldCount] = {
        "liveness.php?macid=", "&ver=", "&osver=", "&text=", "&guid=", "&chid="};
    size_t fixedLength = typeText.size() + std::string_view("&type=").size();
    for (auto name : kNames) fixedLength += name.size();

    size_t total = fixedLength;
    for (auto value : values) total += EncodedLength(value);

    // Shorten values in this order until the query fits.
    constexpr Field kCutOrder[] = {kText, kMacid, kChid, kOsver, kVer, kGuid};
    for (Field field : kCutOrder) {
        if (total <= kMaxUsageQueryBytes) break;
        const size_t current = EncodedLength(values[field]);
        const size_t over = total - kMaxUsageQueryBytes;
        const size_t budget = current > over ? current - over : 0;
        values[field] = field == kMacid ? FittingAdapters(values[field], budget)
                                        : FittingPrefix(values[field], budget);
        total = total - current + EncodedLength(values[field]);
    }

    std::string query;
    query.reserve(total);
    for (int field = 0; field < kFieldCount; ++field) {
        query += kNames[field];
        query += PercentEncodeQueryValue(values[field]);
        if (field == kText) query += "&type=" + typeText;
    }
    return query;
}
