#include "viewer/settings/grabber_settings.h"

#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

int LoadGrabberSettings(GrabberSettings* s, SettingsKeyHolder* holder) {
    if (!s || !holder) return 0;
    using namespace setting;
    ReadSettingString(holder, kSmtpServer, s->smtpServer, 256);
    ReadSettingString(holder, kMailFromAddr, s->mailFromAddr, 256);
    ReadSettingString(holder, kMailFromName, s->mailFromName, 256);
    ReadSettingString(holder, kMailDst, s->mailDst, 256);
    ReadSettingString(holder, kMailTitle, s->mailTitle, 256);

    DWORD value = 0;
    s->smtpAuth = ReadSettingDword(holder, kSmtpServerAuth, &value) && value != 0 ? 1 : 0;

    ReadSettingString(holder, kMailSrc, s->mailSrc, 256);
    ReadSettingString(holder, kMailPassword, s->mailPassword, 256);

    if (ReadSettingDword(holder, kSignalLoseAlarm, &value)) {
        s->mailOnSignalLoss = (value & 0x01) ? 1 : 0;
        s->soundOnSignalLoss = (value & 0x02) ? 1 : 0;
    }

    s->autoLockEnabled = ReadSettingDword(holder, kLoginTimeoutFlag, &value) && value != 0 ? 1 : 0;

    s->autoLockSeconds = 900;
    if (ReadSettingDword(holder, kLoginTimeout, &value) && value >= 1 && value <= 60)
        s->autoLockSeconds = static_cast<std::int32_t>(value * 60);

    if (!ReadSettingDword(holder, kChannelControlMode, &value)) {
        s->automaticChannelControl = 1;
    } else {
        s->automaticChannelControl = value == 2 ? 1 : 0;
    }

    for (int channel = 0; channel < 4; ++channel) {
        if (s->automaticChannelControl) {
            s->channelEnabled[channel] = 1;
        } else {
            s->channelEnabled[channel] =
                ReadSettingDword(holder, kChannelEnable[channel], &value) && value != 0 ? 1 : 0;
        }
    }

    s->smtpPort = 0;
    if (ReadSettingDword(holder, kSmtpPort, &value) && value >= 1 && value <= 65535)
        s->smtpPort = static_cast<std::int32_t>(value);
    s->smtpSecurity = 0;
    if (ReadSettingDword(holder, kSmtpSecurity, &value) && value <= 2)
        s->smtpSecurity = static_cast<std::int32_t>(value);

    if (ReadSettingDword(holder, kFirstRun, &value) && value != 0) {
        s->firstRun = 0;
    } else {
        s->firstRun = 1;
        WriteSettingDword(holder, kFirstRun, 1);
    }
    return 1;
}
