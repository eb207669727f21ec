#include "updater/FileDigest.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/UniqueFd.h"

namespace {

// Large reads keep the digest of an installation bound by MD5 itself, not by calls.
constexpr size_t kReadBytes = 256 * 1024;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

struct Md5Digest::Context {
    EVP_MD_CTX* ctx = nullptr;
    ~Context() { EVP_MD_CTX_free(ctx); }
};

Md5Digest::Md5Digest() : context_(std::make_unique<Context>()) {
    context_->ctx = EVP_MD_CTX_new();
    if (context_->ctx && EVP_DigestInit_ex(context_->ctx, EVP_md5(), nullptr) != 1) {
        EVP_MD_CTX_free(context_->ctx);
        context_->ctx = nullptr;
    }
}

Md5Digest::~Md5Digest() = default;

void Md5Digest::Update(const void* data, size_t size) {
    if (context_->ctx && size > 0) EVP_DigestUpdate(context_->ctx, data, size);
}

std::string Md5Digest::FinishHex() {
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

std::string FileMd5Hex(const std::string& path) {
    // O_NONBLOCK: opening a pipe must not wait for a writer.
    platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) return {};
    struct stat info {};
    if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    Md5Digest md5;
    std::vector<char> buffer(kReadBytes);
    while (true) {
        const ssize_t got = read(fd.get(), buffer.data(), buffer.size());
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return {};
        }
        md5.Update(buffer.data(), static_cast<size_t>(got));
    }
    return md5.FinishHex();
}

bool IsMd5Hex(std::string_view text) {
    if (text.size() != 32) return false;
    for (char c : text) {
        const char lower = LowerAscii(c);
        if (!((lower >= '0' && lower <= '9') || (lower >= 'a' && lower <= 'f'))) return false;
    }
    return true;
}

bool SameMd5(std::string_view a, std::string_view b) {
    if (a.empty() || a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}
