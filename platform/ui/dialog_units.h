// Dialog units to pixels. Ordinary dialogs use the average character size of their font: one
// horizontal unit is a quarter of the average character width, one vertical unit an eighth of
// the character height. The skinned main dialog uses a fixed 7/4 pixel per unit on both axes so
// that its controls sit on its bitmap skin whatever the fonts are.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "platform/ui/dialog_template.h"

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

class DialogUnitMapping {
  public:
    // Base units: average character width and character height in pixels.
    static DialogUnitMapping FromBaseUnits(int baseX, int baseY);
    // Base units measured on `font`: width = average advance of "A".."Z", "a".."z" (rounded),
    // height = ascent + descent.
    static DialogUnitMapping FromFont(const QFont& font);
    // `numerator / denominator` pixel per unit on both axes.
    static DialogUnitMapping Fixed(int numerator, int denominator);
    // The mapping a template asks for, measured on `font` where it depends on one.
    static DialogUnitMapping For(const DialogTemplate& dialog, const QFont& font);

    int ToPixelsX(int units) const { return MulDiv(units, mulX_, divX_); }
    int ToPixelsY(int units) const { return MulDiv(units, mulY_, divY_); }
    // Position and size are converted separately, as dialog templates are.
    QRect ToPixels(int x, int y, int cx, int cy) const;
    QSize ToPixels(int cx, int cy) const { return {ToPixelsX(cx), ToPixelsY(cy)}; }

  private:
    DialogUnitMapping(int mulX, int divX, int mulY, int divY)
        : mulX_(mulX), divX_(divX), mulY_(mulY), divY_(divY) {}

    int mulX_, divX_, mulY_, divY_;
};

// The font a template names, at 96 pixels per inch. The Windows dialog faces ("MS Shell Dlg",
// "MS Sans Serif", "Microsoft Sans Serif", "Tahoma", and none) resolve to Liberation Sans; every
// face falls back to WenQuanYi Micro Hei for Chinese text.
QFont DialogFont(const DialogTemplate& dialog);
