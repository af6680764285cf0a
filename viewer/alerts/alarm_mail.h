// The alarm mail: its body for an alarm bit, and the mail built from the settings.
#pragma once

#include <cstdint>
#include <optional>

#include "viewer/alerts/outgoing_mail.h"
#include "viewer/settings/grabber_settings.h"

// The body for the first set bit in the order 0x01, 0x02, 0x04, 0x08, 0x10; empty for none.
const char* AlarmMailBody(std::uint32_t bit);

// The alarm mail for `bit` with the mail settings of `settings`; nothing when one of them is
// empty or does not convert within 512 bytes. Its port and transport security are the stored ones.
std::optional<OutgoingMail> BuildAlarmMail(const GrabberSettings& settings, std::uint32_t bit);
