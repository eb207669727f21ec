#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "updater/Ed25519Key.h"

// Signed updates. The publisher signs the update server's "Version.txt" and
// "Update.txt" with an Ed25519 key (tools/sign-update); an installation that holds
// the public key as "Config/UpdateKey.pub" takes an update only when both detached
// signatures, "Version.txt.sig" and "Update.txt.sig" beside the files, are valid.
//
// A signature file is one line of ASCII: the tag "trovik-ed25519", one space, and
// the 64-byte signature in base64 (88 characters), optionally ended by a line feed
// or CR LF. Nothing else is accepted; at most kMaxSignatureFileBytes are read.
//
// What is signed:
//   "Version.txt.sig": "Trovik update Version.txt\n", then the bytes of "Version.txt";
//   "Update.txt.sig":  "Trovik update Update.txt <N>\n", then the bytes of
//                      "Update.txt", where <N> is the version (the leading number,
//                      in decimal) of the "Version.txt" the manifest is published with.
// A manifest signed for one version is therefore refused when it is served with
// another, newer "Version.txt", and neither signature can stand in for the other.

inline constexpr char kSignatureTag[] = "trovik-ed25519";
inline constexpr size_t kMaxSignatureFileBytes = 256;
inline constexpr size_t kMaxKeyFileBytes = 16 * 1024;

// The signature in a signature file's text; nothing when the text is not exactly one.
std::optional<Ed25519Signature> ParseSignatureFile(std::string_view text);
// The text of a signature file (ends in a line feed).
std::string FormatSignatureFile(const Ed25519Signature& signature);

// The bytes a signature covers.
std::string VersionSignedBytes(std::string_view versionText);
std::string ManifestSignedBytes(int version, std::string_view manifest);

// Where an installation keeps its publisher key: installFolder + "/Config/UpdateKey.pub".
std::string UpdateKeyPath(const std::string& installFolder);

// The publisher key of an installation.
class PublisherKey {
public:
    enum class State {
        kAbsent,    // no key file: updates are taken unsigned, as always
        kUsable,    // both signatures are required and checked against the key
        kUnusable,  // a key file that cannot be read or holds no Ed25519 public key:
                    // every update is refused
    };

    // The key file of the installation in `installFolder` ("" names none).
    static PublisherKey Load(const std::string& installFolder);
    explicit PublisherKey(std::optional<Ed25519Key> key)
        : state_(key ? State::kUsable : State::kUnusable), key_(std::move(key)) {}
    PublisherKey() = default;

    State state() const { return state_; }
    // True when updates must be signed (a key file is there, usable or not).
    bool required() const { return state_ != State::kAbsent; }

    // True when `signatureFile` holds a valid signature of the file. Otherwise false,
    // with the reason in `problem`.
    bool VerifyVersion(std::string_view versionText, std::string_view signatureFile,
                       std::string* problem) const;
    bool VerifyManifest(int version, std::string_view manifest, std::string_view signatureFile,
                        std::string* problem) const;

private:
    bool Verify(const char* name, std::string_view signedBytes, std::string_view signatureFile,
                std::string* problem) const;

    State state_ = State::kAbsent;
    std::optional<Ed25519Key> key_;
};
