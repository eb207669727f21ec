#pragma once

// The process-wide resources of the framework: the instance handle, the folder and
// archive of the skin (see ResourceStore for the files themselves), and the icons and
// binary resources the program registers (RegisterIconResource, RegisterResource).

#include <memory>

#include "uilib/core/Win32Types.h"
#include "uilib/src/Backend.h"

namespace UiLib::detail {

// The picture of a registered icon, decoded by the installed backend; null for an
// unknown handle or bytes that are not a picture.
std::shared_ptr<const backend::Image> DecodeIcon(HICON icon);

}  // namespace UiLib::detail
