// The video pane: the latest frame scaled into the video destination, the picture laid over it
// until the next frame, and clearing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>

#include "platform/media/renderers/latest_frame_slot.h"
#include "viewer/main_window/video_pane.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kGreen = 0xFF00FF00;

// A frame whose left half is `left` and right half `right`.
std::shared_ptr<const VideoFrame> Frame(std::uint32_t left, std::uint32_t right) {
    auto frame = std::make_shared<VideoFrame>();
    frame->Resize(8, 6);
    for (LONG y = 0; y < 6; ++y)
        for (LONG x = 0; x < 8; ++x) frame->Row(y)[x] = x < 4 ? left : right;
    return frame;
}

QRgb At(CVideoPane& pane, int x, int y) {
    return pane.grab().toImage().pixel(x, y) | 0xFF000000u;
}

class VideoPaneTest : public testing::Test {
  protected:
    void SetUp() override { pane_.resize(100, 80); }
    void Publish(std::shared_ptr<const VideoFrame> frame) {
        pane_.FrameSlot()->Publish(std::move(frame));
        QCoreApplication::sendPostedEvents();
    }
    CVideoPane pane_{nullptr};
};

TEST_F(VideoPaneTest, ShowsBlackUntilTheFirstFrame) {
    EXPECT_EQ(At(pane_, 50, 40), 0xFF000000u);
    EXPECT_EQ(pane_.FramesShown(), 0);
    EXPECT_EQ(pane_.ClientSize().cx, 100);
    EXPECT_EQ(pane_.ClientSize().cy, 80);
}

TEST_F(VideoPaneTest, LatestFrameIsScaledIntoTheVideoDestination) {
    pane_.FrameSlot()->SetPosition({{0, 0, 8, 6}, {0, 0, 100, 80}});
    Publish(Frame(kBlue, kBlue));
    Publish(Frame(kRed, kBlue));  // replaces the one not yet painted
    EXPECT_EQ(At(pane_, 10, 40), kRed);
    EXPECT_EQ(At(pane_, 90, 40), kBlue);
    EXPECT_EQ(pane_.FramesShown(), 1);
    // A destination in the lower half leaves the upper half black.
    pane_.FrameSlot()->SetPosition({{0, 0, 8, 6}, {0, 40, 100, 80}});
    EXPECT_EQ(At(pane_, 10, 20), 0xFF000000u);
    EXPECT_EQ(At(pane_, 10, 60), kRed);
    // Only the source part of the frame is shown: its right half fills the pane.
    pane_.FrameSlot()->SetPosition({{4, 0, 8, 6}, {0, 0, 100, 80}});
    EXPECT_EQ(At(pane_, 10, 40), kBlue);
}

// A fitted frame of w × h: one-pixel columns alternating red and blue, which any scaling or
// smoothing would blend.
std::shared_ptr<const VideoFrame> FittedColumns(LONG w, LONG h) {
    auto frame = std::make_shared<VideoFrame>();
    frame->Resize(w, h);
    frame->fitted = true;
    for (LONG y = 0; y < h; ++y)
        for (LONG x = 0; x < w; ++x) frame->Row(y)[x] = x % 2 ? kBlue : kRed;
    return frame;
}

TEST_F(VideoPaneTest, AFittedFrameIsPaintedPixelForPixelIntoItsDestination) {
    // The renderer made the picture at the destination's size, from part of the video: the
    // source rectangle is not applied again.
    pane_.FrameSlot()->SetPosition({{200, 100, 400, 300}, {3, 5, 64, 50}});
    Publish(FittedColumns(61, 45));
    const QImage shot = pane_.grab().toImage();
    bool exact = true;
    for (int y = 5; y < 50; ++y)
        for (int x = 3; x < 64; ++x)
            exact = exact && (shot.pixel(x, y) | 0xFF000000u) == ((x - 3) % 2 ? kBlue : kRed);
    EXPECT_TRUE(exact);
    EXPECT_EQ(shot.pixel(1, 1) | 0xFF000000u, 0xFF000000u);  // black around it
    EXPECT_EQ(shot.pixel(70, 60) | 0xFF000000u, 0xFF000000u);
    // The destination grew before a frame of the new size came: the old picture fills it.
    pane_.FrameSlot()->SetPosition({{200, 100, 400, 300}, {0, 0, 100, 80}});
    EXPECT_NE(At(pane_, 95, 75), 0xFF000000u);
}

TEST_F(VideoPaneTest, PictureStaysOverTheVideoUntilTheNextFrame) {
    Publish(Frame(kRed, kRed));
    EXPECT_EQ(At(pane_, 5, 5), kRed);
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(kGreen);
    pane_.SetPicture(picture);
    EXPECT_EQ(At(pane_, 5, 5), kGreen);
    EXPECT_EQ(At(pane_, 5, 5), kGreen);  // repaints keep it
    EXPECT_EQ(At(pane_, 50, 50), kRed);
    Publish(Frame(kBlue, kBlue));
    EXPECT_EQ(At(pane_, 5, 5), kBlue);
    EXPECT_TRUE(pane_.Picture().isNull());
}

TEST_F(VideoPaneTest, TheFrameAlreadyShownHandedOverAgainKeepsThePicture) {
    // A renderer given its pane again (a new layout) hands over its latest frame, which the pane
    // may be showing already: a closed channel's pane must keep its picture then.
    const std::shared_ptr<const VideoFrame> last = Frame(kRed, kRed);
    Publish(last);
    EXPECT_EQ(At(pane_, 5, 5), kRed);
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(kGreen);
    pane_.SetPicture(picture);
    Publish(last);
    EXPECT_EQ(At(pane_, 5, 5), kGreen);
    EXPECT_FALSE(pane_.Picture().isNull());
    EXPECT_EQ(pane_.FramesShown(), 1);
}

TEST_F(VideoPaneTest, ClearingForgetsTheFrameAndThePicture) {
    Publish(Frame(kRed, kRed));
    EXPECT_EQ(At(pane_, 5, 5), kRed);
    pane_.SetPicture(QImage(10, 10, QImage::Format_RGB32));
    pane_.ClearVideo();
    EXPECT_EQ(At(pane_, 5, 5), 0xFF000000u);
    EXPECT_EQ(At(pane_, 50, 50), 0xFF000000u);
    EXPECT_TRUE(pane_.Picture().isNull());
}

}  // namespace
