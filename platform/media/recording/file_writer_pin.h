// CFileWriterInputPin: the file writer's input pin "in". Takes a byte stream (MEDIATYPE_Stream)
// and gives the upstream multiplexer IFileWriterStream, through which every byte reaches the
// file (the pin takes no samples: Receive refuses them with E_NOTIMPL).
#pragma once

#include "platform/media/base/base_input_pin.h"
#include "platform/media/interfaces/ifile_writer_stream.h"

class CFileWriter;

class CFileWriterInputPin final : public CBaseInputPin, public IFileWriterStream {
  public:
    // `writer` owns the pin; `lock` is its filter lock.
    CFileWriterInputPin(CFileWriter* writer, CCritSec* lock);

    DECLARE_IUNKNOWN
    // Adds IFileWriterStream.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT Receive(IMediaSample* sample) override;

    // IFileWriterStream: forwarded to the writer.
    HRESULT WriteAt(LONGLONG offset, const BYTE* data, LONG size) override;
    HRESULT Commit() override;
    HRESULT Close() override;

  private:
    CFileWriter* const m_writer;  // owner
};
