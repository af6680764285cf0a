#include "viewer/resources/resources.h"

#include <QFile>

// Defined by the resource compiler in a global namespace; Init must call them from outside ours.
static void InitArtwork() {
    Q_INIT_RESOURCE(artwork);
}

static void InitTranslations() {
    Q_INIT_RESOURCE(i18n);
}

namespace resources {

void Init() {
    InitArtwork();
    InitTranslations();
}

QImage Bitmap(int id) {
    QImage image(QStringLiteral(":/bitmaps/%1.bmp").arg(id));
    return image;
}

QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/icon"));
}

QByteArray Wave(int id) {
    QFile file(QStringLiteral(":/wave/%1").arg(id));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace resources
