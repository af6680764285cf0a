// The captions drawn on the main window's skin (bitmap 216): the program's own texts are part of
// the artwork. When a translation is installed, SkinWithTranslatedCaptions paints each caption
// whose translation differs over the skin's own, on the panel colour behind it, in the artwork's
// font and colour. Free functions over images; GUI thread only (they paint with Qt's fonts).
#pragma once

#include <QImage>
#include <QRect>
#include <span>

struct SkinCaption {
    QRect rect;        // skin pixels; the caption's text is centred vertically, left aligned
    const char* text;  // UTF-8, the program's own text (context "skin")
};

// The captions of the skin, where the artwork draws them.
std::span<const SkinCaption> SkinCaptions();

// `skin` with every caption whose translation differs from its text painted over in the
// translation; `skin` itself when no caption is translated (so the artwork stays untouched).
QImage SkinWithTranslatedCaptions(QImage skin);
