// A process that records until it is killed, for the tests of what a crash leaves behind: it
// records a stepped source through the real recording filters into the AVI file named on its
// command line and, after each second of video has been delivered, prints a line
// "frames <video frames delivered> committed <bytes on the disk>". After `seconds` seconds
// (default 600) it waits for its end without stopping the graph, so the file stays unfinished;
// with a third argument "stop" it stops the graph instead, which finishes the file, and exits.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/com/runtime.h"
#include "platform/media/runtime/media_runtime.h"
#include "tests/platform/media/recording/recording_graph.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE.avi [SECONDS]\n", argv[0]);
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 600;
    if (FAILED(CoInitialize(nullptr))) return 3;
    RegisterMediaRuntime();
    recording_test::RecordingGraph recording;
    if (FAILED(recording.CreateGraph()) || FAILED(recording.Assemble(argv[1], true)) ||
        FAILED(recording.control->Run()))
        return 4;
    constexpr int kFramesPerSecond = 25;
    for (int second = 1; second <= seconds; ++second) {
        const int frames = second * kFramesPerSecond;
        recording.video->Step(kFramesPerSecond);
        recording.audio->Step(kFramesPerSecond);
        if (recording.video->WaitDelivered(frames) != frames ||
            recording.audio->WaitDelivered(frames) != frames)
            return 5;
        LONGLONG committed = 0;
        recording.status->GetCommittedBytes(&committed);
        std::printf("frames %d committed %lld\n", frames, static_cast<long long>(committed));
        std::fflush(stdout);
    }
    if (argc > 3 && std::string(argv[3]) == "stop")
        return FAILED(recording.control->Stop()) ? 6 : 0;
    for (;;) ::pause();
}
