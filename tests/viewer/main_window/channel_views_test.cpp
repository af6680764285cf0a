// The channel views: the current channel and its forward-only rule, the three layouts and where
// they put the panes, and how the channel buttons, the pane clicks, the layout buttons and ON and
// OFF change the view and the device's mode.
#include <QMouseEvent>

#include "tests/viewer/main_window/channel_views_fixture.h"

namespace main_window_test {

void ChannelViewsTest::DoubleClickPane(int channel) {
    const QPointF at = QRectF(PaneRect(channel)).center();
    const QPointF global = window_->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &press);
    QCoreApplication::sendEvent(window_.get(), &release);
    QCoreApplication::sendEvent(window_.get(), &twice);
    QCoreApplication::sendEvent(window_.get(), &release);
}

namespace {

using std::chrono::seconds;

TEST_F(ChannelViewsTest, DisabledCurrentChannelMovesForwardOnlyAndCanEndAtNone) {
    EnableOnly(0b1101);  // channel 2 disabled
    OpenUnlocked("");
    Views().ShowChannel(2);
    EXPECT_EQ(Views().Channel(), 3);
    EXPECT_EQ(LatchedChannels(), 0b0100u);
    EXPECT_EQ(Views().FramedChannel(), 3);
    // The disabled channel's pane says so, and keeps saying so: its camera is not visited.
    EXPECT_EQ(Pane(2)->Picture(), channel_views::DrawClosedPicture(2, Pane(2)->size()));
    EXPECT_TRUE(Pane(1)->Picture().isNull());

    // Channels 3 and 4 disabled too (the settings stored and loaded again): from 2 it ends at
    // none, although channel 1 is enabled.
    EnableOnly(0b0001);
    window_->ReloadGrabberSettings();
    Views().ShowChannel(2);
    EXPECT_EQ(Views().Channel(), 0);
    EXPECT_EQ(LatchedChannels(), 0u);
    EXPECT_EQ(Views().FramedChannel(), 0);
    // Asking for no channel takes the lowest enabled one.
    Views().ShowChannel(0);
    EXPECT_EQ(Views().Channel(), 1);
    EXPECT_EQ(LatchedChannels(), 0b0001u);
}

TEST_F(ChannelViewsTest, BigAndSmallLayoutOfChannelThree) {
    OpenUnlocked("");
    // Where the panes sit at start-up: 1 top left, 4 top right, 2 bottom left, 3 bottom right.
    const QRect topLeft = PaneRect(1);
    const QRect bottomRight = PaneRect(3);
    const QRect full(topLeft.topLeft(), bottomRight.bottomRight());
    const int w = full.width();
    const int h = full.height();
    ASSERT_GT(w, 300);

    Click(IDC_CHANNEL3);
    Click(IDC_STYLE2);
    ASSERT_EQ(Views().Layout(), 3);
    EXPECT_EQ(Views().Channel(), 3);
    const int bigBottom = full.top() + (3 * h) / 4 - 4;  // exclusive
    EXPECT_EQ(PaneRect(3), QRect(full.left(), full.top(), w, bigBottom - full.top()));
    // The bottom strip, 8 pixels below, shared left to right by 1, 2 and 4 with 8-pixel gaps.
    const int top = bigBottom + 8;
    const int stripHeight = full.bottom() + 1 - top;
    EXPECT_EQ(PaneRect(1), QRect(full.left(), top, w / 3 - 4, stripHeight));
    EXPECT_EQ(PaneRect(2), QRect(full.left() + w / 3 + 4, top, w / 3 - 4, stripHeight));
    EXPECT_EQ(PaneRect(4), QRect(full.left() + 2 * (w / 3) + 8, top,
                                 full.right() + 1 - (full.left() + 2 * (w / 3) + 8), stripHeight));
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(PaneShown(n)) << n;
    // The renderers draw into the panes' new sizes.
    EXPECT_EQ(Pane(3)->VideoDestination().right, PaneRect(3).width());
    EXPECT_EQ(Pane(1)->VideoDestination().bottom, stripHeight);

    // Another channel in this layout takes the big place; back to quad restores the places.
    Click(IDC_CHANNEL4);
    EXPECT_EQ(PaneRect(4).top(), full.top());
    EXPECT_EQ(PaneRect(3).top(), top);
    Click(IDC_STYLE1);
    EXPECT_EQ(Views().Layout(), 4);
    EXPECT_EQ(PaneRect(1), topLeft);
    EXPECT_EQ(PaneRect(3), bottomRight);
}

TEST_F(ChannelViewsTest, DoubleClickShowsOneChannelAloneOnTheDeviceAndBackToCycling) {
    OpenUnlocked("");
    const QRect quad2 = PaneRect(2);
    ASSERT_TRUE(Device().cycling);
    DoubleClickPane(2);
    EXPECT_EQ(Views().Layout(), 1);
    EXPECT_EQ(Views().Channel(), 2);
    EXPECT_EQ(PaneRect(2), ToQRect(Views().Rects().full));
    EXPECT_TRUE(PaneShown(2));
    EXPECT_FALSE(PaneShown(1));
    EXPECT_FALSE(PaneShown(3));
    EXPECT_FALSE(PaneShown(4));
    EXPECT_TRUE(DeviceFixedOn(2));
    EXPECT_TRUE(Latched(IDC_OFF));
    EXPECT_FALSE(Latched(IDC_ON));

    DoubleClickPane(2);
    EXPECT_EQ(Views().Layout(), 4);
    EXPECT_EQ(PaneRect(2), quad2);
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(PaneShown(n)) << n;
    EXPECT_TRUE(Device().cycling);
    EXPECT_TRUE(Latched(IDC_ON));
    EXPECT_FALSE(Latched(IDC_OFF));
    EXPECT_EQ(prompts_.Records().size(), 0u);
}

TEST_F(ChannelViewsTest, WhileRecordingOnlyTheRecordedChannelFillsTheWindowAndTheDeviceStays) {
    OpenUnlocked("");
    Click(IDC_OFF);
    ASSERT_TRUE(DeviceFixedOn(1));
    window_->Recording().RecordingStarted(u"/tmp/channel1.avi");

    Click(IDC_CHANNEL3);
    Views().OnPaneClick(3);
    EXPECT_EQ(Views().Channel(), 1);
    EXPECT_TRUE(DeviceFixedOn(1));
    Views().OnPaneDoubleClick(3);  // not the recorded channel
    EXPECT_EQ(Views().Layout(), 4);

    Views().OnPaneDoubleClick(1);
    EXPECT_EQ(Views().Layout(), 1);
    EXPECT_TRUE(DeviceFixedOn(1));
    // Back to quad without starting the round-robin: the recorded input stays on.
    Views().OnPaneDoubleClick(1);
    EXPECT_EQ(Views().Layout(), 4);
    EXPECT_TRUE(DeviceFixedOn(1));
    EXPECT_TRUE(Latched(IDC_OFF));
    // ON and OFF leave the device alone too.
    Click(IDC_ON);
    EXPECT_TRUE(DeviceFixedOn(1));
    EXPECT_TRUE(Latched(IDC_OFF));
}

TEST_F(ChannelViewsTest, CyclingMovesOnlyTheViewFixedModeAlsoSwitchesTheInput) {
    OpenUnlocked("");
    Click(IDC_CHANNEL3);
    EXPECT_EQ(Views().Channel(), 3);
    EXPECT_EQ(LatchedChannels(), 0b0100u);
    EXPECT_EQ(Views().FramedChannel(), 3);
    EXPECT_TRUE(Device().cycling);
    EXPECT_TRUE(Latched(IDC_ON));

    // The red frame round pane 3 and blue round the others, just outside each pane.
    const QImage picture = window_->grab().toImage();
    const auto outside = [&](int channel) {
        const QRect r = PaneRect(channel);
        return QColor(picture.pixel(r.left() - 1, r.center().y()));
    };
    EXPECT_EQ(outside(3), QColor(255, 0, 0));
    EXPECT_EQ(outside(1), QColor(0, 0, 255));
    EXPECT_EQ(outside(4), QColor(0, 0, 255));

    Click(IDC_OFF);
    EXPECT_TRUE(DeviceFixedOn(3));
    Click(IDC_CHANNEL2);
    EXPECT_TRUE(DeviceFixedOn(2));
    EXPECT_EQ(Views().Channel(), 2);
    Views().OnPaneClick(4);
    EXPECT_TRUE(DeviceFixedOn(4));
    EXPECT_EQ(LatchedChannels(), 0b1000u);
    // ON returns to the round-robin and keeps the channel.
    Click(IDC_ON);
    EXPECT_TRUE(Device().cycling);
    EXPECT_EQ(Views().Channel(), 4);
    EXPECT_TRUE(Latched(IDC_ON));
}

TEST_F(ChannelViewsTest, OffWithoutCurrentChannelTakesTheLowestChannelWithSignal) {
    OpenUnlocked("signal=2,4");
    Views().ShowChannel(5);  // no such channel: none is current
    ASSERT_EQ(Views().Channel(), 0);
    Click(IDC_OFF);
    EXPECT_EQ(Views().Channel(), 2);
    EXPECT_TRUE(DeviceFixedOn(2));
    EXPECT_TRUE(Latched(IDC_OFF));
}

TEST_F(ChannelViewsTest, OffWithoutCurrentChannelAndWithoutSignalSelectsNothing) {
    OpenUnlocked("signal=none");
    Views().ShowChannel(5);
    ASSERT_EQ(Views().Channel(), 0);
    Click(IDC_OFF);
    EXPECT_EQ(Views().Channel(), 0);
    EXPECT_TRUE(Device().cycling);
    EXPECT_TRUE(Latched(IDC_ON));
    EXPECT_FALSE(Latched(IDC_OFF));
}

TEST_F(ChannelViewsTest, LayoutButtonsSwitchLayoutAndModeOnlyWhenTheLayoutChanges) {
    OpenUnlocked("");
    Click(IDC_CHANNEL2);
    Click(IDC_STYLE3);
    EXPECT_EQ(Views().Layout(), 1);
    EXPECT_TRUE(DeviceFixedOn(2));
    // A channel button in single view shows that channel alone on the device.
    Click(IDC_CHANNEL4);
    EXPECT_EQ(Views().Layout(), 1);
    EXPECT_TRUE(DeviceFixedOn(4));
    EXPECT_TRUE(PaneShown(4));
    EXPECT_FALSE(PaneShown(2));
    // ON does nothing in single view; clicks on the pane neither.
    Click(IDC_ON);
    Views().OnPaneClick(4);
    EXPECT_TRUE(DeviceFixedOn(4));

    Click(IDC_STYLE2);
    EXPECT_EQ(Views().Layout(), 3);
    EXPECT_TRUE(Device().cycling);
    EXPECT_EQ(Views().Channel(), 4);
    // The same layout again changes nothing, not even the mode.
    Click(IDC_OFF);
    ASSERT_TRUE(DeviceFixedOn(4));
    Click(IDC_STYLE2);
    EXPECT_TRUE(DeviceFixedOn(4));
    // A click on a small pane in fixed mode switches the input and makes it big.
    Views().OnPaneClick(1);
    EXPECT_TRUE(DeviceFixedOn(1));
    EXPECT_EQ(PaneRect(1), ToQRect(Views().Rects().big));
    // Leaving big-and-small for quad leaves the mode alone.
    Click(IDC_STYLE1);
    EXPECT_EQ(Views().Layout(), 4);
    EXPECT_TRUE(DeviceFixedOn(1));
}

TEST_F(ChannelViewsTest, ApplyLayoutAnswersForMissingCaptureAndUnknownLayouts) {
    OpenUnlocked("");
    EXPECT_EQ(Views().ApplyLayout(2), 5);
    EXPECT_EQ(Views().Layout(), 4);
    EXPECT_EQ(Views().ApplyLayout(3), 0);
    EXPECT_EQ(Views().Layout(), 3);
    window_->OnDeviceRemoved();  // the capture is gone; the layout stays
    EXPECT_EQ(Views().ApplyLayout(1), 4);
    EXPECT_EQ(Views().Layout(), 3);
}

TEST_F(ChannelViewsTest, DisabledChannelsTakeNoButtonOrClick) {
    EnableOnly(0b1011);  // channel 3 disabled
    OpenUnlocked("");
    Click(IDC_OFF);
    ASSERT_TRUE(DeviceFixedOn(1));
    Click(IDC_CHANNEL3);
    Views().OnPaneClick(3);
    Views().OnPaneDoubleClick(3);
    EXPECT_EQ(Views().Channel(), 1);
    EXPECT_EQ(Views().Layout(), 4);
    EXPECT_TRUE(DeviceFixedOn(1));
}

TEST_F(ChannelViewsTest, ActionsWaitForTheLogin) {
    Attach("");
    Open();
    StepTo(seconds(3));
    PassFirstRunNotice();
    // Each refused login stops its action.
    for (int id : {IDC_CHANNEL3, IDC_STYLE3, IDC_OFF, IDC_SEARCH, IDC_SHOW_STAMP, IDC_VOLUME_ON,
                   IDC_CHANNEL_SETTING, IDC_PROPERTY}) {
        prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });
        Click(id);
    }
    EXPECT_EQ(prompts_.Records().size(), 8u);
    EXPECT_EQ(prompts_.PendingSteps(), 0u);
    EXPECT_EQ(Views().Channel(), 1);
    EXPECT_EQ(Views().Layout(), 4);
    EXPECT_TRUE(Device().cycling);
    EXPECT_EQ(Device().searchState, devices::SearchState::Finished);
    EXPECT_TRUE(Latched(IDC_SHOW_STAMP));
    EXPECT_TRUE(Shown(IDC_VOLUME_ON));
    EXPECT_TRUE(Locked());
}

}  // namespace
}  // namespace main_window_test
