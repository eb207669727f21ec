#pragma once

#include <string>

// Which server a URL addresses, for limits per host: scheme, host and port in lower
// case ("http://example.test:80"); the port is the scheme's default (80 for http, 443
// for https) when the URL names none. "" when the text is not an absolute URL with a
// host. Plain text work, no network and no HTTP library.
std::string UrlHostKey(const std::string& url);
