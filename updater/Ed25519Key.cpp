#include "updater/Ed25519Key.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

namespace {

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using UniqueBio = std::unique_ptr<BIO, BioFree>;

struct MdContextFree {
    void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};
using UniqueMdContext = std::unique_ptr<EVP_MD_CTX, MdContextFree>;

UniqueBio ReadBio(std::string_view text) {
    if (text.size() > static_cast<size_t>(INT32_MAX)) return nullptr;
    return UniqueBio(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())));
}

// Without this, OpenSSL would ask on the terminal for the passphrase of an encrypted key.
int NoPassphrase(char*, int, int, void*) {
    return -1;
}

template <typename Write>
std::string PemText(Write write) {
    const UniqueBio bio(BIO_new(BIO_s_mem()));
    if (!bio || write(bio.get()) != 1) return {};
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return size > 0 ? std::string(data, static_cast<size_t>(size)) : std::string();
}

}  // namespace

void Ed25519Key::Free::operator()(EVP_PKEY* key) const {
    EVP_PKEY_free(key);
}

std::optional<Ed25519Key> Ed25519Key::Generate() {
    EVP_PKEY* key = EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519");
    if (!key) return std::nullopt;
    return Ed25519Key(key, true);
}

std::optional<Ed25519Key> Ed25519Key::FromPublicPem(std::string_view pem) {
    const UniqueBio bio = ReadBio(pem);
    EVP_PKEY* key = bio ? PEM_read_bio_PUBKEY(bio.get(), nullptr, NoPassphrase, nullptr) : nullptr;
    if (!key) return std::nullopt;
    Ed25519Key result(key, false);
    if (EVP_PKEY_get_id(key) != EVP_PKEY_ED25519) return std::nullopt;
    return result;
}

std::optional<Ed25519Key> Ed25519Key::FromPrivatePem(std::string_view pem) {
    const UniqueBio bio = ReadBio(pem);
    EVP_PKEY* key =
        bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, NoPassphrase, nullptr) : nullptr;
    if (!key) return std::nullopt;
    Ed25519Key result(key, true);
    if (EVP_PKEY_get_id(key) != EVP_PKEY_ED25519) return std::nullopt;
    return result;
}

std::string Ed25519Key::PublicPem() const {
    return PemText([&](BIO* bio) { return PEM_write_bio_PUBKEY(bio, key_.get()); });
}

std::string Ed25519Key::PrivatePem() const {
    if (!private_) return {};
    return PemText([&](BIO* bio) {
        return PEM_write_bio_PrivateKey(bio, key_.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
}

std::optional<Ed25519Signature> Ed25519Key::Sign(std::string_view message) const {
    if (!private_) return std::nullopt;
    const UniqueMdContext ctx(EVP_MD_CTX_new());
    Ed25519Signature signature{};
    size_t length = signature.size();
    if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, nullptr, nullptr, key_.get()) != 1 ||
        EVP_DigestSign(ctx.get(), signature.data(), &length,
                       reinterpret_cast<const unsigned char*>(message.data()),
                       message.size()) != 1 ||
        length != signature.size())
        return std::nullopt;
    return signature;
}

bool Ed25519Key::Verify(std::string_view message, const Ed25519Signature& signature) const {
    const UniqueMdContext ctx(EVP_MD_CTX_new());
    return ctx && EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, key_.get()) == 1 &&
           EVP_DigestVerify(ctx.get(), signature.data(), signature.size(),
                            reinterpret_cast<const unsigned char*>(message.data()),
                            message.size()) == 1;
}
