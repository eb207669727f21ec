// sign-update: the publisher's tool for signed updates.
//
//   sign-update keygen SECRET PUBLIC   make an Ed25519 key pair: SECRET, the private key
//                                      (mode 0600), and PUBLIC, the public key that
//                                      installations carry as Config/UpdateKey.pub;
//                                      neither file may exist yet
//   sign-update sign SECRET TREE       add SHA-256 digests to TREE/Update.txt and write
//                                      TREE/Version.txt.sig and TREE/Update.txt.sig
//   sign-update verify PUBLIC TREE     check TREE as an installation holding PUBLIC would
//
// Keys are PEM files (`openssl genpkey -algorithm ed25519` makes the same kind). Exit
// status 0 on success, 1 on a failure (with the reason on stderr), 2 on a usage error.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"
#include "tools/sign-update/UpdateTreeSigning.h"
#include "updater/ManifestJson.h"

namespace {

const char kUsage[] =
    "usage: sign-update keygen SECRET PUBLIC\n"
    "       sign-update sign SECRET TREE\n"
    "       sign-update verify PUBLIC TREE\n";

int Failure(const std::string& message) {
    std::fprintf(stderr, "sign-update: %s\n", message.c_str());
    return 1;
}

// Writes a new file (never replacing one) with `mode`, flushed to disk.
bool WriteNewFile(const std::string& path, const std::string& bytes, mode_t mode,
                  std::string* problem) {
    platform::UniqueFd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    bool ok = fd.valid();
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t put = write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno != EINTR) ok = false;
        if (put > 0) done += static_cast<size_t>(put);
    }
    ok = ok && fchmod(fd.get(), mode) == 0 && fsync(fd.get()) == 0;
    if (!ok) {
        *problem = path + ": " + std::strerror(errno);
        if (fd.valid()) unlink(path.c_str());
    }
    return ok;
}

std::string ReadKeyFile(const std::string& path) {
    std::string pem;
    ReadBoundedFile(path, kMaxKeyFileBytes, pem);
    return pem;
}

int KeyGen(const std::string& secretPath, const std::string& publicPath) {
    const std::optional<Ed25519Key> key = Ed25519Key::Generate();
    if (!key) return Failure("no key could be made");
    std::string problem;
    if (!WriteNewFile(secretPath, key->PrivatePem(), 0600, &problem)) return Failure(problem);
    if (!WriteNewFile(publicPath, key->PublicPem(), 0644, &problem)) {
        unlink(secretPath.c_str());
        return Failure(problem);
    }
    return 0;
}

int Sign(const std::string& secretPath, const std::string& tree) {
    const std::optional<Ed25519Key> key = Ed25519Key::FromPrivatePem(ReadKeyFile(secretPath));
    if (!key) return Failure(secretPath + " holds no unencrypted Ed25519 private key (PEM)");
    std::string problem;
    if (!SignUpdateTree(tree, *key, &problem)) return Failure(problem);
    return 0;
}

int Verify(const std::string& publicPath, const std::string& tree) {
    const PublisherKey key(Ed25519Key::FromPublicPem(ReadKeyFile(publicPath)));
    if (key.state() != PublisherKey::State::kUsable)
        return Failure(publicPath + " holds no Ed25519 public key (PEM)");
    std::string problem;
    if (!VerifyUpdateTree(tree, key, &problem)) return Failure(problem);
    std::printf("%s: signed, every file present\n", tree.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (args[0] == "keygen") return KeyGen(args[1], args[2]);
    if (args[0] == "sign") return Sign(args[1], args[2]);
    if (args[0] == "verify") return Verify(args[1], args[2]);
    std::fputs(kUsage, stderr);
    return 2;
}
