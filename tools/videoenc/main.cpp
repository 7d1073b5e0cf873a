// videoenc.dll: the transcoder front the main program runs for every probe and conversion.
// It fixes up the command line for this system's FFmpeg and then, in the common case, becomes FFmpeg.
#include <fcntl.h>
#include <cstdlib>
#include <unistd.h>

#include <string>
#include <vector>

#include "amr.h"
#include "process.h"
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

}  // namespace

int main(int argc, char** argv) {
    ensureStandardDescriptors();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string ffmpeg = videoenc::toolPath("SONOLIFT_FFMPEG", "ffmpeg");

    videoenc::Hooks hooks;
    hooks.readSmallFile = [](const std::string& path) { return videoenc::readSmallFile(path, kMaxScriptBytes); };
    hooks.probeAudio = [](const std::string& input) {
        return videoenc::probeAudio(videoenc::toolPath("SONOLIFT_FFPROBE", "ffprobe"), input);
    };
    const videoenc::Plan plan = videoenc::translate(args, hooks);

    if (plan.kind == videoenc::Plan::Kind::Amr) return videoenc::runAmr(plan, ffmpeg);
    // A probe (an input, no output) goes to our own prober beside us: it prints
    // FFmpeg's own description of the input in a third of FFmpeg's start-up time.
    // A chosen ffmpeg (SONOLIFT_FFMPEG) is used for probes too.
    if (plan.ffmpeg.size() == 3 && plan.ffmpeg[0] == "-nostdin" && plan.ffmpeg[1] == "-i" &&
        !std::getenv("SONOLIFT_FFMPEG")) {
        const std::string prober = videoenc::siblingPath("videoenc-probe");
        if (!prober.empty() && access(prober.c_str(), X_OK) == 0) videoenc::execProgram(prober, {plan.ffmpeg[2]});
    }
    videoenc::execFfmpeg(ffmpeg, plan.ffmpeg);
}
