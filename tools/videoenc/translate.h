// Turns the command line the main program gives videoenc.dll into the FFmpeg
// command line(s) that actually run. Pure logic: file and process access come in through hooks.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace videoenc {

struct AudioProbe {
    int channels = 0;
    int sampleRate = 0;
};

struct Hooks {
    // Contents of a small regular file, or nothing if it is missing, large or not a regular file.
    std::function<std::optional<std::string>(const std::string& path)> readSmallFile;
    // The audio stream FFmpeg would pick from the input at this path.
    std::function<std::optional<AudioProbe>(const std::string& path)> probeAudio;
};

// FFmpeg gets some files as descriptors the front opened, and reopens them as /proc/self/fd/N: the output
// always on 3, inputs from 4 on.
constexpr int kOutputDescriptor = 3;
constexpr int kFirstInputDescriptor = 4;

// The FFmpeg URL of a descriptor the front hands down: "file:/proc/self/fd/N".
std::string descriptorUrl(int number);

// An input FFmpeg must not see by name (FFmpeg echoes input names raw, control bytes and all).
struct InputDescriptor {
    int number;
    std::string path;
};

// The file the job writes; the front puts it in place only when it is complete.
struct Output {
    std::string path;    // as the main program named it
    std::string muxer;   // FFmpeg's container; empty when FFmpeg has to choose it from the file name
    std::size_t argument = 0;  // index of the output URL in `ffmpeg` (Exec) or `muxer` (Amr)
};

struct Plan {
    enum class Kind { Exec, Amr };
    Kind kind = Kind::Exec;
    // Exec: the ffmpeg arguments. Amr: the decoder's arguments, writing s16le mono 8 kHz to stdout.
    std::vector<std::string> ffmpeg;
    // Amr only: arguments of the ffmpeg that muxes the AMR stream read from its stdin.
    std::vector<std::string> muxer;
    int amrMode = 7;  // MR122
    // The output URL is descriptorUrl(kOutputDescriptor) when the muxer is known, else "file:" + path.
    std::optional<Output> output;
    std::vector<InputDescriptor> inputs;
    // Set when the job only describes one input: that input's path, scripts already resolved.
    std::optional<std::string> probe;
};

Plan translate(const std::vector<std::string>& args, const Hooks& hooks);

// The source path of a one-line DirectShowSource script, or nothing if the text is not such a script.
std::optional<std::string> scriptSource(std::string_view text);

struct BitRateRange {
    long min;
    long max;
};

// Bit rates the encoder accepts at this layout; nothing when it takes any we could send it.
std::optional<BitRateRange> acceptedBitRates(std::string_view encoder, int channels, int sampleRate);

// The muxer for an output file name by its extension in any letter case, empty for names FFmpeg must judge.
std::string muxerFor(std::string_view path);

// Highest AMR-NB mode (0 = 4.75 .. 7 = 12.2 kbit/s) not above the bit rate; the lowest if all are.
int amrModeFor(long bitRate);

}  // namespace videoenc
