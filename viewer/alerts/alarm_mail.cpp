#include "viewer/alerts/alarm_mail.h"

#include "viewer/alerts/alarm_bits.h"

const char* AlarmMailBody(std::uint32_t bit) {
    if (bit & AlarmChannel1) return "Alarm, channel 1 signal lost.";
    if (bit & AlarmChannel2) return "Alarm, channel 2 signal lost.";
    if (bit & AlarmChannel3) return "Alarm, channel 3 signal lost.";
    if (bit & AlarmChannel4) return "Alarm, channel 4 signal lost.";
    if (bit & AlarmDeviceRemoved) return "Alarm, device is removed.";
    return "";
}

std::optional<OutgoingMail> BuildAlarmMail(const GrabberSettings& settings, std::uint32_t bit) {
    const MailTexts texts{settings.smtpServer,  settings.mailFromAddr, settings.mailFromName,
                          settings.mailDst,     settings.mailTitle,    settings.mailSrc,
                          settings.mailPassword};
    std::optional<OutgoingMail> mail =
        PrepareMail(texts, settings.smtpAuth == 1, AlarmMailBody(bit));
    if (mail) {
        mail->port = static_cast<std::uint16_t>(settings.smtpPort);
        mail->security = MailSecurityFromSetting(static_cast<std::uint32_t>(settings.smtpSecurity));
    }
    return mail;
}
