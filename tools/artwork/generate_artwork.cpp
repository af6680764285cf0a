// generate-artwork OUTDIR: writes the viewer's artwork into OUTDIR as <id>.bmp, icon.png and
// 294.wav, and a Qt resource list artwork.qrc naming them ":/bitmaps/<id>.bmp", ":/icon",
// ":/wave/294". generate-artwork --icons OUTDIR: writes the desktop's program icons into OUTDIR as
// an icon theme tree, hicolor/<N>x<N>/apps/quadrel.png for each of the usual sizes.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "tools/artwork/artwork.h"

namespace {

int WriteDesktopIcons(const QString& dir) {
    for (const int size : artwork::kDesktopIconSizes) {
        const QString folder = QString("%1/hicolor/%2x%2/apps").arg(dir).arg(size);
        if (!QDir().mkpath(folder) || !artwork::ProgramIcon(size).save(folder + "/quadrel.png")) {
            std::fprintf(stderr, "generate-artwork: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--icons")
        return WriteDesktopIcons(QString::fromLocal8Bit(argv[2]));
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: generate-artwork OUTDIR\n       generate-artwork --icons OUTDIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    std::map<int, QImage> images = artwork::ButtonImages();
    images[216] = artwork::Skin();
    images[297] = artwork::SnapIcon();

    QString qrc = "<RCC>\n  <qresource prefix=\"/\">\n";
    for (const auto& [id, image] : images) {
        const QString name = QString::number(id) + ".bmp";
        if (!image.convertToFormat(QImage::Format_RGB888).save(dir + "/" + name, "BMP")) {
            std::fprintf(stderr, "generate-artwork: cannot write %s\n", qPrintable(name));
            return 1;
        }
        qrc += QString("    <file alias=\"bitmaps/%1.bmp\">%2</file>\n").arg(id).arg(name);
    }
    if (!artwork::ProgramIcon().save(dir + "/icon.png", "PNG")) return 1;
    qrc += "    <file alias=\"icon\">icon.png</file>\n";
    QFile wave(dir + "/294.wav");
    if (!wave.open(QIODevice::WriteOnly) || wave.write(artwork::AlarmSoundWave()) < 0) return 1;
    wave.close();
    qrc += "    <file alias=\"wave/294\">294.wav</file>\n";
    qrc += "  </qresource>\n</RCC>\n";
    QFile list(dir + "/artwork.qrc");
    if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) return 1;
    list.write(qrc.toUtf8());
    return 0;
}
