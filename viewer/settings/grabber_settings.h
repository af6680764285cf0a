// The main window's copy of the mail, alarm, auto-lock and channel-enable settings.
#pragma once

#include "platform/base/win_types.h"

struct SettingsKeyHolder;

struct GrabberSettings {
    WCHAR smtpServer[256];
    WCHAR mailFromAddr[256];
    WCHAR mailFromName[256];
    WCHAR mailDst[256];
    WCHAR mailTitle[256];
    WCHAR mailSrc[256];
    WCHAR mailPassword[256];
    std::int32_t smtpAuth;
    std::int32_t mailOnSignalLoss;
    std::int32_t soundOnSignalLoss;
    std::int32_t autoLockEnabled;
    std::int32_t automaticChannelControl;
    std::int32_t channelEnabled[4];
    std::int32_t firstRun;
    std::int32_t autoLockSeconds;
    // "SMTP Port" when it reads and lies in 1 to 65535, else 0 (the default port, 25).
    std::int32_t smtpPort;
    // "SMTP Security" when it reads and is 0 (none), 1 (STARTTLS) or 2 (TLS from the start),
    // else 0.
    std::int32_t smtpSecurity;
};

// Fills a zero-filled `settings` from the key of `holder`. Returns 1, or 0 when either is null.
// Marks the settings as loaded once ("First Run" = 1) and reports the first load in `firstRun`.
int LoadGrabberSettings(GrabberSettings* settings, SettingsKeyHolder* holder);
