// IFileWriterStream (ours): random-access byte transport from a multiplexer's output pin to the
// file writer's input pin, found through QueryInterface on the writer's input pin.
//
// Calls come from the multiplexer, on its streaming threads or on the application thread in
// its Stop (where it writes the index and the final header sizes); they are valid whenever the
// writer's file is open, which is from the writer's Pause (leaving stopped) until Close: the
// writer keeps the file open across its own Stop, because the graph stops the writer before the
// multiplexer, whose Stop still writes the end of the file.
#pragma once

#include "platform/com/unknown.h"

struct IFileWriterStream : IUnknown {
    static constexpr IID kIid = {
        0x3F6A2C10, 0x51E7, 0x4B0D, {0x9C, 0x21, 0x6E, 0x0B, 0x4D, 0x72, 0xA1, 0x02}};

    // Writes `size` bytes at byte `offset` of the file. After a failure every later call fails
    // with the same code (the writer's error state, IFileWriterStatus).
    virtual HRESULT WriteAt(LONGLONG offset, const BYTE* data, LONG size) = 0;
    // Makes everything written so far durable (fdatasync) and counts it as committed.
    virtual HRESULT Commit() = 0;
    // The file is complete: commits it and closes it. Later writes fail with E_UNEXPECTED until
    // the writer opens its file again (when it next leaves stopped).
    virtual HRESULT Close() = 0;

  protected:
    ~IFileWriterStream() = default;
};

inline constexpr IID IID_IFileWriterStream = IFileWriterStream::kIid;
