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
    // The audio stream FFmpeg would pick from this input (already in FFmpeg's "file:" form).
    std::function<std::optional<AudioProbe>(const std::string& ffmpegInput)> probeAudio;
};

struct Plan {
    enum class Kind { Exec, Amr };
    Kind kind = Kind::Exec;
    // Exec: the ffmpeg arguments. Amr: the decoder's arguments, writing s16le mono 8 kHz to stdout.
    std::vector<std::string> ffmpeg;
    // Amr only: arguments of the ffmpeg that muxes the AMR stream read from its stdin.
    std::vector<std::string> muxer;
    int amrMode = 7;  // MR122
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

// Highest AMR-NB mode (0 = 4.75 .. 7 = 12.2 kbit/s) not above the bit rate; the lowest if all are.
int amrModeFor(long bitRate);

}  // namespace videoenc
