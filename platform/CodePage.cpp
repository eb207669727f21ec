#include "CodePage.h"

#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace platform {
namespace {

// Owns one iconv conversion descriptor.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts `in`; an input unit that cannot be converted is skipped (`skipUnit`
    // bytes) and `replacement` (already in the target encoding) is written instead.
    std::string Convert(std::string_view in, size_t skipUnit, std::string_view replacement) {
        std::string out;
        out.reserve(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        std::vector<char> chunk(4096);
        while (srcLeft > 0) {
            char* dst = chunk.data();
            size_t dstLeft = chunk.size();
            size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(chunk.data(), chunk.size() - dstLeft);
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (truncated sequence at the end): replace one unit.
            size_t skip = skipUnit < srcLeft ? skipUnit : srcLeft;
            src += skip;
            srcLeft -= skip;
            out.append(replacement);
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
        }
        return out;
    }

private:
    iconv_t cd_;
};

std::string_view AsBytes(std::wstring_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
}

std::wstring FromBytes(const std::string& bytes) {
    std::wstring out(bytes.size() / sizeof(wchar_t), L'\0');
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(wchar_t));
    return out;
}

// wchar_t on Linux holds UTF-32 in the machine's byte order.
constexpr const char* kWideCharset = "WCHAR_T";

std::string WideReplacement() {
    const wchar_t r = 0xFFFD;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

}  // namespace

std::string WideToGb18030(std::wstring_view text) {
    if (text.empty()) return {};
    return Iconv("GB18030", kWideCharset).Convert(AsBytes(text), sizeof(wchar_t), "?");
}

std::wstring Gb18030ToWide(std::string_view bytes) {
    if (bytes.empty()) return {};
    return FromBytes(Iconv(kWideCharset, "GB18030").Convert(bytes, 1, WideReplacement()));
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    return Iconv("UTF-8", kWideCharset).Convert(AsBytes(text), sizeof(wchar_t), "\xEF\xBF\xBD");
}

std::wstring Utf8ToWide(std::string_view bytes) {
    if (bytes.empty()) return {};
    return FromBytes(Iconv(kWideCharset, "UTF-8").Convert(bytes, 1, WideReplacement()));
}

std::string Gb18030ToUtf8(std::string_view bytes) {
    if (bytes.empty()) return {};
    return Iconv("UTF-8", "GB18030").Convert(bytes, 1, "\xEF\xBF\xBD");
}

std::string Utf8ToGb18030(std::string_view bytes) {
    if (bytes.empty()) return {};
    return Iconv("GB18030", "UTF-8").Convert(bytes, 1, "?");
}

}  // namespace platform
