#include "platform/sound/wave_player.h"

#include <algorithm>
#include <string>

namespace sound {
namespace {

// How long one piece may wait for room in the device: the device's pace keeps the loop's pace,
// and a stalled device cannot hold Stop up for longer than this.
constexpr std::chrono::milliseconds kPieceWait{500};

}  // namespace

WavePlayer::WavePlayer() : WavePlayer(OpenPcmOutput) {}

WavePlayer::WavePlayer(OutputFactory makeOutput) : makeOutput_(std::move(makeOutput)) {}

WavePlayer::~WavePlayer() {
    Stop();
}

bool WavePlayer::Play(std::vector<std::uint8_t> wave, bool loop) {
    Stop();
    WaveData parsed;
    std::string error;
    if (!ParseWave(wave, &parsed, &error) || parsed.samples.empty()) return false;
    std::unique_ptr<PcmOutput> output = makeOutput_();
    if (!output || !output->Open(parsed.format)) return false;
    stop_ = false;
    playing_ = true;
    thread_ = std::thread(&WavePlayer::Run, this, std::move(wave), loop, std::move(output));
    return true;
}

void WavePlayer::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    playing_ = false;
}

bool WavePlayer::IsPlaying() const {
    return playing_;
}

void WavePlayer::Run(std::vector<std::uint8_t> file, bool loop, std::unique_ptr<PcmOutput> output) {
    WaveData wave;
    std::string error;
    ParseWave(file, &wave, &error);  // checked by Play
    // Pieces of about 50 ms, so that Stop is heard promptly.
    const std::size_t frame = wave.format.FrameBytes();
    const std::size_t piece = std::max<std::size_t>(frame, wave.format.sampleRate / 20 * frame);
    bool ok = true;
    do {
        for (std::size_t pos = 0; ok && pos < wave.samples.size() && !stop_; pos += piece)
            ok = output->Write(
                wave.samples.subspan(pos, std::min(piece, wave.samples.size() - pos)), kPieceWait);
    } while (loop && ok && !stop_);
    output->Close();
    playing_ = false;
}

}  // namespace sound
