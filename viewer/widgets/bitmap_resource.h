// Bitmap resources of the program by id: the Qt resource ":/bitmaps/<id>.bmp", as 32-bit pixels.
#pragma once

#include <QImage>
#include <QString>

#include "platform/base/win_types.h"

QString BitmapResourcePath(UINT id);
// A null image when the resource does not exist or cannot be read.
QImage LoadBitmapResource(UINT id);
