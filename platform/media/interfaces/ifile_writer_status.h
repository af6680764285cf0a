// IFileWriterStatus (ours): the file writer's error state and progress, queryable on the file
// writer filter from any thread.
#pragma once

#include "platform/com/unknown.h"

struct IFileWriterStatus : IUnknown {
    static constexpr IID kIid = {
        0x3F6A2C10, 0x51E7, 0x4B0D, {0x9C, 0x21, 0x6E, 0x0B, 0x4D, 0x72, 0xA1, 0x03}};

    // The first failure of the current file (opening, writing, syncing or closing it) as an
    // HRESULT (HRESULT_FROM_WIN32 of the system error: ERROR_DISK_FULL for ENOSPC), or S_OK.
    // Cleared when a new file is opened.
    virtual HRESULT GetError(HRESULT* error) = 0;
    // Bytes written and made durable by the last Commit (the file's committed length).
    virtual HRESULT GetCommittedBytes(LONGLONG* bytes) = 0;
    // Waits until at least `bytes` are committed or an error is set, at most `milliseconds`;
    // S_OK when committed, the error when one is set, VFW_E_TIMEOUT else.
    virtual HRESULT WaitCommitted(LONGLONG bytes, DWORD milliseconds) = 0;

  protected:
    ~IFileWriterStatus() = default;
};

inline constexpr IID IID_IFileWriterStatus = IFileWriterStatus::kIid;
