// What identifies the simulated grabber's three device filters: friendly names, categories,
// class ids, pin names, and the class id of the grabber's property page.
#pragma once

#include "platform/com/guid.h"
#include "platform/media/interfaces/media_clsids.h"

namespace devices {

inline constexpr const char16_t* kGrabberName = u"QVD Grabber Device";
inline constexpr const char16_t* kCrossbarName = u"QV BDA Crossbar Filter";
inline constexpr const char16_t* kDeviceControlName = u"QV Device Control";

// Categories the three filters are listed under.
inline constexpr const CLSID& kGrabberCategory = CLSID_VideoInputDeviceCategory;
inline constexpr const CLSID& kCrossbarCategory = AM_KSCATEGORY_CROSSBAR;
inline constexpr const CLSID& kDeviceControlCategory = KSCATEGORY_DEVICECONTROL;

// {D9E07956-CED7-42A6-A18D-EEC67AC924C5}
inline constexpr CLSID CLSID_SimulatedGrabber = {
    0xD9E07956, 0xCED7, 0x42A6, {0xA1, 0x8D, 0xEE, 0xC6, 0x7A, 0xC9, 0x24, 0xC5}};
// {DEDFB06C-408B-4359-A1E7-11D3EF01BCBA}
inline constexpr CLSID CLSID_SimulatedCrossbar = {
    0xDEDFB06C, 0x408B, 0x4359, {0xA1, 0xE7, 0x11, 0xD3, 0xEF, 0x01, 0xBC, 0xBA}};
// {E58C9760-F5E2-49CE-8767-977AF3B75594}
inline constexpr CLSID CLSID_SimulatedDeviceControl = {
    0xE58C9760, 0xF5E2, 0x49CE, {0x87, 0x67, 0x97, 0x7A, 0xF3, 0xB7, 0x55, 0x94}};
// The grabber's property page (the video standard), named through ISpecifyPropertyPages.
// {74D222E8-A43B-4BB6-A941-E778601BC3A5}
inline constexpr CLSID CLSID_GrabberPropertyPage = {
    0x74D222E8, 0xA43B, 0x4BB6, {0xA9, 0x41, 0xE7, 0x78, 0x60, 0x1B, 0xC3, 0xA5}};

// Grabber pins.
inline constexpr const char16_t* kVideoTunerInName = u"Video Tuner In";
inline constexpr const char16_t* kAudioTunerInName = u"Audio Tuner In";
inline constexpr const char16_t* kPreviewPinNames[4] = {u"PreView One", u"PreView Two",
                                                        u"PreView Three", u"PreView Four"};
inline constexpr const char16_t* kCaptureOutName = u"Capture Out";
inline constexpr const char16_t* kAudioPcmOutName = u"Audio PCM Out";

// Crossbar pins.
inline constexpr const char16_t* kVideoDecoderOutName = u"0: Video Decoder Out";
inline constexpr const char16_t* kAudioDecoderOutName = u"1: Audio Decoder Out";

}  // namespace devices
