#pragma once

#include <memory>
#include <string>
#include <string_view>

// MD5 digests (RFC 1321) through OpenSSL's EVP interface, written as 32 lowercase
// hexadecimal digits, as the manifests carry them.

// An MD5 computation fed piece by piece.
class Md5Digest {
public:
    Md5Digest();
    ~Md5Digest();
    Md5Digest(const Md5Digest&) = delete;
    Md5Digest& operator=(const Md5Digest&) = delete;

    void Update(const void* data, size_t size);
    // The digest of everything fed so far; the object is finished afterwards.
    std::string FinishHex();

private:
    struct Context;
    std::unique_ptr<Context> context_;
};

// The digest of the file's bytes, or "" when it cannot be opened or is not a
// regular file (a pipe or device would never end or never match).
std::string FileMd5Hex(const std::string& path);

// True when `text` is a digest: 32 hexadecimal digits (either case).
bool IsMd5Hex(std::string_view text);

// Whether two digests name the same bytes: equal ignoring the case of the letters.
bool SameMd5(std::string_view a, std::string_view b);
