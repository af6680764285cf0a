// Repairs an AVI recording that its writer never finished (the program was killed or the machine
// lost power while it recorded): the file plays from the start but has no index and wrong header
// sizes, so players cannot seek in it or show its length. The repair copies every whole packet
// into a new file beside it, which gets the index and the sizes, and then replaces the damaged
// file; a repair that fails or is cancelled leaves the file as it was.
#pragma once

#include <atomic>
#include <string>

#include "platform/base/win_types.h"

namespace recording {

struct AviRepairResult {
    long long videoFrames = 0;  // video packets in the repaired file
    double seconds = 0;         // length of its video stream
};

// Any thread; blocks for as long as the copy takes (about the time to read and write the file).
// `cancel`, when given, is polled between packets. S_OK with `result` filled; E_ABORT when
// cancelled; VFW_E_INVALID_FILE_FORMAT when the file holds no readable stream (cut before its
// header was written); HRESULT_FROM_WIN32(ERROR_DISK_FULL) and other write errors when the
// copy cannot be written; the errno's HRESULT when the file cannot be opened.
HRESULT RepairAviFile(const std::string& path, const std::atomic<bool>* cancel,
                      AviRepairResult* result);

}  // namespace recording
