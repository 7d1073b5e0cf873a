// Process plumbing for videoenc.dll: running FFmpeg tools as children that cannot outlive the front,
// replacing the front with our prober, and careful reads of files and pipes.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "translate.h"

namespace videoenc {

// Exit status used when a program cannot be started at all, as a shell does.
constexpr int kCannotRun = 127;

// SONOLIFT_FFMPEG / SONOLIFT_FFPROBE when set and not empty, else the name looked up in PATH.
std::string toolPath(const char* variable, const char* fallback);

// The file of that name in the front's own folder ("" when it cannot be told).
std::string siblingPath(const char* name);

// Becomes the program (a path) with stdin on /dev/null; returns only when exec failed.
void execProgram(const std::string& program, const std::vector<std::string>& args);

struct SpawnResult {
    pid_t pid = -1;
    int execErrno = 0;  // set when the program could not be executed; pid is then already reaped
};

// A descriptor of ours that the child gets as descriptor `number` (3 or above).
struct Inherited {
    int number;
    int fd;
};

// Starts a child on the given descriptors (-1 keeps ours) plus the inherited ones; every other descriptor
// of ours is close-on-exec. The child gets SIGKILL when the front dies, default signal handling and an empty
// signal mask, so it behaves like FFmpeg run from a shell.
SpawnResult spawn(const std::string& program, const std::vector<std::string>& args, int in, int out, int err,
                  const std::vector<Inherited>& inherited = {});

// Waits for the child and turns its end into an exit status (128 + signal when killed).
int waitExit(pid_t pid);

void reportCannotRun(const std::string& program, int error);

// The contents of a regular file of at most maxBytes, without blocking on FIFOs or devices.
std::optional<std::string> readSmallFile(const std::string& path, std::size_t maxBytes);

// The audio stream FFmpeg would pick (most channels, default streams first), asked from ffprobe.
std::optional<AudioProbe> probeAudio(const std::string& ffprobe, const std::string& path);

// write() until everything is out; false on any error other than EINTR (errno tells which).
bool writeAll(int fd, const void* data, std::size_t size);

}  // namespace videoenc
