#pragma once

// Where a background thumbnail's picture comes from: the file name its image attribute
// names, which becomes both a file in the data folder's "Theme/" and a path segment of
// the update server's "Theme/" URL.

#include <string>

// The bare file name of a thumbnail's image attribute: the value of its file='…' part
// when the attribute is a list ("file='SkinThumb/Theme01.png' source='0,0,80,125'"),
// else the whole text; cut after the last "/" or "\"; every apostrophe removed.
// "" when nothing usable remains: an empty name, "." or "..", or one that still holds
// a separator or a NUL. Such a thumbnail downloads nothing and changes nothing.
std::wstring ThemeFileName(const std::wstring& imageAttribute);

// `baseUrl` (ends in "Theme/") followed by the name as one path segment: its UTF-8
// bytes other than ASCII letters, digits and "-._~" percent-encoded, so that a space,
// "?" or "#" in a skin's file name cannot change what is requested.
std::string ThemeUrl(const std::string& baseUrl, const std::wstring& fileName);
