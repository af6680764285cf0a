#include "viewer/settings/grabber_settings.h"

#include <gtest/gtest.h>

#include "tests/viewer/settings/settings_fixture.h"
#include "viewer/settings/settings_schema.h"

namespace {

class GrabberSettingsTest : public SettingsTest {
  protected:
    GrabberSettings Load() {
        GrabberSettings s{};
        EXPECT_EQ(LoadGrabberSettings(&s, OpenSettingsKey()), 1);
        return s;
    }
    void Set(LPCWSTR name, DWORD value) { ASSERT_TRUE(WriteSettingDword(Open(), name, value)); }
    void Remove(LPCWSTR name) { RegDeleteValueW(Open()->key, name); }
};

TEST_F(GrabberSettingsTest, FirstLoadAfterTheDefaults) {
    const GrabberSettings first = Load();
    EXPECT_EQ(first.firstRun, 1);
    EXPECT_EQ(first.automaticChannelControl, 1);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(first.channelEnabled[c], 1);
    EXPECT_EQ(first.autoLockEnabled, 1);
    EXPECT_EQ(first.autoLockSeconds, 900);
    EXPECT_EQ(first.mailOnSignalLoss, 0);
    EXPECT_EQ(first.soundOnSignalLoss, 1);
    EXPECT_EQ(first.smtpAuth, 0);
    EXPECT_EQ(std::u16string(first.mailTitle), u"Alarm");
    EXPECT_EQ(std::u16string(first.mailSrc), u"plomtek");
    EXPECT_EQ(std::u16string(first.smtpServer), u"");
    EXPECT_EQ(Load().firstRun, 0);
    EXPECT_EQ(Load().firstRun, 0);
    EXPECT_EQ(LoadGrabberSettings(nullptr, OpenSettingsKey()), 0);
    GrabberSettings s{};
    EXPECT_EQ(LoadGrabberSettings(&s, nullptr), 0);
}

TEST_F(GrabberSettingsTest, LoginTimeoutOnlyOneToSixtyMinutesCount) {
    const std::pair<DWORD, int> cases[] = {{5, 300}, {60, 3600}, {1, 60},
                                           {0, 900}, {61, 900},  {900, 900}};
    for (auto [minutes, seconds] : cases) {
        Set(u"Login Timeout", minutes);
        EXPECT_EQ(Load().autoLockSeconds, seconds) << minutes;
    }
    Remove(u"Login Timeout");
    EXPECT_EQ(Load().autoLockSeconds, 900);
}

TEST_F(GrabberSettingsTest, ChannelControlModeDecidesWhichChannelsAreEnabled) {
    Set(u"Channel II Enable", 0);
    Set(u"Channel Control Mode", 1);
    GrabberSettings s = Load();
    EXPECT_EQ(s.automaticChannelControl, 0);
    EXPECT_EQ((std::vector<int>{s.channelEnabled[0], s.channelEnabled[1], s.channelEnabled[2],
                                s.channelEnabled[3]}),
              (std::vector<int>{1, 0, 1, 1}));
    Set(u"Channel Control Mode", 2);
    s = Load();
    EXPECT_EQ(s.automaticChannelControl, 1);
    EXPECT_EQ(s.channelEnabled[1], 1);
    Set(u"Channel Control Mode", 3);
    s = Load();
    EXPECT_EQ(s.automaticChannelControl, 0);
    EXPECT_EQ(s.channelEnabled[1], 0);
    Remove(u"Channel Control Mode");
    s = Load();
    EXPECT_EQ(s.automaticChannelControl, 1);
    EXPECT_EQ(s.channelEnabled[1], 1);
    // Manual control with an enable value missing: that channel is off.
    Set(u"Channel Control Mode", 1);
    Remove(u"Channel IV Enable");
    EXPECT_EQ(Load().channelEnabled[3], 0);
}

TEST_F(GrabberSettingsTest, SignalLoseAlarmUsesTheTwoLowBits) {
    Set(u"Signal Lose Alarm", 3);
    GrabberSettings s = Load();
    EXPECT_EQ(s.mailOnSignalLoss, 1);
    EXPECT_EQ(s.soundOnSignalLoss, 1);
    Set(u"Signal Lose Alarm", 0x101);
    s = Load();
    EXPECT_EQ(s.mailOnSignalLoss, 1);
    EXPECT_EQ(s.soundOnSignalLoss, 0);
    Remove(u"Signal Lose Alarm");
    s = Load();
    EXPECT_EQ(s.mailOnSignalLoss, 0);
    EXPECT_EQ(s.soundOnSignalLoss, 0);
    Set(u"SMTP Server Auth", 7);
    Set(u"Login Timeout Flag", 0);
    s = Load();
    EXPECT_EQ(s.smtpAuth, 1);
    EXPECT_EQ(s.autoLockEnabled, 0);
}

TEST_F(GrabberSettingsTest, MailPortAndSecurityAreNotWrittenAtFirstRunAndFallBackToDefaults) {
    const GrabberSettings first = Load();
    DWORD value = 0;
    EXPECT_FALSE(ReadSettingDword(Open(), setting::kSmtpPort, &value));
    EXPECT_FALSE(ReadSettingDword(Open(), setting::kSmtpSecurity, &value));
    EXPECT_EQ(first.smtpPort, 0);  // the default port
    EXPECT_EQ(first.smtpSecurity, 0);

    struct Case {
        DWORD port, security;
        int expectedPort, expectedSecurity;
    };
    for (const Case& c : {Case{587, 1, 587, 1}, Case{465, 2, 465, 2}, Case{65535, 0, 65535, 0},
                          Case{0, 3, 0, 0}, Case{65536, 0xFFFFFFFF, 0, 0}}) {
        Set(setting::kSmtpPort, c.port);
        Set(setting::kSmtpSecurity, c.security);
        const GrabberSettings s = Load();
        EXPECT_EQ(s.smtpPort, c.expectedPort) << c.port;
        EXPECT_EQ(s.smtpSecurity, c.expectedSecurity) << c.security;
    }
}

}  // namespace
