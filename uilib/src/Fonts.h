#pragma once

#include <QFont>
#include <QString>

#include "uilib/core/PaintManager.h"

namespace UiLib::detail {

// The Chinese fallback family used for families that are not installed.
inline constexpr const char* kFallbackFamily = "WenQuanYi Zen Hei";

// The family to ask Qt for: the named one when installed, else the fallback.
QString ResolveFamily(const QString& family);
// The QFont of a font description (cached).
const QFont& FontOf(const TFontInfo& info);
// The font of a manager's id (-1: default), with the fallback when there is no manager.
const QFont& FontOf(const CPaintManagerUI* manager, int id);

}  // namespace UiLib::detail
