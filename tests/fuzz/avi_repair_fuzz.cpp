// Feeds arbitrary bytes, as the file a crashed recording left behind, to the AVI repair. The file
// lives in a folder of the process's own (FuzzTempFolder). Oracle: a failed repair leaves the file
// byte for byte as it was and no copy beside it; a successful one leaves a file that repairs again
// with the same number of video packets.
extern "C" {
#include <libavutil/log.h>
}
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_temp_folder.h"
#include "platform/media/recording/avi_repair.h"

namespace {

// The folder of this process, made once.
const std::string& Folder() {
    static const FuzzTempFolder folder("avi_repair_fuzz");
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_QUIET);  // libavformat's complaints about broken files
        return true;
    }();
    (void)quiet;
    return folder.Path();
}

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder() + "/recording.avi";
    const std::vector<char> bytes(data, data + size);
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        FUZZ_CHECK(file.good());
    }

    recording::AviRepairResult result;
    const HRESULT hr = recording::RepairAviFile(path, nullptr, &result);
    FUZZ_CHECK(!std::filesystem::exists(path + ".repair"));
    if (FAILED(hr)) {
        FUZZ_CHECK(ReadAll(path) == bytes);
        FUZZ_CHECK(result.videoFrames == 0 && result.seconds == 0);
    } else {
        FUZZ_CHECK(hr == S_OK && result.videoFrames >= 0 && result.seconds >= 0);
        recording::AviRepairResult again;
        FUZZ_CHECK(recording::RepairAviFile(path, nullptr, &again) == S_OK);
        FUZZ_CHECK(again.videoFrames == result.videoFrames);
    }
    std::remove(path.c_str());
    return 0;
}
