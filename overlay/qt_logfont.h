// LOGFONTW and QFont, both ways, for the font dialog: the face, the character height in pixels
// (at 96 pixels per inch), the weight (both use the 100-900 scale, 400 normal, 700 bold), italic,
// underline and strike-out.
#pragma once

#include <QFont>

#include "platform/text/logfont.h"

// A zero lfHeight keeps the default size, an empty face the default family, a zero weight the
// normal weight. A positive lfHeight (cell height) is taken as the pixel size too.
QFont QFontFromLogFont(const LOGFONTW& font);
// lfHeight is minus the character height in pixels; the face is cut to 31 characters.
LOGFONTW LogFontFromQFont(const QFont& font);
