#pragma once

#include <openssl/types.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Ed25519 keys and signatures (RFC 8032) through OpenSSL's EVP interface. Keys are
// kept as PEM text, the form `openssl genpkey -algorithm ed25519` writes: a public key
// as "PUBLIC KEY" (SubjectPublicKeyInfo), a private key as unencrypted "PRIVATE KEY"
// (PKCS #8).

using Ed25519Signature = std::array<unsigned char, 64>;

class Ed25519Key {
public:
    // A new random key pair.
    static std::optional<Ed25519Key> Generate();
    // The key in PEM text; nothing when the text holds no Ed25519 key of that kind (an
    // encrypted private key is refused rather than asked for a passphrase).
    static std::optional<Ed25519Key> FromPublicPem(std::string_view pem);
    static std::optional<Ed25519Key> FromPrivatePem(std::string_view pem);

    bool hasPrivate() const { return private_; }
    std::string PublicPem() const;
    std::string PrivatePem() const;  // "" for a public key

    // The signature of `message`; nothing without the private key.
    std::optional<Ed25519Signature> Sign(std::string_view message) const;
    bool Verify(std::string_view message, const Ed25519Signature& signature) const;

private:
    struct Free {
        void operator()(EVP_PKEY* key) const;
    };
    Ed25519Key(EVP_PKEY* key, bool hasPrivate) : key_(key, Free{}), private_(hasPrivate) {}

    std::shared_ptr<EVP_PKEY> key_;
    bool private_ = false;
};
