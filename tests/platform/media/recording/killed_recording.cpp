#include "tests/platform/media/recording/killed_recording.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstdio>

extern char** environ;

namespace recording_test {

KilledRecording RecordAndKill(const std::string& path, int frames) {
    KilledRecording killed;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return killed;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string program = RECORDING_CHILD;
    char* argv[] = {program.data(), const_cast<char*>(path.c_str()), nullptr};
    pid_t child = -1;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        return killed;
    }
    FILE* out = ::fdopen(pipeFds[0], "r");
    int reported = 0;
    long long committed = 0;
    while (out && std::fscanf(out, "frames %d committed %lld\n", &reported, &committed) == 2) {
        killed.framesReported = reported;
        killed.committed = committed;
        if (reported >= frames) break;
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (out) std::fclose(out);
    killed.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return killed;
}

}  // namespace recording_test
