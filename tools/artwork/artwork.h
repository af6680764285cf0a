// The viewer's artwork, drawn rather than stored: the window skin, the button images and shapes,
// the snapshot indicator, the icon, and the alarm sound.
#pragma once

#include <QImage>
#include <QString>
#include <map>

namespace artwork {

// Button shapes and state images by bitmap id. Shapes are black where the button is and pure
// white elsewhere; state images are white outside the button too.
std::map<int, QImage> ButtonImages();

// The window skin (bitmap 216): 881 x 608, pure green (0, 255, 0) outside the window's outline.
QImage Skin();

// The timed-snapshot indicator (bitmap 297, 22 x 23).
QImage SnapIcon();

// The program icon, `size` x `size` pixels: four camera panes in the skin's colours on a rounded
// square, transparent around it. The window's icon is 64 x 64; the desktop's come in the usual
// theme sizes.
QImage ProgramIcon(int size = 64);
inline constexpr int kDesktopIconSizes[] = {16, 32, 48, 64, 128, 256};

// The alarm sound: a RIFF WAVE file of 13,544 bytes, 8-bit mono PCM at 11,025 Hz, a two-tone
// siren about 1.2 s long that loops without a click.
QByteArray AlarmSoundWave();

}  // namespace artwork
