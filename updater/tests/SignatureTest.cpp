// Ed25519 through OpenSSL against the published test vector, and the signature file
// format: exactly one form of each signature is accepted.

#include <gtest/gtest.h>

#include "updater/UpdateSignature.h"

namespace {

// RFC 8032, section 7.1, test 1: the public key (as PEM) and the signature of the
// empty message.
constexpr char kRfcPublicPem[] =
    "-----BEGIN PUBLIC KEY-----\n"
    "MCowBQYDK2VwAyEA11qYAYKxCrfVS/7TyWQHOg7hcvPapiMlrwIaaPcHURo=\n"
    "-----END PUBLIC KEY-----\n";
constexpr char kRfcSignatureFile[] =
    "trovik-ed25519 "
    "5VZDAMNgrHKQhuLMgG6CioSHfx645dl02HPgZSJJAVVfuIIVkKM7rMYeOXAc+bRr0lv18FlbviRlUUFDjnoQCw==\n";

TEST(UpdateSignature, VerifiesTheRfcTestVectorAndNothingElse) {
    const auto key = Ed25519Key::FromPublicPem(kRfcPublicPem);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->hasPrivate());
    const auto signature = ParseSignatureFile(kRfcSignatureFile);
    ASSERT_TRUE(signature);
    EXPECT_EQ(signature->front(), 0xe5);
    EXPECT_EQ(signature->back(), 0x0b);
    EXPECT_TRUE(key->Verify("", *signature));
    EXPECT_FALSE(key->Verify("x", *signature));
    Ed25519Signature flipped = *signature;
    flipped[10] ^= 1;
    EXPECT_FALSE(key->Verify("", flipped));
    EXPECT_EQ(FormatSignatureFile(*signature), kRfcSignatureFile);

    // A made key signs what it verifies, and its PEM forms load again.
    const auto made = Ed25519Key::Generate();
    ASSERT_TRUE(made);
    const auto mine = made->Sign("message");
    ASSERT_TRUE(mine);
    EXPECT_TRUE(Ed25519Key::FromPublicPem(made->PublicPem())->Verify("message", *mine));
    EXPECT_TRUE(Ed25519Key::FromPrivatePem(made->PrivatePem())->hasPrivate());
    EXPECT_FALSE(key->Verify("message", *mine));
    EXPECT_FALSE(Ed25519Key::FromPublicPem(made->PrivatePem()));
    EXPECT_FALSE(Ed25519Key::FromPrivatePem(made->PublicPem()));
}

TEST(UpdateSignature, SignatureFilesHaveExactlyOneForm) {
    const std::string text = kRfcSignatureFile;
    const std::string line = text.substr(0, text.size() - 1);
    EXPECT_TRUE(ParseSignatureFile(line));
    EXPECT_TRUE(ParseSignatureFile(line + "\r\n"));
    const std::string encoded = line.substr(15);
    for (const std::string& bad : std::vector<std::string>{
             "",
             line.substr(0, 60),                                 // truncated
             line + "\n\n",                                      // a second line
             line + " ",                                         // trailing text
             "trovik-ed25519  " + encoded,                       // two spaces
             "trovik-ed448 " + encoded,                          // another tag
             "trovik-ed25519 " + encoded.substr(0, 86) + "A=",   // 65 bytes' worth
             "trovik-ed25519 " + encoded.substr(0, 85) + "D==",  // unused bits set
             "trovik-ed25519 " + encoded.substr(0, 40) + "*" + encoded.substr(41),
             "trovik-ed25519 " + encoded + "AAAA",
         })
        EXPECT_FALSE(ParseSignatureFile(bad)) << bad;
}

}  // namespace
