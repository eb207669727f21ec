#pragma once

#include <json/value.h>

#include <string>
#include <string_view>

#include "platform/WholeFile.h"

// The byte format of the updater's JSON files (manifests and the pending list) and
// their bounded reading.

// JsonCpp's Json::FastWriter format, byte for byte as manifests made by the
// deployment's tools have it: one line without spaces, object members in ascending
// byte order of their names, then one line feed. Strings escape only the quote, the
// backslash and control characters below 0x20; every byte from 0x80 up is written
// unchanged, so names in the ANSI code page (GB18030) keep their bytes. (JsonCpp's
// own writer would read such bytes as UTF-8 and change them.)
std::string WriteFastJson(const Json::Value& value);

// The largest JSON file the updater reads (the server manifest of an installation
// of 100,000 files fits easily) and the deepest nesting it accepts.
inline constexpr size_t kMaxJsonFileBytes = 8 * 1024 * 1024;
inline constexpr int kMaxJsonDepth = 256;

// Reads the regular file `path` if it holds at most `maxBytes` (links are followed).
// kMissing when there is no such file; kFailed when it is not a regular file, is
// larger, or cannot be read.
platform::ReadStatus ReadBoundedFile(const std::string& path, size_t maxBytes, std::string& bytes);

// Parses JSON text of at most kMaxJsonDepth levels into `root`; false, with `root`
// null, when it is not valid JSON. Strings keep their bytes (no UTF-8 check).
bool ParseJsonText(std::string_view text, Json::Value& root);

// Reads and parses a JSON file of at most `maxBytes` and kMaxJsonDepth levels. False,
// with `root` null, when the file is missing, not a regular file, too large, or not
// valid JSON. Strings keep their bytes (no UTF-8 check).
bool ReadJsonFile(const std::string& path, Json::Value& root, size_t maxBytes = kMaxJsonFileBytes);

// Writes `text` to `path` in one step (temporary file and rename), creating every
// missing folder level first. True when the file was written.
bool WriteTextFile(const std::string& path, std::string_view text);
