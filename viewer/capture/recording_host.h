// IRecordingHost: what the recording may ask of the window it runs for. Every call is made on the
// GUI thread, from inside one of CRecording's operations.
#pragma once

#include <QString>

#include "platform/base/win_types.h"
#include "viewer/capture/capture_graph.h"

class IRecordingHost {
  public:
    // The capture graph while a capture runs, else null.
    virtual CaptureGraph* Graph() const = 0;
    // The login gate; false when the user did not unlock.
    virtual bool EnsureUnlocked() = 0;
    // A message box over the window with `text` and `caption` and the buttons of `type`; the
    // answer (IDOK, IDYES, IDNO...).
    virtual int RecordingMessageBox(const QString& text, const QString& caption, UINT type) = 0;
    // The window's information pop-up.
    virtual void ShowMessage(const QString& text) = 0;
    // The current channel (1..4) and making a channel current in the view.
    virtual int CurrentChannel() const = 0;
    virtual void ShowChannel(int channel) = 0;
    // Fixed mode on `channel`; the channel selected (0 when none).
    virtual int SelectDeviceChannel(int channel) = 0;
    // Arms the free-space timer and the file-size timer with these periods; kills both.
    virtual void ArmRecordingTimers(UINT spaceMs, UINT sizeMs) = 0;
    virtual void KillRecordingTimers() = 0;
    // The Recorder button latched (and repainted) while recording; the Search, Channel and
    // System buttons disabled while recording.
    virtual void ShowRecordingControls(bool recording) = 0;

  protected:
    ~IRecordingHost() = default;
};
