// The AVI multiplexer's pins: two inputs, each taking either MPEG-4 Part 2 video ("FMP4",
// VIDEOINFOHEADER) or 16-bit PCM audio (WAVEFORMATEX), and one output "AVI Out" that connects
// only to an input pin giving IFileWriterStream (the file writer's).
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/media/base/base_input_pin.h"
#include "platform/media/interfaces/ifile_writer_stream.h"

class CAviMux;

class CAviMuxInputPin final : public CBaseInputPin {
  public:
    // `mux` owns the pin; `lock` is its filter lock; `index` is the pin's number.
    CAviMuxInputPin(CAviMux* mux, CCritSec* lock, int index, LPCWSTR name);

    HRESULT CheckMediaType(const CMediaType* type) override;
    // Streaming thread: checks streaming, then the multiplexer writes the sample.
    HRESULT Receive(IMediaSample* sample) override;
    // The stream simply ends; the file is finished when the filter stops.
    HRESULT EndOfStream() override { return S_OK; }

    int Index() const { return m_index; }

  private:
    CAviMux* const m_mux;  // owner
    const int m_index;
};

class CAviMuxOutputPin final : public CBasePin {
  public:
    CAviMuxOutputPin(CAviMux* mux, CCritSec* lock);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    // Needs the peer's IFileWriterStream (E_NOINTERFACE else).
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;

    // The writer's byte transport while connected, else null (not counted by the caller).
    IFileWriterStream* Stream() const { return m_stream.Get(); }

  private:
    // Guarded by the filter lock; changed only while stopped.
    ComPtr<IFileWriterStream> m_stream;
};
