// What the viewer tells its user, once per start after the window shows, when its settings could
// not be read in full: the settings file was damaged (kept aside, the readable settings kept), or
// it cannot be read at all (the viewer runs on the first-run settings and saves nothing).
#pragma once

#include <QString>
#include <optional>

#include "platform/registry/hive_status.h"

// The warning for `status`, or nothing when the settings were read as they are.
std::optional<QString> SettingsProblemText(const registry::HiveStatus& status);

// The caption of that warning.
QString SettingsProblemCaption();
