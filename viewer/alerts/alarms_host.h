// IAlarmsHost: what the alarms may ask of the window they watch for. Every call is made on the
// GUI thread, from inside one of CAlarms' operations.
#pragma once

#include <cstdint>

#include "viewer/capture/capture_graph.h"
#include "viewer/channels/pane_pictures.h"
#include "viewer/settings/grabber_settings.h"

class IPrompts;
class QWidget;

class IAlarmsHost {
  public:
    // The running capture graph; null while no capture runs.
    virtual CaptureGraph* Graph() const = 0;
    // The enabled channels of the settings (bit n - 1: channel n).
    virtual std::uint32_t EnabledChannels() const = 0;
    // Paints the pictures of the signal watch over the panes.
    virtual void PaintPanePictures(const channel_views::PanePictures& pictures) = 0;
    // Shows or hides the Alarm button.
    virtual void ShowAlarmButton(bool shown) = 0;
    // The loaded settings (the alarm switches and the mail texts); null before they are loaded.
    virtual const GrabberSettings* Settings() const = 0;
    // The unlock gate: shows the login while locked; whether the controls are unlocked now.
    virtual bool EnsureUnlocked() = 0;
    // Reloads the settings after the security dialog saved them (restarts the auto-lock delay).
    virtual int ReloadGrabberSettings() = 0;
    // Runs the security dialog and its message boxes, owned by PromptOwner.
    virtual IPrompts& Prompts() const = 0;
    virtual QWidget* PromptOwner() = 0;

  protected:
    ~IAlarmsHost() = default;
};
