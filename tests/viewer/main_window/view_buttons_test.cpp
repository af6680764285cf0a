// The display and device buttons of the channel views: the stamp, the sound, and the grabber's
// property page with the video standard stored afterwards.
#include <QComboBox>

#include "platform/device_pages/device_pages.h"
#include "platform/device_pages/grabber_page_template.h"
#include "platform/devices/analog_video_standard.h"
#include "platform/media/interfaces/ibasic_audio.h"
#include "platform/ui/property_frame.h"
#include "tests/viewer/main_window/channel_views_fixture.h"

namespace main_window_test {
namespace {

DWORD StoredTvFormat() {
    DWORD value = 0xFFFFFFFF;
    EXPECT_TRUE(ReadSettingDword(OpenSettingsKey(), setting::kTvFormat, &value));
    return value;
}

TEST_F(ChannelViewsTest, ShowStampTurnsTitleAndTimeOffAndOn) {
    OpenUnlocked("");
    ASSERT_TRUE(Latched(IDC_SHOW_STAMP));
    Click(IDC_SHOW_STAMP);
    EXPECT_FALSE(Latched(IDC_SHOW_STAMP));
    EXPECT_EQ(window_->Capture().Graph()->showTitle, 0);
    EXPECT_EQ(window_->Capture().Graph()->showTime, 0);
    Click(IDC_SHOW_STAMP);
    EXPECT_TRUE(Latched(IDC_SHOW_STAMP));
    EXPECT_EQ(window_->Capture().Graph()->showTitle, 1);
    EXPECT_EQ(window_->Capture().Graph()->showTime, 1);
}

TEST_F(ChannelViewsTest, VolumeButtonsMuteAndRestoreTheSound) {
    OpenUnlocked("");
    ComPtr<IBasicAudio> audio;
    ASSERT_EQ(window_->Capture().Graph()->graph.As(&audio), S_OK);
    Click(IDC_VOLUME_ON);
    LONG volume = 1;
    EXPECT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -10000);
    EXPECT_FALSE(Shown(IDC_VOLUME_ON));
    EXPECT_TRUE(Shown(IDC_VOLUME_OFF));
    EXPECT_FALSE(window_->Capture().VolumeOn());
    Click(IDC_VOLUME_OFF);
    EXPECT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, 0);
    EXPECT_TRUE(Shown(IDC_VOLUME_ON));
    EXPECT_FALSE(Shown(IDC_VOLUME_OFF));
    EXPECT_TRUE(window_->Capture().VolumeOn());
}

TEST_F(ChannelViewsTest, PropertyPageChoosesTheVideoStandardWhichIsThenStored) {
    RegisterDevicePages();
    OpenUnlocked("");
    ASSERT_EQ(StoredTvFormat(), static_cast<DWORD>(devices::AnalogVideo_PAL_D));
    prompts_.PlayModal([](QDialog& dialog) {
        auto& frame = dynamic_cast<CPropertyFrame&>(dialog);
        ASSERT_EQ(frame.PageCount(), 1);
        QWidget* page = frame.PageParent(0)->findChild<QWidget*>();
        auto* list = qobject_cast<QComboBox*>(GetDlgItem(page, device_pages::IDC_VIDEO_STANDARD));
        ASSERT_NE(list, nullptr);
        const int ntsc = list->findText(QStringLiteral("NTSC-M"));
        ASSERT_GE(ntsc, 0);
        list->setCurrentIndex(ntsc);
        emit list->activated(ntsc);
        ClickDlgButton(&frame, IDOK);
    });
    Click(IDC_PROPERTY);
    EXPECT_EQ(prompts_.PendingSteps(), 0u);
    EXPECT_EQ(Device().videoStandard, devices::AnalogVideo_NTSC_M);
    EXPECT_EQ(StoredTvFormat(), static_cast<DWORD>(devices::AnalogVideo_NTSC_M));
    // The capture keeps running on the same graph.
    EXPECT_NE(window_->Capture().Graph(), nullptr);
}

TEST_F(ChannelViewsTest, PropertyPageCancelledStoresTheUnchangedStandard) {
    RegisterDevicePages();
    OpenUnlocked("");
    ASSERT_TRUE(WriteSettingDword(OpenSettingsKey(), setting::kTvFormat, 0x10));
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });
    Click(IDC_PROPERTY);
    // What the device runs is read back and stored, whatever the setting said.
    EXPECT_EQ(StoredTvFormat(), static_cast<DWORD>(devices::AnalogVideo_PAL_D));
}

}  // namespace
}  // namespace main_window_test
