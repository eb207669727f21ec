#pragma once

#include <string>
#include <string_view>

// Names inside manifests are in the ANSI code page (GB18030), as the deployment's
// tools write them; the file system takes UTF-8. Names from the server become file
// paths and URLs, so each is checked before it is used.

// True for a name that is one plain path component: not empty, not "." or "..",
// without "/", "\" or NUL once decoded, whose bytes are valid GB18030 (they decode
// and encode back unchanged) and whose file-system form fits one component (255
// bytes). Checked on the decoded text, so a GB18030 character whose second byte is
// 0x5C is no backslash.
bool IsSafeManifestName(std::string_view ansiName);

// A manifest name as a file-system name (GB18030 to UTF-8), and back.
std::string ManifestNameToPath(std::string_view ansiName);
std::string PathNameToManifest(std::string_view pathName);

// The two names that are never fetched, at any depth and in any letter case:
// "Config.cfg" and "Version.txt".
bool IsNeverFetchedName(std::string_view ansiName);

// A name as one URL path segment: its bytes percent-encoded except ASCII letters,
// digits and "-._~", so a name with spaces, "#", "?" or "%" reaches the server intact.
std::string UrlPathSegment(std::string_view ansiName);
