#pragma once

// Fonts of the Qt backend: the QFont of a font description, with the CJK fallback for
// families that are not installed.

#include <QFont>
#include <QString>

#include "uilib/core/FontInfo.h"

namespace UiLib::qt {

// The Chinese fallback family used for families that are not installed.
inline constexpr const char* kFallbackFamily = "WenQuanYi Zen Hei";

// The family to ask Qt for: the named one when installed, else the fallback.
QString ResolveFamily(const QString& family);
// The QFont of a font description (cached for the life of the process).
const QFont& FontOf(const TFontInfo& info);

}  // namespace UiLib::qt
