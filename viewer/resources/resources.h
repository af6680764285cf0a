// The program's bitmaps, icon and sounds, by resource id.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

namespace resources {

// Makes the compiled-in resources (artwork, sounds, translations under ":/i18n") available; call
// once before the first lookup.
void Init();

// Bitmap resource `id` (e.g. 216, the skin); a null image when there is none.
QImage Bitmap(int id);

// The program icon.
QIcon ProgramIcon();

// WAVE resource `id` (294, the alarm sound) as the bytes of its RIFF file; empty when none.
QByteArray Wave(int id);

}  // namespace resources
