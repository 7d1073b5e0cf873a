// Command-line translation for videoenc.dll: FFmpeg-safe paths, encoder fixes, bit-rate clamping
// and the split of AMR-NB jobs into a decoder and a muxer around our own encoder.
#include "translate.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "printable.h"

namespace videoenc {
namespace {

// FFmpeg options that take no value. Anything else that looks like an option consumes the next argument,
// which is what FFmpeg does for nearly all of its options.
constexpr std::string_view kFlags[] = {
    "-vn",        "-an",           "-sn",       "-dn",          "-y",          "-n",
    "-nostdin",   "-stdin",        "-nostats",  "-stats",       "-hide_banner", "-shortest",
    "-re",        "-copyts",       "-benchmark", "-xerror",     "-report",     "-accurate_seek",
    "-noaccurate_seek", "-autorotate", "-noautorotate", "-start_at_zero", "-ignore_unknown", "-copy_unknown",
    "-debug_ts",  "-dump",
};

// Options with a value that we know by name, so that a trailing one is not taken for the output file.
constexpr std::string_view kValued[] = {
    "-i",  "-ac", "-ar", "-ab", "-b:a", "-acodec", "-c:a", "-codec:a", "-c",  "-codec", "-f",
    "-ss", "-t",  "-to", "-map", "-af", "-vf",     "-filter:a", "-q:a", "-aq", "-v",     "-loglevel",
};

template <std::size_t N>
bool contains(const std::string_view (&set)[N], std::string_view s) {
    return std::find(std::begin(set), std::end(set), s) != std::end(set);
}

bool looksLikeOption(std::string_view s) { return s.size() > 1 && s[0] == '-'; }

bool isAudioCodecOption(std::string_view s) {
    return s == "-acodec" || s == "-c:a" || s == "-codec:a" || s.starts_with("-c:a:") || s.starts_with("-codec:a:");
}

bool isBitRateOption(std::string_view s) { return s == "-ab" || s == "-b:a"; }

std::string lower(std::string_view s) {
    std::string r(s);
    for (char& c : r) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return r;
}

std::string extensionOf(std::string_view path) {
    const auto slash = path.rfind('/');
    const auto name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : lower(name.substr(dot + 1));
}

// Accepts what the main program sends ("128000") and FFmpeg's k/M suffixes; bounded so no overflow.
std::optional<long> parseNumber(std::string_view s) {
    if (s.empty() || s.size() > 12) return std::nullopt;
    long multiplier = 1;
    if (s.back() == 'k' || s.back() == 'K') {
        multiplier = 1000;
        s.remove_suffix(1);
    } else if (s.back() == 'M') {
        multiplier = 1000000;
        s.remove_suffix(1);
    }
    if (s.empty()) return std::nullopt;
    long value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value * multiplier;
}

std::string withFilePrefix(const std::string& path) { return "file:" + path; }

bool isScript(std::string_view path) {
    return path.size() >= 4 && lower(path.substr(path.size() - 4)) == ".avs";
}

std::string resolveScriptInput(const std::string& scriptPath, const Hooks& hooks) {
    if (!hooks.readSmallFile) return scriptPath;
    const auto text = hooks.readSmallFile(scriptPath);
    if (!text) return scriptPath;
    auto source = scriptSource(*text);
    if (!source) return scriptPath;
    // AviSynth evaluates a script from the script's own folder, so a relative source is relative to it.
    if (!source->starts_with('/')) {
        const auto slash = scriptPath.rfind('/');
        if (slash != std::string::npos) source = scriptPath.substr(0, slash + 1) + *source;
    }
    return *source;
}

enum class Role { Flag, Option, Value, Input, Output };

std::vector<Role> classify(const std::vector<std::string>& args) {
    const std::size_t n = args.size();
    std::vector<Role> roles(n, Role::Output);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& a = args[i];
        const bool last = i + 1 == n;
        if (!looksLikeOption(a)) continue;  // a positional argument: an output file to FFmpeg
        // The last argument names the output even with a leading dash, unless it is plainly an option.
        if (last && !contains(kFlags, a) && !contains(kValued, a)) continue;
        if (contains(kFlags, a)) {
            roles[i] = Role::Flag;
            continue;
        }
        roles[i] = Role::Option;
        if (!last) {
            roles[i + 1] = a == "-i" ? Role::Input : Role::Value;
            ++i;
        }
    }
    return roles;
}

}  // namespace

std::optional<std::string> scriptSource(std::string_view text) {
    constexpr std::string_view head = "DirectShowSource(\"";
    constexpr std::string_view tail = ", fps=30, convertfps=true)";
    // Editors that save as "UTF-8 with signature" put a byte-order mark first; it is no part of the line.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);
    } else if (text.ends_with('\n')) {
        text.remove_suffix(1);
    }
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return std::nullopt;
    if (!text.starts_with(head) || !text.ends_with(tail)) return std::nullopt;
    const auto lastQuote = text.rfind('"');
    if (lastQuote == std::string_view::npos || lastQuote + 1 + tail.size() != text.size()) return std::nullopt;
    if (lastQuote <= head.size()) return std::nullopt;  // empty path, or the opening quote itself
    return std::string(text.substr(head.size(), lastQuote - head.size()));
}

std::string descriptorUrl(int number) { return "file:/proc/self/fd/" + std::to_string(number); }

std::string muxerFor(std::string_view path) {
    // The muxers FFmpeg itself picks for these extensions; with the output behind a descriptor it has no
    // name to pick from.
    static constexpr std::pair<std::string_view, std::string_view> kMuxers[] = {
        {"mp3", "mp3"}, {"mp4", "mp4"}, {"3gp", "3gp"}, {"3g2", "3g2"}, {"amr", "amr"}, {"wma", "asf"},
        {"wav", "wav"}, {"au", "au"},   {"aiff", "aiff"}, {"ogg", "ogg"},
    };
    const std::string extension = extensionOf(path);
    for (const auto& [name, muxer] : kMuxers) {
        if (name == extension) return std::string(muxer);
    }
    return {};
}

std::optional<BitRateRange> acceptedBitRates(std::string_view encoder, int channels, int sampleRate) {
    if (encoder == "wmav1" || encoder == "wmav2") {
        // Measured against FFmpeg 5.1's WMA encoders: below 24 kbit/s they refuse to open at any
        // rate or channel count; above that everything up to 100 Mbit/s opens and decodes.
        return BitRateRange{24000, LONG_MAX};
    }
    if (encoder != "libvorbis") return std::nullopt;
    // Measured against libvorbis 1.3.7 through FFmpeg 5.1 by bisecting -ab for each layout (bounds are
    // inclusive; the upper ones were a few bit/s higher and are rounded down). Mono and 3+ channels use
    // the uncoupled per-channel ranges, stereo and 5.1 at 44.1 kHz have their own coupled modes.
    struct Row {
        int channels;
        int rate;
        long min;
        long max;
    };
    static constexpr Row kVorbis[] = {
        {1, 11025, 12000, 50000},   {1, 22050, 16000, 90000},   {1, 44100, 32000, 240000},
        {2, 11025, 16000, 100000},  {2, 22050, 30000, 180000},  {2, 44100, 45000, 500000},
        {3, 11025, 36000, 150000},  {3, 22050, 48000, 270000},  {3, 44100, 96000, 720000},
        {4, 11025, 48000, 200000},  {4, 22050, 64000, 360000},  {4, 44100, 128000, 960000},
        {5, 11025, 60000, 250000},  {5, 22050, 80000, 450000},  {5, 44100, 160000, 1200000},
        {6, 11025, 72000, 300000},  {6, 22050, 96000, 540000},  {6, 44100, 84000, 1440000},
        {7, 11025, 84000, 350000},  {7, 22050, 112000, 630000}, {7, 44100, 224000, 1680000},
        {8, 11025, 96000, 400000},  {8, 22050, 128000, 720000}, {8, 44100, 256000, 1920000},
    };
    for (const Row& row : kVorbis) {
        if (row.channels == channels && row.rate == sampleRate) return BitRateRange{row.min, row.max};
    }
    return std::nullopt;
}

int amrModeFor(long bitRate) {
    static constexpr long kModes[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
    int mode = 0;
    for (int m = 0; m < 8; ++m) {
        if (kModes[m] <= bitRate) mode = m;
    }
    return mode;
}

Plan translate(const std::vector<std::string>& args, const Hooks& hooks) {
    const std::vector<Role> roles = classify(args);
    std::vector<std::string> out(args);
    Plan plan;

    std::optional<std::size_t> output, firstInput, lastInput, bitRate, channels, rate, codec, format;
    std::string firstInputPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        switch (roles[i]) {
        case Role::Input: {
            const std::string path = isScript(args[i]) ? resolveScriptInput(args[i], hooks) : args[i];
            if (hasControlBytes(path)) {
                const int number = kFirstInputDescriptor + static_cast<int>(plan.inputs.size());
                plan.inputs.push_back({number, path});
                out[i] = descriptorUrl(number);
            } else {
                out[i] = withFilePrefix(path);
            }
            if (!firstInput) {
                firstInput = i;
                firstInputPath = path;
            }
            lastInput = i;
            break;
        }
        case Role::Output:
            out[i] = withFilePrefix(args[i]);
            output = i;
            break;
        case Role::Value: {
            const std::string& option = args[i - 1];
            if (isAudioCodecOption(option)) {
                // FFmpeg's own vorbis encoder is experimental and stereo-only; libvorbis is the real one.
                if (out[i] == "vorbis") out[i] = "libvorbis";
                codec = i;
            } else if (isBitRateOption(option)) {
                bitRate = i;
            } else if (option == "-ac") {
                channels = i;
            } else if (option == "-ar") {
                rate = i;
            } else if (option == "-f") {
                format = i;
            }
            break;
        }
        case Role::Flag:
        case Role::Option:
            break;
        }
    }
    if (!output && args.size() == 2 && firstInput) plan.probe = firstInputPath;

    const std::string extension = output ? extensionOf(args[*output]) : std::string();
    std::string encoder;
    if (codec) {
        encoder = out[*codec];
    } else if (extension == "wma") {
        encoder = "wmav2";
    } else if (extension == "ogg" || extension == "oga") {
        encoder = "libvorbis";
    }

    // Only the last output is staged; FFmpeg writes any earlier one (the main program sends none) by name.
    const auto addOutput = [&](std::vector<std::string>& command, std::optional<std::size_t> givenFormat) {
        Output staged{args[*output], givenFormat ? out[*givenFormat] : muxerFor(args[*output])};
        if (!givenFormat && !staged.muxer.empty()) {
            command.push_back("-f");
            command.push_back(staged.muxer);
        }
        staged.argument = command.size();
        command.push_back(staged.muxer.empty() ? withFilePrefix(staged.path) : descriptorUrl(kOutputDescriptor));
        plan.output = std::move(staged);
    };

    const bool amrCodec = encoder == "libamr_nb" || encoder == "libopencore_amrnb" || encoder == "amr_nb";
    const bool amrContainer = extension == "3gp" || extension == "3g2" || extension == "amr";
    // This FFmpeg has no AMR-NB encoder at all, so such jobs are always split around ours.
    if (output && (amrCodec || (!codec && amrContainer))) {
        plan.kind = Plan::Kind::Amr;
        if (bitRate) {
            if (const auto b = parseNumber(out[*bitRate])) plan.amrMode = amrModeFor(*b);
        }
        plan.ffmpeg.push_back("-nostdin");
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (roles[i] == Role::Output) continue;
            if (lastInput && i > *lastInput && roles[i] == Role::Option) {
                const std::string& o = args[i];
                if (isAudioCodecOption(o) || isBitRateOption(o) || o == "-ac" || o == "-ar" || o == "-f") {
                    if (i + 1 < out.size() && roles[i + 1] == Role::Value) ++i;
                    continue;
                }
            }
            plan.ffmpeg.push_back(out[i]);
        }
        for (const char* a : {"-ac", "1", "-ar", "8000", "-f", "s16le", "-acodec", "pcm_s16le", "pipe:1"}) {
            plan.ffmpeg.emplace_back(a);
        }
        plan.muxer = {"-nostdin", "-y",  "-hide_banner", "-nostats", "-loglevel", "error",
                      "-f",       "amr", "-i",           "pipe:0",   "-c:a",      "copy"};
        addOutput(plan.muxer, std::nullopt);
        return plan;
    }

    if (bitRate && output) {
        const auto requested = parseNumber(out[*bitRate]);
        std::optional<long> ch, sr;
        if (channels) ch = parseNumber(out[*channels]);
        if (rate) sr = parseNumber(out[*rate]);
        // Only Vorbis has limits that depend on the input's layout, and only then is probing worth its cost.
        if (requested && encoder == "libvorbis" && (!ch || !sr) && firstInput && hooks.probeAudio) {
            if (const auto probe = hooks.probeAudio(firstInputPath)) {
                if (!ch) ch = probe->channels;
                if (!sr) sr = probe->sampleRate;
            }
        }
        const auto asInt = [](std::optional<long> v) { return v && *v <= INT_MAX ? static_cast<int>(*v) : 0; };
        if (requested) {
            if (const auto range = acceptedBitRates(encoder, asInt(ch), asInt(sr))) {
                const long clamped = std::clamp(*requested, range->min, range->max);
                if (clamped != *requested) out[*bitRate] = std::to_string(clamped);
            }
        }
    }

    plan.ffmpeg.reserve(out.size() + 4);
    plan.ffmpeg.push_back("-nostdin");
    // The front has made the file FFmpeg writes (unnamed, or a named temporary one), so it exists: -y.
    if (output) plan.ffmpeg.push_back("-y");
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (output && i == *output) {
            // A -f the command gives for the output already names its muxer.
            const bool formatForOutput = format && *format < *output && (!lastInput || *format > *lastInput);
            addOutput(plan.ffmpeg, formatForOutput ? format : std::nullopt);
        } else {
            plan.ffmpeg.push_back(out[i]);
        }
    }
    return plan;
}

}  // namespace videoenc
