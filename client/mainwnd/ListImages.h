#pragma once

// The images of the popular-show and site lists: which names a downloaded list may
// use as image files, and how an image path goes into an image string of the skin.

#include <string>
#include <string_view>

// Whether an "ImgName%d" value of a list may name an image file in the list's folder.
// The values come from the update server: an empty name, "." or "..", a name with a
// path separator ("/" or "\") or a NUL byte would reach outside the folder or name the
// folder itself, and a quote (' or ") cannot be written inside an image string; such a
// name is neither downloaded nor shown.
bool IsUsableImageName(std::string_view name);
bool IsUsableImageName(std::wstring_view name);

// `path` as the attribute "file='path'" of an image string (with double quotes when
// the path holds a single quote), so a folder name with "=" or a quote still names
// the file.
std::wstring ImageFileAttribute(const std::wstring& path);
// `path` as a whole image string: as it is when it needs no quoting, else as
// ImageFileAttribute.
std::wstring ImageString(const std::wstring& path);
