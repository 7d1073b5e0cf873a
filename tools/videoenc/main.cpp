// videoenc.dll: the transcoder front the main program runs for every probe and conversion.
// It fixes up the command line for this system's FFmpeg, runs FFmpeg as its child and puts the output in
// place only when FFmpeg has finished it.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "amr.h"
#include "printable.h"
#include "process.h"
#include "staged_output.h"
#include "translate.h"

namespace {

// Scripts are one short line; anything bigger is not one and is not worth reading.
constexpr std::size_t kMaxScriptBytes = 8 * 1024;

// Children get their pipes on fresh descriptors; if 0-2 were closed, those would land there and be clobbered.
void ensureStandardDescriptors() {
    for (int fd = 0; fd < 3; ++fd) {
        if (fcntl(fd, F_GETFD) < 0) {
            const int opened = open("/dev/null", O_RDWR);
            if (opened >= 0 && opened != fd) {
                dup2(opened, fd);
                close(opened);
            }
        }
    }
}

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Opening does not wait for a FIFO's writer (FFmpeg's own open of /proc/self/fd/N still does, as for the name).
int openInput(const std::string& path) {
    return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

// Runs the conversion (or a probe by FFmpeg) with its files on descriptors and returns the exit status.
int convert(videoenc::Plan& plan, const std::string& ffmpeg) {
    std::vector<Fd> opened;
    std::vector<videoenc::Inherited> inputFds;
    for (const videoenc::InputDescriptor& input : plan.inputs) {
        Fd fd(openInput(input.path));
        if (fd.get() < 0) {
            std::fprintf(stderr, "videoenc.dll: cannot open '%s': %s\n", videoenc::printable(input.path).c_str(),
                         std::strerror(errno));
            return 1;
        }
        inputFds.push_back({input.number, fd.get()});
        opened.push_back(std::move(fd));
    }

    std::unique_ptr<videoenc::StagedOutput> staged;
    std::vector<videoenc::Inherited> outputFds;
    if (plan.output) {
        const char* noUnnamed = std::getenv("SONOLIFT_NO_TMPFILE");
        staged = videoenc::StagedOutput::create(*plan.output, !(noUnnamed && std::string_view(noUnnamed) == "1"));
        if (!staged) return 1;
        std::vector<std::string>& command = plan.kind == videoenc::Plan::Kind::Amr ? plan.muxer : plan.ffmpeg;
        command[plan.output->argument] = staged->url();
        if (staged->inheritedDescriptor() >= 0) {
            outputFds.push_back({videoenc::kOutputDescriptor, staged->inheritedDescriptor()});
        }
    }

    int status;
    if (plan.kind == videoenc::Plan::Kind::Amr) {
        status = videoenc::runAmr(plan, ffmpeg, inputFds, outputFds);
    } else {
        // FFmpeg's stdout and stderr are ours, so the main program reads its console lines untouched.
        std::vector<videoenc::Inherited> fds = inputFds;
        fds.insert(fds.end(), outputFds.begin(), outputFds.end());
        const Fd devNull(open("/dev/null", O_RDONLY | O_CLOEXEC));
        const videoenc::SpawnResult child = videoenc::spawn(ffmpeg, plan.ffmpeg, devNull.get(), -1, -1, fds);
        if (child.pid < 0) {
            videoenc::reportCannotRun(ffmpeg, child.execErrno);
            return videoenc::kCannotRun;
        }
        status = videoenc::waitExit(child.pid);
    }
    if (status == 0 && staged && !staged->commit()) status = 1;
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Die with the program that started us; our children die with us in turn. The parent may have died
    // before the request took effect, which the parent id then shows.
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) return 1;

    ensureStandardDescriptors();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string ffmpeg = videoenc::toolPath("SONOLIFT_FFMPEG", "ffmpeg");

    videoenc::Hooks hooks;
    hooks.readSmallFile = [](const std::string& path) { return videoenc::readSmallFile(path, kMaxScriptBytes); };
    hooks.probeAudio = [](const std::string& path) {
        return videoenc::probeAudio(videoenc::toolPath("SONOLIFT_FFPROBE", "ffprobe"), path);
    };
    videoenc::Plan plan = videoenc::translate(args, hooks);

    // A probe goes to our own prober beside us: it prints FFmpeg's own description of the input in a third
    // of FFmpeg's start-up time, with control bytes in the name escaped. A chosen ffmpeg (SONOLIFT_FFMPEG)
    // is used for probes too.
    if (plan.probe && videoenc::toolPath("SONOLIFT_FFMPEG", "").empty()) {
        const std::string prober = videoenc::siblingPath("videoenc-probe");
        if (!prober.empty() && access(prober.c_str(), X_OK) == 0) {
            videoenc::execProgram(prober, {"file:" + *plan.probe});
        }
    }
    return convert(plan, ffmpeg);
}
