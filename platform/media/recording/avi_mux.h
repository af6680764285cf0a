// CAviMux: the AVI multiplexer (CLSID_AviDest) on libavformat's AVI muxer.
//
// Pins: two fixed inputs "Input 01" and "Input 02" (one video and one audio stream is what a
// recording has; either pin takes either kind) and the output "AVI Out" to the file writer.
// The connected inputs, in pin order, become the file's streams.
//
// Files are OpenDML AVI: past the first 1 GiB the muxer goes on in extended RIFF chunks with
// their own indices, so files stay valid up to the 2000 MiB at which recordings are split.
//
// Bytes: the muxer writes through a custom I/O context whose write and seek callbacks go to
// the writer's IFileWriterStream at explicit offsets (the header sizes and the index are
// written by seeking back, in Stop). After each packet, once a second of recorded time has
// passed on a stream since it last did so, the context is flushed and the writer commits
// (fdatasync), so a crash loses about a second at most and a copy of the growing file plays up to
// that point.
//
// Interleaving (IConfigInterleaving): INTERLEAVE_CAPTURE writes each packet as it arrives, as a
// live capture needs (no packet is held back or copied); the other modes let libavformat
// order packets by time across the streams (it holds at most one second of packets).
//
// Errors: the first failure (from the writer or from libavformat, as an HRESULT) ends the
// writing; Receive returns it from then on, so upstream streaming threads stop pushing, and it
// can be read with GetError. Stop still finishes the file as far as it can and returns.
//
// Locks: the filter lock (application thread); m_muxLock guards the libavformat context and is
// taken by Receive on the streaming threads of both inputs and by Stop after the inputs are
// inactive.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/media/base/base_filter.h"
#include "platform/media/interfaces/iconfig_interleaving.h"
#include "platform/media/recording/avi_mux_pins.h"

struct AVFormatContext;
struct AVIOContext;
struct AVPacket;

class CAviMux final : public CBaseFilter, public IConfigInterleaving {
  public:
    static constexpr int kInputs = 2;

    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    // Adds IConfigInterleaving.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // Pins 0 and 1 are the inputs, 2 the output.
    int GetPinCount() override { return kInputs + 1; }
    CBasePin* GetPin(int n) override;
    // From stopped: opens the muxer and writes the file header (needs the output and at least
    // one input connected: VFW_E_NOT_CONNECTED else).
    HRESULT Pause() override;
    // Writes the index and the final header sizes, commits and closes the file.
    HRESULT Stop() override;

    // IConfigInterleaving
    HRESULT put_Mode(InterleavingMode mode) override;
    HRESULT get_Mode(InterleavingMode* mode) override;
    HRESULT put_Interleaving(const REFERENCE_TIME* interleave,
                             const REFERENCE_TIME* preroll) override;
    HRESULT get_Interleaving(REFERENCE_TIME* interleave, REFERENCE_TIME* preroll) override;

    // The first failure of the current file, or S_OK (any thread).
    HRESULT GetError();

    // Streaming thread of input `index`: writes one sample.
    HRESULT WriteSample(int index, IMediaSample* sample);

  private:
    explicit CAviMux(IUnknown* outer);
    ~CAviMux() override;

    struct ContextDeleter {
        void operator()(AVFormatContext* context) const;
    };
    struct IoDeleter {
        void operator()(AVIOContext* io) const;
    };
    struct PacketDeleter {
        void operator()(AVPacket* packet) const;
    };

    // m_muxLock held.
    HRESULT OpenLocked();
    HRESULT AddStreamLocked(const CMediaType& type);
    void FinishLocked();
    HRESULT FailLocked(HRESULT error);
    // The I/O context's callbacks (opaque = this), m_muxLock held by whoever drives libavformat.
    static int WritePacket(void* opaque, uint8_t* data, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);

    CCritSec m_lock;  // the filter lock, before the pins that use it
    std::unique_ptr<CAviMuxInputPin> m_inputs[kInputs];
    std::unique_ptr<CAviMuxOutputPin> m_output;
    // Guarded by the filter lock.
    InterleavingMode m_mode = INTERLEAVE_FULL;
    REFERENCE_TIME m_interleave = 10'000'000;
    REFERENCE_TIME m_preroll = 0;

    // Guarded by m_muxLock (streaming threads of the inputs, and Pause/Stop).
    std::mutex m_muxLock;
    std::unique_ptr<AVFormatContext, ContextDeleter> m_context;  // open between Pause and Stop
    std::unique_ptr<AVIOContext, IoDeleter> m_io;
    std::unique_ptr<AVPacket, PacketDeleter> m_packet;  // reused for every sample
    IFileWriterStream* m_stream = nullptr;              // the output's peer while open; not counted
    int m_streamOf[kInputs] = {-1, -1};  // the file stream of each input, -1 for none
    bool m_interleaved = false;          // the mode in effect for this file
    int64_t m_position = 0;              // the I/O context's byte position
    int64_t m_size = 0;                  // bytes in the file so far
    // Per input: its sample time at the last commit it caused; a stream that advances a second
    // beyond it commits again (per stream, so a stream that runs ahead cannot hold back the
    // commits of the other).
    REFERENCE_TIME m_lastCommit[kInputs] = {0, 0};
    HRESULT m_error = S_OK;
};
