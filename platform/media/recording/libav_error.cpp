#include "platform/media/recording/libav_error.h"

#include <cerrno>

extern "C" {
#include <libavutil/error.h>
}

namespace {
constexpr LONG kErrorAccessDenied = 5;
constexpr LONG kErrorFileNotFound = 2;
constexpr LONG kErrorWriteFault = 29;
constexpr LONG kErrorDiskFull = 112;
}  // namespace

HRESULT HresultFromErrno(int error) {
    switch (error) {
        case 0:
            return S_OK;
        case ENOMEM:
            return E_OUTOFMEMORY;
        case EINVAL:
            return E_INVALIDARG;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return HRESULT_FROM_WIN32(kErrorDiskFull);
        case EACCES:
        case EPERM:
        case EROFS:
            return HRESULT_FROM_WIN32(kErrorAccessDenied);
        case ENOENT:
        case ENOTDIR:
            return HRESULT_FROM_WIN32(kErrorFileNotFound);
        case EIO:
            return HRESULT_FROM_WIN32(kErrorWriteFault);
        default:
            return E_FAIL;
    }
}

HRESULT HresultFromAvError(int error) {
    if (error >= 0) return S_OK;
    // AVERROR(e) is -e for system errors; FFmpeg's own codes are tagged values far below.
    if (error > -4096) return HresultFromErrno(-error);
    return E_FAIL;
}
