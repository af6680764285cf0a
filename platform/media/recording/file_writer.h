// CFileWriter: the file writer filter (CLSID_FileWriter). One input pin "in" for a byte stream;
// the upstream multiplexer writes through the pin's IFileWriterStream at explicit offsets.
//
// The file (IFileSinkFilter::SetFileName) is created, or truncated, when the filter leaves
// stopped, and closed by the multiplexer's IFileWriterStream::Close at the end of its Stop (or
// when the writer is destroyed or leaves stopped again). Bytes are written with write(2) as
// they come; Commit makes them durable with fdatasync, which the multiplexer asks for at least
// once per second of recorded time.
//
// Errors: the first failure of open, write, fdatasync or close (ENOSPC on a full disk becomes
// HRESULT_FROM_WIN32(ERROR_DISK_FULL)) is kept as the writer's error state, returned by every
// later write and readable through IFileWriterStatus; nothing blocks or retries, so the
// streaming thread that hit it returns at once and the graph still stops.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/media/base/base_filter.h"
#include "platform/media/base/cmedia_type.h"
#include "platform/media/interfaces/ifile_sink_filter.h"
#include "platform/media/interfaces/ifile_writer_status.h"
#include "platform/media/recording/file_writer_pin.h"

class CFileWriter final : public CBaseFilter, public IFileSinkFilter, public IFileWriterStatus {
  public:
    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    // Adds IFileSinkFilter and IFileWriterStatus.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;
    // From stopped: opens the file (a failure keeps the filter stopped and is the error state).
    HRESULT Pause() override;
    // Commits what was written; the file stays open for the multiplexer's last writes.
    HRESULT Stop() override;

    // IFileSinkFilter
    HRESULT SetFileName(LPCWSTR name, const AM_MEDIA_TYPE* type) override;
    HRESULT GetCurFile(LPWSTR* name, AM_MEDIA_TYPE* type) override;

    // IFileWriterStatus
    HRESULT GetError(HRESULT* error) override;
    HRESULT GetCommittedBytes(LONGLONG* bytes) override;
    HRESULT WaitCommitted(LONGLONG bytes, DWORD milliseconds) override;

    // The pin's IFileWriterStream, any thread.
    HRESULT WriteAt(LONGLONG offset, const BYTE* data, LONG size);
    HRESULT Commit();
    HRESULT Close();

  private:
    explicit CFileWriter(IUnknown* outer);
    ~CFileWriter() override;

    // m_fileMutex held.
    HRESULT OpenLocked();
    HRESULT CommitLocked();
    void CloseLocked();
    HRESULT FailLocked(HRESULT error);

    CCritSec m_lock;  // the filter lock, before the pin that uses it
    std::unique_ptr<CFileWriterInputPin> m_pin;
    // Guarded by the filter lock (application thread).
    std::u16string m_name;
    bool m_haveName = false;
    CMediaType m_type;
    // Guarded by m_fileMutex (streaming threads of the multiplexer and the application thread).
    std::mutex m_fileMutex;
    std::condition_variable m_committedChanged;
    int m_fd = -1;
    HRESULT m_error = S_OK;
    LONGLONG m_end = 0;        // bytes written (the file's length so far)
    LONGLONG m_committed = 0;  // bytes made durable by the last Commit
};
