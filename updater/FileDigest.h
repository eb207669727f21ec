#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// File digests through OpenSSL's EVP interface, written as lowercase hexadecimal
// digits: MD5 (RFC 1321, 32 digits), which every manifest carries, and SHA-256
// (64 digits), which a signed manifest carries beside it.

// A digest computation fed piece by piece.
class HexDigest {
public:
    enum class Kind { kMd5, kSha256 };
    explicit HexDigest(Kind kind);
    ~HexDigest();
    HexDigest(const HexDigest&) = delete;
    HexDigest& operator=(const HexDigest&) = delete;

    void Update(const void* data, size_t size);
    // The digest of everything fed so far; the object is finished afterwards.
    std::string FinishHex();

private:
    struct Context;
    std::unique_ptr<Context> context_;
};

class Md5Digest : public HexDigest {
public:
    Md5Digest() : HexDigest(Kind::kMd5) {}
};

// The digests a file must have: the manifest's MD5, and its SHA-256 when it names one
// ("" when it does not: then MD5 alone decides).
struct ExpectedDigest {
    std::string md5;
    std::string sha256;
};

// Both digests of the same bytes, computed in one pass.
class ContentDigest {
public:
    void Update(const void* data, size_t size);
    // Both digests of the bytes fed; the object is finished afterwards.
    ExpectedDigest FinishHex();
    // True when the bytes fed have the expected MD5 and, when one is expected, SHA-256.
    // The object is finished afterwards.
    bool FinishMatches(const ExpectedDigest& expected);

private:
    HexDigest md5_{HexDigest::Kind::kMd5};
    HexDigest sha256_{HexDigest::Kind::kSha256};
};

// The digest of the file's bytes, or "" when it cannot be opened or is not a
// regular file (a pipe or device would never end or never match).
std::string FileMd5Hex(const std::string& path);

// Both digests of the regular file `path`; nothing when it cannot be read.
std::optional<ExpectedDigest> FileDigests(const std::string& path);

// True when the regular file `path` has the expected digests (MD5, and SHA-256 when
// one is expected). False when it cannot be read.
bool FileHasDigest(const std::string& path, const ExpectedDigest& expected);

// The same for a file already open (read from its start).
bool FdHasDigest(int fd, const ExpectedDigest& expected);

// True when `text` is a digest: 32 hexadecimal digits (either case).
bool IsMd5Hex(std::string_view text);

// True when `text` is a SHA-256 digest: 64 hexadecimal digits (either case).
bool IsSha256Hex(std::string_view text);

// True when `expected` is usable: a valid MD5 and either no SHA-256 or a valid one.
bool IsExpectedDigest(const ExpectedDigest& expected);

// Whether two digests name the same bytes: equal ignoring the case of the letters.
bool SameDigest(std::string_view a, std::string_view b);
