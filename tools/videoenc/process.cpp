// Process plumbing for videoenc.dll; see process.h.
#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace videoenc {
namespace {

std::vector<char*> argvOf(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// A program started from here must not inherit the front's choices: an ignored SIGPIPE survives exec
// and would keep FFmpeg writing into a pipe nobody reads.
void resetSignals() {
    signal(SIGPIPE, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

void stdinFromDevNull() {
    const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;  // -nostdin alone still keeps FFmpeg off the terminal
    if (fd != STDIN_FILENO) {
        dup2(fd, STDIN_FILENO);
        close(fd);
    }
}

bool readAll(int fd, std::string& into, std::size_t keep) {
    char buffer[8192];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        // Past the limit we still drain, so the writer is never left blocked on a full pipe.
        const std::size_t room = keep > into.size() ? keep - into.size() : 0;
        into.append(buffer, std::min<std::size_t>(room, static_cast<std::size_t>(n)));
    }
}

}  // namespace

std::string siblingPath(const char* name) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    std::string path(self, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return path.substr(0, slash + 1) + name;
}

void execProgram(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv = argvOf(program, args);
    stdinFromDevNull();
    resetSignals();
    execv(program.c_str(), argv.data());
}

std::string toolPath(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    return value && *value ? std::string(value) : std::string(fallback);
}

void reportCannotRun(const std::string& program, int error) {
    std::fprintf(stderr, "videoenc.dll: cannot run FFmpeg program '%s': %s\n", program.c_str(), std::strerror(error));
}

SpawnResult spawn(const std::string& program, const std::vector<std::string>& args, int in, int out, int err,
                  const std::vector<Inherited>& inherited) {
    std::vector<char*> argv = argvOf(program, args);
    // In the child every inherited descriptor is first copied to `floor` or above, so that placing one
    // cannot overwrite the source of another; the copies close on exec.
    int floor = 3;
    for (const Inherited& i : inherited) floor = std::max(floor, i.number + 1);
    std::vector<int> lifted(inherited.size(), -1);
    // The child reports a failed exec through this pipe; a successful exec closes it empty. Its write end sits
    // above the inherited numbers too, or placing one could replace it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return {-1, errno};
    if (report[1] < floor) {
        const int high = fcntl(report[1], F_DUPFD_CLOEXEC, floor);
        const int error = errno;
        close(report[1]);
        if (high < 0) {
            close(report[0]);
            return {-1, error};
        }
        report[1] = high;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return {-1, error};
    }
    if (pid == 0) {
        // Only async-signal-safe calls from here on.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(kCannotRun);  // the front died before the line above took effect
        const int fds[3] = {in, out, err};
        for (int target = 0; target < 3; ++target) {
            if (fds[target] >= 0 && fds[target] != target) dup2(fds[target], target);
            else if (fds[target] == target) fcntl(target, F_SETFD, 0);
        }
        bool placed = true;
        for (std::size_t k = 0; k < inherited.size(); ++k) {
            lifted[k] = fcntl(inherited[k].fd, F_DUPFD_CLOEXEC, floor);
            placed = placed && lifted[k] >= 0;
        }
        for (std::size_t k = 0; placed && k < inherited.size(); ++k) {
            placed = dup2(lifted[k], inherited[k].number) >= 0;  // dup2's copy stays open across exec
        }
        resetSignals();
        if (placed) execvp(argv[0], argv.data());
        const int error = errno;
        ssize_t ignored = write(report[1], &error, sizeof error);
        (void)ignored;
        _exit(kCannotRun);
    }
    close(report[1]);
    int error = 0;
    ssize_t n;
    do {
        n = read(report[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    close(report[0]);
    if (n == static_cast<ssize_t>(sizeof error)) {
        waitExit(pid);
        return {-1, error};
    }
    return {pid, 0};
}

int waitExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return 1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 1;
}

bool writeAll(int fd, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> readSmallFile(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK so that a FIFO named like a script cannot stall us in open().
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::string> result;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        static_cast<unsigned long long>(st.st_size) <= maxBytes) {
        std::string text;
        // One byte over the limit tells a file that grew since fstat from one that did not.
        if (readAll(fd, text, maxBytes + 1) && text.size() <= maxBytes) result = std::move(text);
    }
    close(fd);
    return result;
}

std::optional<AudioProbe> probeAudio(const std::string& ffprobe, const std::string& path) {
    // ffprobe would consume the data of a FIFO or device that FFmpeg itself needs next.
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;

    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const SpawnResult child =
        spawn(ffprobe,
              {"-v", "error", "-select_streams", "a", "-show_entries",
               "stream=channels,sample_rate:stream_disposition=default", "-of", "compact=p=0", "file:" + path},
              devNull, out[1], devNull);
    close(out[1]);
    if (devNull >= 0) close(devNull);
    if (child.pid < 0) {
        close(out[0]);
        return std::nullopt;
    }
    std::string text;
    const bool complete = readAll(out[0], text, 64 * 1024);
    close(out[0]);
    if (waitExit(child.pid) != 0 || !complete) return std::nullopt;

    // FFmpeg picks the audio stream with the most channels, preferring default streams, first on ties.
    std::optional<AudioProbe> best;
    long bestScore = -1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        AudioProbe probe;
        bool isDefault = false;
        std::size_t fieldStart = 0;
        while (fieldStart <= line.size()) {
            std::size_t fieldEnd = line.find('|', fieldStart);
            if (fieldEnd == std::string_view::npos) fieldEnd = line.size();
            const std::string_view field = line.substr(fieldStart, fieldEnd - fieldStart);
            fieldStart = fieldEnd + 1;
            const auto eq = field.find('=');
            if (eq == std::string_view::npos) continue;
            const std::string_view key = field.substr(0, eq), value = field.substr(eq + 1);
            int number = 0;
            if (value.empty() || value.size() > 9) continue;
            bool digits = true;
            for (char c : value) {
                if (c < '0' || c > '9') digits = false;
                else number = number * 10 + (c - '0');
            }
            if (!digits) continue;
            if (key == "channels") probe.channels = number;
            else if (key == "sample_rate") probe.sampleRate = number;
            else if (key == "disposition:default") isDefault = number != 0;
        }
        if (probe.channels <= 0) continue;
        const long score = probe.channels + (isDefault ? 5000000L : 0L);
        if (score > bestScore) {
            bestScore = score;
            best = probe;
        }
    }
    return best;
}

}  // namespace videoenc
