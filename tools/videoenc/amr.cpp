// AMR-NB jobs for videoenc.dll; see amr.h.
#include "amr.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "amr_encoder.h"
#include "process.h"

namespace videoenc {
namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0) close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

}  // namespace

int runAmr(const Plan& plan, const std::string& ffmpeg, const std::vector<Inherited>& decoderFds,
           const std::vector<Inherited>& muxerFds) {
    // A muxer that gives up (say, on a full disk) must show up as EPIPE, not kill the front.
    signal(SIGPIPE, SIG_IGN);

    AmrEncoder encoder(plan.amrMode);
    if (!encoder.ok()) {
        std::fprintf(stderr, "videoenc.dll: cannot start the AMR-NB encoder\n");
        return 1;
    }

    Fd devNull(open("/dev/null", O_RDWR | O_CLOEXEC));
    int pcmPipe[2];
    if (pipe2(pcmPipe, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "videoenc.dll: cannot create a pipe: %s\n", std::strerror(errno));
        return 1;
    }
    Fd pcm(pcmPipe[0]);
    Fd pcmWrite(pcmPipe[1]);
    // The decoder's stderr stays ours: the main program follows its Duration and time= lines.
    const SpawnResult decoder = spawn(ffmpeg, plan.ffmpeg, devNull.get(), pcmWrite.get(), -1, decoderFds);
    pcmWrite.reset();
    if (decoder.pid < 0) {
        reportCannotRun(ffmpeg, decoder.execErrno);
        return kCannotRun;
    }

    pid_t muxer = -1;
    Fd muxIn;
    bool frontFailed = false;
    bool muxerGone = false;
    // Started on the first audio only: a job whose input fails costs no muxer start.
    const auto startMuxer = [&]() -> bool {
        int m[2];
        if (pipe2(m, O_CLOEXEC) != 0) {
            std::fprintf(stderr, "videoenc.dll: cannot create a pipe: %s\n", std::strerror(errno));
            return false;
        }
        Fd readEnd(m[0]);
        muxIn.reset(m[1]);
        const SpawnResult child = spawn(ffmpeg, plan.muxer, readEnd.get(), -1, -1, muxerFds);
        if (child.pid < 0) {
            reportCannotRun(ffmpeg, child.execErrno);
            return false;
        }
        muxer = child.pid;
        static constexpr char kMagic[] = "#!AMR\n";
        if (!writeAll(muxIn.get(), kMagic, sizeof kMagic - 1)) muxerGone = true;
        return true;
    };
    const auto send = [&](std::vector<unsigned char>& frames) {
        if (frames.empty() || muxerGone) return;
        if (muxer < 0 && !startMuxer()) {
            frontFailed = true;
            return;
        }
        if (!muxerGone && !writeAll(muxIn.get(), frames.data(), frames.size())) {
            if (errno == EPIPE) {
                muxerGone = true;
            } else {
                std::fprintf(stderr, "videoenc.dll: cannot pass audio to FFmpeg: %s\n", std::strerror(errno));
                frontFailed = true;
            }
        }
        frames.clear();
    };

    std::vector<unsigned char> frames;
    std::vector<unsigned char> buffer(64 * 1024);
    while (!frontFailed && !muxerGone) {
        const ssize_t n = read(pcm.get(), buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "videoenc.dll: cannot read decoded audio: %s\n", std::strerror(errno));
            frontFailed = true;
            break;
        }
        if (n == 0) break;
        encoder.push(buffer.data(), static_cast<std::size_t>(n), frames);
        send(frames);
    }

    const bool stopped = frontFailed || muxerGone;
    if (stopped) {
        // Nothing will take the decoder's output any more; letting it run on would only waste time.
        kill(decoder.pid, SIGKILL);
    } else {
        encoder.finish(frames);
    }
    pcm.reset();
    const int decoderStatus = waitExit(decoder.pid);
    if (!stopped) {
        if (!frames.empty()) {
            send(frames);
        } else if (muxer < 0 && decoderStatus == 0) {
            // A successful decode without a single sample still gets its (empty) file, as FFmpeg would.
            if (!startMuxer()) frontFailed = true;
        }
    }
    muxIn.reset();  // end of stream: the muxer finishes the file
    const int muxerStatus = muxer >= 0 ? waitExit(muxer) : 0;

    if (frontFailed) return 1;
    if (!muxerGone && decoderStatus != 0) return decoderStatus;
    if (muxerStatus != 0) return muxerStatus;
    return muxerGone ? 1 : decoderStatus;
}

}  // namespace videoenc
