#pragma once

#include <string>

// A new installation GUID as "{XXXXXXXX-XXXX-xxxx-XXXX-XXXXXXXXXXXX}" (38 characters,
// the third group in lower case). When no GUID can be made, the text of the last
// successful call is returned again (empty when there was none).
std::string MakeGuidText();
