// ILockHost: what the viewer's lock may ask of the window whose controls it guards. Every call is
// made on the GUI thread, from inside one of CViewerLock's operations.
#pragma once

#include "viewer/settings/grabber_settings.h"

class IPrompts;
class QWidget;

class ILockHost {
  public:
    // Message boxes and the login dialog go through these prompts, over this owner.
    virtual IPrompts& Prompts() const = 0;
    virtual QWidget* PromptOwner() = 0;
    // The loaded settings (the automatic lock and its timeout); null before the first load.
    virtual const GrabberSettings* Settings() const = 0;
    // Shows UnLock and hides Locked while locked, the other way round while unlocked.
    virtual void ShowLockButtons(bool locked) = 0;

  protected:
    ~ILockHost() = default;
};
