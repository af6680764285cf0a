#include "viewer/widgets/bitmap_resource.h"

QString BitmapResourcePath(UINT id) {
    return QStringLiteral(":/bitmaps/%1.bmp").arg(id);
}

QImage LoadBitmapResource(UINT id) {
    const QImage image(BitmapResourcePath(id));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}
