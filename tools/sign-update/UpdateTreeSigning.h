#pragma once

#include <string>

#include "updater/Ed25519Key.h"
#include "updater/UpdateSignature.h"

// Signing an update tree, the folder a channel of the update server serves:
// "Version.txt", the manifest "Update.txt" and every file it lists at its path below
// the tree. See updater/UpdateSignature.h for the signature files and what they cover.

// Checks that every listed file is in the tree with the manifest's MD5, adds its
// "SHA256" to the manifest (rewritten in the manifest byte format), then writes
// "Version.txt.sig" and "Update.txt.sig". "Version.txt" must hold a version above 0.
// False, with the reason in `problem` and nothing changed, when the tree is not
// consistent.
bool SignUpdateTree(const std::string& tree, const Ed25519Key& key, std::string* problem);

// Checks a signed tree as the updater would: both signatures, a SHA-256 for every
// listed file, and every listed file present with its digests.
bool VerifyUpdateTree(const std::string& tree, const PublisherKey& key, std::string* problem);
