// CCaptureSession: the viewer's capture. It builds the capture graph around the grabber with the
// window's panes, configures the device from the settings, runs it, refreshes the preview stamp
// and frees the graph; it holds the graph pointer, the snapshot icon the stamp copies and whether
// the sound is on.
//
// It reaches the panes, the settings, the timers and the channel views only through its
// ICaptureHost, which outlives it. GUI thread only: every operation and every field.
#pragma once

#include <QImage>
#include <memory>

#include "platform/base/bitmap.h"
#include "viewer/capture/capture_graph.h"
#include "viewer/capture/capture_host.h"

class CCaptureSession {
  public:
    explicit CCaptureSession(ICaptureHost& host) : host_(host) {}
    // Frees the graph if one is left.
    ~CCaptureSession();
    CCaptureSession(const CCaptureSession&) = delete;
    CCaptureSession& operator=(const CCaptureSession&) = delete;

    // 0 success or capture already running; 1 no capture device; 2 the graph cannot be built,
    // run or configured; 3 the settings key or a channel name cannot be read.
    int StartCapture();
    // BuildGraph, then the channel titles, the valid channels, the channel timing and the record
    // quality; the same results. A failure after the build leaves the graph as far as it got.
    int ConfigureCapture();
    // The graph with the panes attached, searching and running: 0 done or already built; 1 no
    // capture device; 2 it cannot be built, given the panes or run, in which case the graph is
    // torn down again so that the next StartCapture retries.
    int BuildGraph();
    // Tears the graph down and forgets it; the sound counts as on again.
    void FreeGraph();

    // The stamp timer's tick: every pane's stamp again (nothing without a graph).
    void RefreshStamps();
    // Bitmap 297 as the 24-bit bitmap the stamp copies (a null picture: none).
    void LoadSnapIcon(const QImage& picture);
    // Shows or hides the channel titles and the time of the stamp.
    void SetStampVisible(bool shown);

    // The sound of the graph full or silent; remembered for VolumeOn. Nothing without a graph.
    void SetVolume(bool on);
    bool VolumeOn() const { return volumeOn_; }

    // The capture graph singleton while this capture holds it; null otherwise. Not owned.
    CaptureGraph* Graph() const { return graph_; }

  private:
    // Bitmap 297 in the layout the stamp reads: blue, green, red per pixel.
    struct SnapIcon {
        QImage pixels;
        BITMAP bitmap{};
    };

    ICaptureHost& host_;  // the window; outlives this object
    // GUI thread only.
    CaptureGraph* graph_ = nullptr;  // the singleton, freed by FreeGraph
    std::unique_ptr<SnapIcon> snapIcon_;
    bool volumeOn_ = true;
};
