// IPromptSource: found through QueryInterface on a property page's site, it hands the page the
// prompts (prompts.h) of the program that shows the frame, so that what a page asks the user
// (a font dialog, a message box) goes where the program's other prompts go, a test's script
// included.
#pragma once

#include "platform/com/unknown.h"

class IPrompts;

struct IPromptSource : IUnknown {
    static constexpr IID kIid = {
        0x7A7F21CE, 0x1B64, 0x4DEC, {0xA0, 0xDF, 0xA9, 0x03, 0xD0, 0xB8, 0x96, 0x8C}};

    // The prompts; they outlive the frame. No reference is counted on them.
    virtual HRESULT GetPrompts(IPrompts** prompts) = 0;

  protected:
    ~IPromptSource() = default;
};

inline constexpr IID IID_IPromptSource = IPromptSource::kIid;
