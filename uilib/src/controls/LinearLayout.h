#pragma once

// The flow shared by the vertical and the horizontal layout.

#include "uilib/core/Container.h"

namespace UiLib::detail {

// Places the children of a linear layout inside rcItem along one axis (vertical or
// horizontal): fixed sizes first, the rest shared equally within each child's bounds;
// floating children go to their own positions. The scroll offset shifts the flow;
// returns how far the content reaches beyond the layout (the scroll range).
int LayoutLinear(CContainerUI* self, const RECT& rcItem, bool vertical, int scrollOffset);

}  // namespace UiLib::detail
