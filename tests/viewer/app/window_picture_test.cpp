// The screenshot's picture of a shaped window.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "tests/support/temp_dir.h"
#include "viewer/app/window_screenshot.h"

namespace {

TEST(WindowPictureTest, OutsideTheShapeIsTransparentInsideIsWhatTheWindowShows) {
    testing_support::TempDir dir;
    QWidget window;
    window.resize(40, 30);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(10, 200, 30));
    window.setPalette(palette);
    window.setMask(QRegion(10, 5, 20, 10));
    const QString path = QString::fromStdString(dir.File("window.png"));
    ASSERT_TRUE(SaveWindowPicture(window, path));
    const QImage picture(path);
    ASSERT_EQ(picture.size(), QSize(40, 30));
    EXPECT_EQ(picture.pixel(15, 10), qRgba(10, 200, 30, 255));
    EXPECT_EQ(qAlpha(picture.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(35, 10)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(15, 20)), 0);
}

TEST(WindowPictureTest, UnshapedWindowIsSavedWholeAndABadPathFails) {
    testing_support::TempDir dir;
    QWidget window;
    window.resize(12, 8);
    ASSERT_TRUE(SaveWindowPicture(window, QString::fromStdString(dir.File("plain.png"))));
    const QImage picture(QString::fromStdString(dir.File("plain.png")));
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 255);
    EXPECT_FALSE(SaveWindowPicture(window, QString::fromStdString(dir.File("no/such/dir.png"))));
}

}  // namespace
