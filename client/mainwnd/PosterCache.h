#pragma once

// The poster cache: posters are downloaded once into the temporary folder under the
// file name their URL ends with, and taken from there by every later search. The
// search worker's threads download; the user-interface thread only looks.

#include <chrono>
#include <string>

// The longest one poster download may take, its repeated sends and redirects included.
inline constexpr std::chrono::milliseconds kPosterDeadline = std::chrono::seconds(10);

// The cache file name of a poster URL: the part after the last "/", cut before the
// first "?". "" when that is empty, "." or "..", or holds a "\", a NUL or a "'" (the
// file would leave the temporary folder or could not be named in an image
// attribute), so such a URL gets no poster.
std::string PosterCacheName(const std::string& url);

// The local file to show as the poster of `url`: the cached file, downloaded first
// (within `deadline`) when it is not there yet; "" when there is none. Blocks on the
// network: never on the user-interface thread.
std::wstring PosterFile(const std::string& url,
                        std::chrono::milliseconds deadline = kPosterDeadline);

// The cached file of `url` when it is there, else "" (the page keeps its placeholder).
// Never touches the network.
std::wstring CachedPosterFile(const std::string& url);
