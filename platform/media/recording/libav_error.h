// Conversion of FFmpeg library error codes (negative AVERROR values) to HRESULTs.
#pragma once

#include "platform/base/win_types.h"

// AVERROR(ENOMEM) -> E_OUTOFMEMORY, AVERROR(EINVAL) -> E_INVALIDARG, AVERROR(ENOSPC) ->
// HRESULT_FROM_WIN32(ERROR_DISK_FULL), AVERROR(EIO) -> HRESULT_FROM_WIN32(ERROR_WRITE_FAULT),
// any other failure -> E_FAIL; zero and positive values -> S_OK.
HRESULT HresultFromAvError(int error);

// The HRESULT of a system error number (errno), with the same mapping.
HRESULT HresultFromErrno(int error);
