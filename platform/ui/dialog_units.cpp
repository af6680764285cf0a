#include "platform/ui/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>
#include <cstdint>
#include <cstring>

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / (c > 0 ? c : -c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogUnitMapping DialogUnitMapping::FromBaseUnits(int baseX, int baseY) {
    return {baseX, 4, baseY, 8};
}

DialogUnitMapping DialogUnitMapping::FromFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int total = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (total + 26) / 52;
    const int baseY = metrics.ascent() + metrics.descent();
    return FromBaseUnits(baseX > 0 ? baseX : 1, baseY > 0 ? baseY : 1);
}

DialogUnitMapping DialogUnitMapping::Fixed(int numerator, int denominator) {
    return {numerator, denominator, numerator, denominator};
}

DialogUnitMapping DialogUnitMapping::For(const DialogTemplate& dialog, const QFont& font) {
    if (dialog.units == DialogUnits::kSevenFourths) return Fixed(7, 4);
    return FromFont(font);
}

QRect DialogUnitMapping::ToPixels(int x, int y, int cx, int cy) const {
    return {ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy)};
}

namespace {
bool IsWindowsDialogFace(const char* face) {
    static constexpr const char* kFaces[] = {"MS Shell Dlg",  "MS Shell Dlg 2",
                                             "MS Sans Serif", "Microsoft Sans Serif",
                                             "Tahoma",        "System"};
    for (const char* known : kFaces) {
        if (std::strcmp(face, known) == 0) return true;
    }
    return false;
}
}  // namespace

QFont DialogFont(const DialogTemplate& dialog) {
    QFont font;
    const char* face = dialog.fontFace;
    const QString family = (!face || IsWindowsDialogFace(face)) ? QStringLiteral("Liberation Sans")
                                                                : QString::fromUtf8(face);
    font.setFamilies({family, QStringLiteral("WenQuanYi Micro Hei")});
    const int points = dialog.pointSize > 0 ? dialog.pointSize : 8;
    font.setPixelSize(MulDiv(points, 96, 72));
    return font;
}
