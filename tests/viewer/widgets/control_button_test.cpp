#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QTimerEvent>

#include "viewer/widgets/control_button.h"

namespace {

const QRgb kNormal = qRgb(200, 0, 0);
const QRgb kHover = qRgb(0, 200, 0);
const QRgb kPressed = qRgb(0, 0, 200);
const QRgb kSpare = qRgb(200, 200, 0);
const QRgb kDisabled = qRgb(90, 90, 90);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
constexpr int kSize = 28;

QImage Solid(QRgb colour, int width = kSize, int height = kSize) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// `inside` over the square [6, 22) of the button, `outside` elsewhere.
QImage Square(QRgb inside, QRgb outside) {
    QImage image = Solid(outside);
    for (int y = 6; y < 22; ++y) {
        for (int x = 6; x < 22; ++x) image.setPixel(x, y, inside);
    }
    return image;
}

class ControlButtonTest : public ::testing::Test {
  protected:
    ControlButtonTest() : button_(new CControlButton(&parent_)) {  // owned by parent_
        parent_.resize(200, 200);
        button_->setGeometry(10, 20, kSize, kSize);
        button_->LoadStateBitmaps(Solid(kHover), Solid(kNormal), Solid(kPressed), Solid(kSpare));
    }

    // What a repaint draws at (x, y).
    QRgb Drawn(int x = 14, int y = 14) const {
        QImage target = Solid(kBlack);
        button_->DrawItem(target);
        return target.pixel(x, y) | 0xFF000000u;
    }

    void Send(QEvent::Type type, Qt::MouseButton button = Qt::NoButton) {
        const QPointF at(14, 14);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
        QMouseEvent event(type, at, button_->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(button_, &event);
    }
    void Leave() {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(button_, &event);
    }
    QTimer* HoverTimer() const { return button_->findChild<QTimer*>("hoverTimer"); }
    // The hover time has passed with the mouse at rest.
    void HoverTimeElapses() {
        QTimer* timer = HoverTimer();
        ASSERT_TRUE(timer->isActive());
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    }

    QWidget parent_;
    CControlButton* button_;
};

TEST_F(ControlButtonTest, StartsIdleAndDrawsTheNormalImage) {
    EXPECT_EQ(button_->m_bHover, 0);
    EXPECT_EQ(button_->m_bTracking, 0);
    EXPECT_EQ(button_->m_bLatched, 0);
    EXPECT_EQ(button_->m_bShaped, 0);
    EXPECT_EQ(Drawn(), kNormal);
    EXPECT_TRUE(button_->hasMouseTracking());
}

TEST_F(ControlButtonTest, HoverComesAfterTheHoverTimeAndLeaveClearsIt) {
    Send(QEvent::MouseMove);
    EXPECT_EQ(button_->m_bTracking, 1);
    EXPECT_EQ(button_->m_bHover, 0);
    EXPECT_EQ(HoverTimer()->interval(), 1);
    EXPECT_EQ(Drawn(), kNormal);  // not yet: the mouse has not rested
    HoverTimeElapses();
    EXPECT_EQ(button_->m_bHover, 1);
    EXPECT_EQ(Drawn(), kHover);

    // Pressing draws the pressed image over the hover image; releasing shows hover again.
    Send(QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(button_->isDown());
    EXPECT_EQ(Drawn(), kPressed);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(Drawn(), kHover);

    Leave();
    EXPECT_EQ(button_->m_bHover, 0);
    EXPECT_EQ(button_->m_bTracking, 0);
    EXPECT_FALSE(HoverTimer()->isActive());
    EXPECT_EQ(Drawn(), kNormal);
}

TEST_F(ControlButtonTest, LeavingBeforeTheHoverTimeNeverHovers) {
    Send(QEvent::MouseMove);
    Leave();
    EXPECT_FALSE(HoverTimer()->isActive());
    EXPECT_EQ(button_->m_bHover, 0);
}

TEST_F(ControlButtonTest, LatchedDrawsPressedUnlessHovering) {
    button_->m_bLatched = 1;
    EXPECT_EQ(Drawn(), kPressed);
    button_->OnMouseHover();
    EXPECT_EQ(Drawn(), kHover);
    button_->OnMouseLeave();
    EXPECT_EQ(Drawn(), kPressed);
    button_->m_bLatched = 0;
    EXPECT_EQ(Drawn(), kNormal);
}

TEST_F(ControlButtonTest, DisabledImageWinsWhenThereIsOne) {
    button_->setEnabled(false);
    button_->m_bLatched = 1;
    EXPECT_EQ(Drawn(), kPressed);  // no disabled image: the usual choice
    button_->m_bmpDisabled = Solid(kDisabled);
    EXPECT_EQ(Drawn(), kDisabled);
    button_->OnMouseHover();
    EXPECT_EQ(Drawn(), kDisabled);
    // Nothing is drawn pressed over the disabled image.
    button_->setDown(true);
    EXPECT_EQ(Drawn(), kDisabled);
    button_->setEnabled(true);
    EXPECT_EQ(Drawn(), kPressed);  // down and hovering
}

TEST_F(ControlButtonTest, ReloadingStateImagesReplacesThem) {
    button_->LoadStateBitmaps(Solid(kNormal), Solid(kHover), Solid(kSpare), Solid(kPressed));
    EXPECT_EQ(Drawn(), kHover);  // the new normal image
    button_->m_bLatched = 1;
    EXPECT_EQ(Drawn(), kSpare);  // the new pressed image; the spare one is never drawn
}

TEST_F(ControlButtonTest, TransparentModeShowsTheParentBackgroundAroundTheShape) {
    // A background whose every pixel tells where it came from.
    QImage skin(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) skin.setPixel(x, y, qRgb(x, y, 77));
    }
    button_->LoadStateBitmaps(Square(kHover, kWhite), Square(kNormal, kWhite),
                              Square(kPressed, kWhite), Square(kPressed, kWhite));
    button_->m_bTransparent = 1;
    button_->m_bmpMask = Square(kBlack, kWhite);
    button_->m_pBackground = &skin;
    button_->m_rcInParent = RECT{10, 20, 10 + kSize, 20 + kSize};
    button_->m_bHasBackground = 1;

    EXPECT_EQ(Drawn(14, 14), kNormal);
    EXPECT_EQ(Drawn(2, 3), qRgb(12, 23, 77));  // background under the corner
    EXPECT_EQ(Drawn(27, 27), qRgb(37, 47, 77));
    button_->setDown(true);
    EXPECT_EQ(Drawn(14, 14), kPressed);
    EXPECT_EQ(Drawn(2, 3), qRgb(12, 23, 77));

    // Without a background picture the button's own background bitmap is used.
    button_->setDown(false);
    button_->m_pBackground = nullptr;
    button_->m_bmpBack = Solid(qRgb(1, 2, 3), 100, 100);
    EXPECT_EQ(Drawn(2, 3), qRgb(1, 2, 3));
    // Without the background flag what was there stays outside the shape.
    button_->m_bHasBackground = 0;
    EXPECT_EQ(Drawn(2, 3), kBlack);
    EXPECT_EQ(Drawn(14, 14), kNormal);
}

TEST_F(ControlButtonTest, ShapeCutsTheWindowAlongTheWhiteKey) {
    button_->SetShape(Square(kBlack, kWhite));
    EXPECT_EQ(button_->m_bShaped, 1);
    EXPECT_EQ(button_->mask(), QRegion(6, 6, 16, 16));
}

TEST_F(ControlButtonTest, PaintingPutsTheImageOnScreen) {
    parent_.show();
    EXPECT_EQ(button_->grab().toImage().pixel(14, 14) | 0xFF000000u, kNormal);
    button_->m_bLatched = 1;
    EXPECT_EQ(button_->grab().toImage().pixel(14, 14) | 0xFF000000u, kPressed);
}

}  // namespace
