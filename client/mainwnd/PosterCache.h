#pragma once

// The poster cache: posters are downloaded once into the temporary folder under the
// file name their URL ends with, and taken from there by every later search.

#include <string>

// The cache file name of a poster URL: the part after the last "/", cut before the
// first "?". "" when that is empty, "." or "..", or holds a "\", a NUL or a "'" (the
// file would leave the temporary folder or could not be named in an image
// attribute), so such a URL gets no poster.
std::string PosterCacheName(const std::string& url);
