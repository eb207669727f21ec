#include "updater/UpdateSignature.h"

#include <openssl/evp.h>

#include "updater/ManifestJson.h"

namespace {

constexpr size_t kBase64Length = 88;  // 64 bytes: 21 groups of four, the last with "=="

bool IsBase64Character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/';
}

std::string Base64(const unsigned char* data, size_t size) {
    std::string text(4 * ((size + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), data,
                                       static_cast<int>(size));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

}  // namespace

std::optional<Ed25519Signature> ParseSignatureFile(std::string_view text) {
    if (text.size() > kMaxSignatureFileBytes) return std::nullopt;
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);
    } else if (text.ends_with('\n')) {
        text.remove_suffix(1);
    }
    const std::string tag = std::string(kSignatureTag) + " ";
    if (!text.starts_with(tag)) return std::nullopt;
    const std::string_view encoded = text.substr(tag.size());
    if (encoded.size() != kBase64Length || !encoded.ends_with("==")) return std::nullopt;
    for (char c : encoded.substr(0, kBase64Length - 2))
        if (!IsBase64Character(c)) return std::nullopt;

    unsigned char decoded[3 * kBase64Length / 4];
    if (EVP_DecodeBlock(decoded, reinterpret_cast<const unsigned char*>(encoded.data()),
                        static_cast<int>(encoded.size())) != static_cast<int>(sizeof decoded))
        return std::nullopt;
    Ed25519Signature signature;
    std::copy(decoded, decoded + signature.size(), signature.begin());
    // One text per signature: the unused low bits of the last character must be zero.
    if (Base64(signature.data(), signature.size()) != encoded) return std::nullopt;
    return signature;
}

std::string FormatSignatureFile(const Ed25519Signature& signature) {
    return std::string(kSignatureTag) + " " + Base64(signature.data(), signature.size()) + "\n";
}

std::string VersionSignedBytes(std::string_view versionText) {
    return "Trovik update Version.txt\n" + std::string(versionText);
}

std::string ManifestSignedBytes(int version, std::string_view manifest) {
    return "Trovik update Update.txt " + std::to_string(version) + "\n" + std::string(manifest);
}

std::string UpdateKeyPath(const std::string& installFolder) {
    return installFolder + "/Config/UpdateKey.pub";
}

PublisherKey PublisherKey::Load(const std::string& installFolder) {
    if (installFolder.empty()) return PublisherKey();
    std::string pem;
    switch (ReadBoundedFile(UpdateKeyPath(installFolder), kMaxKeyFileBytes, pem)) {
        case platform::ReadStatus::kMissing:
            return PublisherKey();
        case platform::ReadStatus::kFailed:
            return PublisherKey(std::nullopt);
        case platform::ReadStatus::kRead:
            break;
    }
    return PublisherKey(Ed25519Key::FromPublicPem(pem));
}

bool PublisherKey::Verify(const char* name, std::string_view signedBytes,
                          std::string_view signatureFile, std::string* problem) const {
    std::string why;
    if (!key_) {
        why = "the installation's Config/UpdateKey.pub holds no Ed25519 public key";
    } else if (signatureFile.empty()) {
        why = std::string(name) + ".sig is missing";
    } else if (const auto signature = ParseSignatureFile(signatureFile); !signature) {
        why = std::string(name) + ".sig is not a signature file";
    } else if (!key_->Verify(signedBytes, *signature)) {
        why =
            std::string(name) + ".sig does not match (another key, or the file was changed" +
            (std::string_view(name) == "Update.txt" ? ", or it belongs to another version)" : ")");
    }
    if (problem) *problem = why;
    return why.empty();
}

bool PublisherKey::VerifyVersion(std::string_view versionText, std::string_view signatureFile,
                                 std::string* problem) const {
    return Verify("Version.txt", VersionSignedBytes(versionText), signatureFile, problem);
}

bool PublisherKey::VerifyManifest(int version, std::string_view manifest,
                                  std::string_view signatureFile, std::string* problem) const {
    return Verify("Update.txt", ManifestSignedBytes(version, manifest), signatureFile, problem);
}
