// Window and paint-context handles for Windows-shaped signatures such as
// IVMRWindowlessControl9::SetVideoClippingWindow(HWND). A window handle is a pointer to the video
// pane interface that a renderer draws into (platform/media/renderers/video_pane_window.h); the
// paint context is opaque and never dereferenced by the platform layers.
#pragma once

class VideoPaneWindow;
struct HDC__;

using HWND = VideoPaneWindow*;
using HDC = HDC__*;
