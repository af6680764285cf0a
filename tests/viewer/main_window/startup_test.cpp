// Start-up of the main window: locked, the watch timer armed, the capture started with the
// grabber or silently absent without it, the skin and its controls in place.
#include "platform/devices/simulated_grabber.h"
#include "platform/ui/dialog_units.h"
#include "tests/viewer/main_window/main_window_fixture.h"
#include "viewer/main_window/skin_artwork.h"
#include "viewer/main_window/video_pane.h"
#include "viewer/widgets/bitmap_resource.h"
#include "viewer/widgets/control_button.h"

namespace main_window_test {
namespace {

TEST_F(MainWindowTest, WithoutGrabberOpensLockedWithOnlyTheWatchTimerAndNoMessage) {
    Open();
    EXPECT_TRUE(Locked());
    EXPECT_TRUE(Shown(IDC_UNLOCK));
    EXPECT_FALSE(Shown(IDC_LOCKED));
    EXPECT_TRUE(Shown(IDC_VOLUME_ON));
    EXPECT_FALSE(Shown(IDC_VOLUME_OFF));
    EXPECT_FALSE(Shown(IDC_ALARM));
    EXPECT_TRUE(window_->Capture().VolumeOn());
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(CurrentCaptureGraph(), nullptr);
    EXPECT_TRUE(Running(ID_TIMER_WATCH));
    for (const UINT other :
         {ID_TIMER_STAMP, ID_TIMER_SNAP, ID_TIMER_DISKSPACE, ID_TIMER_SEARCH, ID_TIMER_FILESIZE})
        EXPECT_FALSE(Running(other)) << other;
    EXPECT_TRUE(prompts_.Records().empty());
    // The settings were loaded: the first run, and the countdown from the default timeout.
    ASSERT_NE(window_->Settings(), nullptr);
    EXPECT_EQ(window_->Settings()->firstRun, 1);
    EXPECT_EQ(window_->Lock().State().lockCountdown, 900);
}

TEST_F(MainWindowTest, WithGrabberCaptureStartsSearchingCyclingAndStamping) {
    Attach("signal=1,3");
    Open();
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(window_->Capture().Graph(), CurrentCaptureGraph());
    EXPECT_TRUE(Locked());  // video runs while locked
    EXPECT_TRUE(Running(ID_TIMER_WATCH));
    EXPECT_TRUE(Running(ID_TIMER_STAMP));
    EXPECT_TRUE(Running(ID_TIMER_SEARCH));
    EXPECT_EQ(window_->Timers().Find(ID_TIMER_STAMP)->interval(), 1000);
    EXPECT_EQ(window_->Timers().Find(ID_TIMER_SEARCH)->interval(), 800);
    EXPECT_EQ(window_->Timers().Find(ID_TIMER_WATCH)->interval(), 3000);
    EXPECT_TRUE(Latched(IDC_ON));
    EXPECT_FALSE(Latched(IDC_OFF));
    EXPECT_TRUE(Latched(IDC_SHOW_STAMP));
    EXPECT_EQ(window_->Alarms().Masks().seen, -1);
    EXPECT_EQ(window_->Alarms().Masks().baseline, -1);

    const CaptureGraph& graph = *window_->Capture().Graph();
    EXPECT_EQ(std::u16string(graph.channelTitles[0]), u"Channel 1");
    EXPECT_EQ(std::u16string(graph.channelTitles[3]), u"Channel 4");
    for (const ComPtr<IBaseFilter>& renderer : graph.renderers) EXPECT_TRUE(renderer);
    ASSERT_NE(graph.snapIcon, nullptr);
    EXPECT_EQ(graph.snapIcon->bmWidth, 22);
    EXPECT_EQ(graph.snapIcon->bmHeight, 23);

    // The device was told: search, all channels valid (automatic control), fast turning,
    // cycling, record quality 0.
    const devices::GrabberStatus status = device_->Grabber().Status();
    EXPECT_NE(status.searchState, devices::SearchState::NotRun);
    EXPECT_EQ(status.validInputs, 0x0F);
    EXPECT_TRUE(status.cycling);
    EXPECT_TRUE(status.fastTurning);
    EXPECT_EQ(status.recordQuality, 0);
    EXPECT_TRUE(prompts_.Records().empty());
}

TEST_F(MainWindowTest, ManualChannelControlSendsTheEnabledChannelsAndTheTurnSpan) {
    Attach("");
    SetDword(setting::kChannelControlMode, 1);
    SetDword(setting::kChannelEnable[1], 0);
    SetDword(setting::kChannelTurnSpan, 5);
    SetDword(setting::kFastTurning, 0);
    SetString(setting::kChannelName[2], u"北门");
    Open();
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    const devices::GrabberStatus status = device_->Grabber().Status();
    EXPECT_EQ(status.validInputs, 0x0D);
    EXPECT_EQ(status.turnSpan, 5);
    EXPECT_FALSE(status.fastTurning);
    EXPECT_EQ(std::u16string(window_->Capture().Graph()->channelTitles[2]), u"北门");
}

TEST_F(MainWindowTest, AChannelNameOfTheWrongTypeIsTheFirstRunTitleAndStartUpFinishes) {
    Attach("");
    SetDword(setting::kChannelName[2], 3);  // a number where a text belongs
    SetString(setting::kChannelName[1], u"北门");
    SetDword(setting::kChannelControlMode, 1);
    SetDword(setting::kChannelEnable[3], 0);
    Open();
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    const auto Title = [this](int k) {
        return std::u16string(window_->Capture().Graph()->channelTitles[k]);
    };
    EXPECT_EQ(Title(2), u"Channel 3");
    EXPECT_EQ(Title(1), u"北门");
    EXPECT_EQ(Title(0), u"Channel 1");
    // The channels after the titles are configured, and start-up goes on to its end.
    EXPECT_EQ(device_->Grabber().Status().validInputs, 0x07);
    EXPECT_TRUE(Latched(IDC_SHOW_STAMP));
    EXPECT_NE(window_->Capture().Graph()->snapIcon, nullptr);
}

TEST_F(MainWindowTest, SkinGivesTheWindowItsSizeAndShape) {
    Open();
    EXPECT_EQ(window_->size(), QSize(881, 608));
    EXPECT_EQ(window_->pos(), QPoint(0, 0));
    const QImage skin = LoadBitmapResource(IDB_SKIN);
    ASSERT_FALSE(skin.isNull());
    const QRegion shape = window_->mask();
    ASSERT_FALSE(shape.isEmpty());
    int outside = 0;
    for (int y = 0; y < skin.height(); y += 7) {
        for (int x = 0; x < skin.width(); x += 7) {
            const bool green = (skin.pixel(x, y) & 0xFFFFFF) == 0x00FF00;
            outside += green ? 1 : 0;
            ASSERT_EQ(shape.contains(QPoint(x, y)), !green) << x << "," << y;
        }
    }
    EXPECT_GT(outside, 0);  // the outline is not a plain rectangle
}

TEST_F(MainWindowTest, ButtonsAndPanesSitAtSevenFourthsPixelPerDialogUnit) {
    Open();
    const DialogUnitMapping map = DialogUnitMapping::Fixed(7, 4);
    EXPECT_EQ(window_->Button(IDC_CHANNEL1)->geometry(), map.ToPixels(409, 21, 18, 18));
    EXPECT_EQ(window_->Button(IDC_SEARCH)->geometry(), map.ToPixels(154, 310, 49, 25));
    EXPECT_EQ(window_->Button(IDC_CLOSE)->geometry(), map.ToPixels(491, 2, 9, 9));
    EXPECT_EQ(window_->Pane(0)->geometry(), map.ToPixels(15, 11, 180, 136));
    EXPECT_EQ(window_->Pane(1)->geometry(), map.ToPixels(15, 149, 180, 136));
    EXPECT_EQ(window_->Pane(2)->geometry(), map.ToPixels(199, 149, 180, 136));
    EXPECT_EQ(window_->Pane(3)->geometry(), map.ToPixels(199, 11, 180, 136));

    for (const ButtonArtwork& artwork : ButtonArtworkTable()) {
        const CControlButton* button = window_->Button(artwork.id);
        ASSERT_NE(button, nullptr) << artwork.id;
        // Every button paints its background from the one skin of the window.
        ASSERT_NE(button->m_pBackground, nullptr) << artwork.id;
        EXPECT_EQ(button->m_pBackground,
                  window_->Button(ButtonArtworkTable().front().id)->m_pBackground);
        EXPECT_EQ(button->m_pBackground->size(), window_->size()) << artwork.id;
        EXPECT_EQ(button->m_rcInParent.left, button->x()) << artwork.id;
        EXPECT_EQ(button->m_rcInParent.bottom, button->y() + button->height()) << artwork.id;
        EXPECT_EQ(button->m_bTransparent, 1);
        EXPECT_EQ(button->m_bShaped, 1);
        EXPECT_FALSE(button->mask().isEmpty()) << artwork.id;
        EXPECT_FALSE(button->m_bmpNormal.isNull()) << artwork.id;
        EXPECT_EQ(button->m_bmpDisabled.isNull(), artwork.disabled == 0) << artwork.id;
    }
    EXPECT_FALSE(window_->Button(IDC_CHANNEL_SETTING)->m_bmpDisabled.isNull());
}

TEST_F(MainWindowTest, LayoutRectanglesComeFromTheQuadPanes) {
    Open();
    // Panes at 7/4 pixel per unit: channel 1 at (26, 19) and channel 3 ending at (663, 499),
    // 315 x 238 each; the full rectangle is 637 x 480.
    const auto same = [](const RECT& r, LONG l, LONG t, LONG rr, LONG b) {
        return r.left == l && r.top == t && r.right == rr && r.bottom == b;
    };
    const channel_views::LayoutRects& rects = window_->Channels().Rects();
    EXPECT_TRUE(same(rects.quad[0], 26, 19, 341, 257));
    EXPECT_TRUE(same(rects.full, 26, 19, 663, 499));
    EXPECT_TRUE(same(rects.big, 26, 19, 663, 375));  // 19 + 480 * 3 / 4 - 4
    EXPECT_TRUE(same(rects.small[0], 26, 383, 234, 499));
    EXPECT_TRUE(same(rects.small[1], 242, 383, 450, 499));
    EXPECT_TRUE(same(rects.small[2], 458, 383, 663, 499));
}

}  // namespace
}  // namespace main_window_test
