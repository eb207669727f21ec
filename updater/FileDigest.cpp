#include "updater/FileDigest.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <vector>

#include "platform/UniqueFd.h"

namespace {

// Large reads keep the digest of an installation bound by the hash itself, not by calls.
constexpr size_t kReadBytes = 256 * 1024;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsHexOfLength(std::string_view text, size_t length) {
    if (text.size() != length) return false;
    for (char c : text) {
        const char lower = LowerAscii(c);
        if (!((lower >= '0' && lower <= '9') || (lower >= 'a' && lower <= 'f'))) return false;
    }
    return true;
}

// Feeds every byte of the open regular file `fd`, from its current position, to `sink`.
bool ReadEverything(int fd, const std::function<void(const char*, size_t)>& sink) {
    std::vector<char> buffer(kReadBytes);
    while (true) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        sink(buffer.data(), static_cast<size_t>(got));
    }
}

// The file opened for reading when it is a regular file (O_NONBLOCK: opening a pipe
// must not wait for a writer).
platform::UniqueFd OpenRegular(const std::string& path) {
    platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.valid() || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return fd;
}

bool Matches(const std::optional<ExpectedDigest>& actual, const ExpectedDigest& expected) {
    return actual && SameDigest(actual->md5, expected.md5) &&
           (expected.sha256.empty() || SameDigest(actual->sha256, expected.sha256));
}

}  // namespace

struct HexDigest::Context {
    EVP_MD_CTX* ctx = nullptr;
    ~Context() { EVP_MD_CTX_free(ctx); }
};

HexDigest::HexDigest(Kind kind) : context_(std::make_unique<Context>()) {
    context_->ctx = EVP_MD_CTX_new();
    const EVP_MD* md = kind == Kind::kMd5 ? EVP_md5() : EVP_sha256();
    if (context_->ctx && EVP_DigestInit_ex(context_->ctx, md, nullptr) != 1) {
        EVP_MD_CTX_free(context_->ctx);
        context_->ctx = nullptr;
    }
}

HexDigest::~HexDigest() = default;

void HexDigest::Update(const void* data, size_t size) {
    if (context_->ctx && size > 0) EVP_DigestUpdate(context_->ctx, data, size);
}

std::string HexDigest::FinishHex() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!context_->ctx || EVP_DigestFinal_ex(context_->ctx, digest, &length) != 1) return {};
    EVP_MD_CTX_free(context_->ctx);
    context_->ctx = nullptr;
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        text.push_back(kHex[digest[i] >> 4]);
        text.push_back(kHex[digest[i] & 0x0F]);
    }
    return text;
}

void ContentDigest::Update(const void* data, size_t size) {
    md5_.Update(data, size);
    sha256_.Update(data, size);
}

ExpectedDigest ContentDigest::FinishHex() {
    return {md5_.FinishHex(), sha256_.FinishHex()};
}

bool ContentDigest::FinishMatches(const ExpectedDigest& expected) {
    return Matches(FinishHex(), expected);
}

std::string FileMd5Hex(const std::string& path) {
    const platform::UniqueFd fd = OpenRegular(path);
    if (!fd.valid()) return {};
    Md5Digest md5;
    if (!ReadEverything(fd.get(), [&](const char* data, size_t size) { md5.Update(data, size); }))
        return {};
    return md5.FinishHex();
}

namespace {

std::optional<ExpectedDigest> FdDigests(int fd) {
    if (fd < 0 || lseek(fd, 0, SEEK_SET) != 0) return std::nullopt;
    ContentDigest digest;
    if (!ReadEverything(fd, [&](const char* data, size_t size) { digest.Update(data, size); }))
        return std::nullopt;
    return digest.FinishHex();
}

}  // namespace

std::optional<ExpectedDigest> FileDigests(const std::string& path) {
    const platform::UniqueFd fd = OpenRegular(path);
    return fd.valid() ? FdDigests(fd.get()) : std::nullopt;
}

bool FdHasDigest(int fd, const ExpectedDigest& expected) {
    return Matches(FdDigests(fd), expected);
}

bool FileHasDigest(const std::string& path, const ExpectedDigest& expected) {
    return Matches(FileDigests(path), expected);
}

bool IsMd5Hex(std::string_view text) {
    return IsHexOfLength(text, 32);
}

bool IsSha256Hex(std::string_view text) {
    return IsHexOfLength(text, 64);
}

bool IsExpectedDigest(const ExpectedDigest& expected) {
    return IsMd5Hex(expected.md5) && (expected.sha256.empty() || IsSha256Hex(expected.sha256));
}

bool SameDigest(std::string_view a, std::string_view b) {
    if (a.empty() || a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}
