// End-to-end tests of videoenc.dll: the built front run as a child, exactly as the main program runs it,
// on clips made here with FFmpeg.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "harness.h"

namespace {
namespace fs = std::filesystem;
using harness::Result;
using harness::RunOptions;

Result front(const std::vector<std::string>& args, const RunOptions& options = {}) {
    std::vector<std::string> argv{harness::frontPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    return harness::run(argv, options);
}

// The last lines of FFmpeg's output, where it says why it gave up, on one line.
std::string lastLines(const std::string& text, int count = 3) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c != '\n' && c != '\r') {
            line += c;
        } else if (!line.empty()) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(line);
    std::string joined;
    for (std::size_t i = lines.size() > std::size_t(count) ? lines.size() - count : 0; i < lines.size(); ++i) {
        joined += (joined.empty() ? "" : " | ") + lines[i];
    }
    return joined;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// How the main program asks for each output format.
enum class Shape { Plain, Wma, Ogg, Amr };

struct Format {
    std::string extension;
    Shape shape;
    std::string codec;  // as ffprobe names it
};

const std::vector<Format> kFormats = {
    {"MP3", Shape::Plain, "mp3"},       {"MP4", Shape::Plain, "aac"},        {"WAV", Shape::Plain, "pcm_s16le"},
    {"AU", Shape::Plain, "pcm_s16be"},  {"AIFF", Shape::Plain, "pcm_s16be"}, {"WMA", Shape::Wma, "wmav2"},
    {"OGG", Shape::Ogg, "vorbis"},      {"3GP", Shape::Amr, "amr_nb"},
};

const Format& format(const std::string& extension) {
    for (const Format& f : kFormats) {
        if (f.extension == extension) return f;
    }
    throw std::invalid_argument(extension);
}

std::vector<std::string> command(const Format& f, const std::string& in, const std::string& out, int channels = 2,
                                 int rate = 44100, int bitRate = 128000) {
    const std::string ac = std::to_string(channels), ar = std::to_string(rate), ab = std::to_string(bitRate);
    switch (f.shape) {
    case Shape::Plain:
        return {"-vn", "-i", in, "-ac", ac, "-ar", ar, "-ab", ab, out};
    case Shape::Wma:
        return {"-vn", "-i", in, "-ac", ac, "-acodec", "wmav2", "-ar", ar, "-ab", ab, out};
    case Shape::Ogg:
        return {"-vn", "-i", in, "-acodec", "vorbis", "-ar", ar, "-ab", ab, out};
    case Shape::Amr:
        return {"-vn", "-i", in, "-acodec", "libamr_nb", "-ac", "1", "-ar", "8000", "-ab", "12200", out};
    }
    return {};
}

struct Expected {
    std::string codec;
    int rate;
    int channels;
};

Expected expected(const Format& f, int channels, int rate) {
    if (f.shape == Shape::Amr) return {f.codec, 8000, 1};
    return {f.codec, rate, channels};
}

// Empty when the file is a playable single-audio-stream file as expected, else what is wrong with it.
std::string verdict(const fs::path& file, const Expected& want, std::optional<double> seconds = std::nullopt) {
    std::error_code ec;
    if (!fs::exists(file, ec) || fs::file_size(file, ec) == 0) return "no output file";
    const harness::MediaInfo info = harness::inspect(file);
    if (!info.ok) return "does not decode: " + lastLines(info.problems);
    if (info.streams.size() != 1 || info.streams[0].get("codec_type") != "audio") {
        return "expected one audio stream, got " + std::to_string(info.streams.size()) + " streams";
    }
    const harness::Stream& s = info.streams[0];
    std::ostringstream got;
    got << s.get("codec_name") << " " << s.get("sample_rate") << " Hz " << s.get("channels") << " ch";
    if (s.get("codec_name") != want.codec || s.get("sample_rate") != std::to_string(want.rate) ||
        s.get("channels") != std::to_string(want.channels)) {
        return "got " + got.str();
    }
    if (std::atol(s.get("nb_read_frames").c_str()) <= 0) return "no audio frames";
    if (seconds && std::fabs(info.duration - *seconds) > 0.25) {
        return "lasts " + std::to_string(info.duration) + " s instead of " + std::to_string(*seconds);
    }
    return {};
}

// The two ways the front keeps an output out of sight until it is complete.
struct Staging {
    std::string name;
    std::vector<std::pair<std::string, std::string>> env;
};

const Staging kStagings[] = {
    {"unnamed file", {{"SONOLIFT_NO_TMPFILE", ""}}},
    {"named .part file", {{"SONOLIFT_NO_TMPFILE", "1"}}},
};

// The process's file creation mask for one test; children inherit it.
class Umask {
public:
    explicit Umask(mode_t mask) : old_(umask(mask)) {}
    ~Umask() { umask(old_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t old_;
};

class Front : public ::testing::Test {
protected:
    // Clips are made on first use: each test runs in its own process and needs only some of them.
    fs::path clip(double seconds, int channels, const std::string& extension = "mp4") {
        const fs::path file = dir_ / ("clip-" + std::to_string(static_cast<int>(seconds * 10)) + "-" +
                                      std::to_string(channels) + "." + extension);
        if (!fs::exists(file)) harness::makeClip(file, seconds, channels);
        return file;
    }
    harness::TempDir dir_;
};

TEST_F(Front, ProbeDescribesTheInputWithoutWaitingForStdin) {
    const Result r = front({"-i", clip(2, 2).string()}, {.stdinPipe = true, .hangLimitSeconds = 60});
    ASSERT_FALSE(r.hung);
    EXPECT_TRUE(r.exited) << r.describe();
    EXPECT_NE(r.exitCode, 0) << "FFmpeg without an output should fail";
    for (const char* line : {"Duration: 00:00:02.", "Video: mpeg4", "160x120", "Audio: aac", "48000 Hz"}) {
        EXPECT_NE(r.err.find(line), std::string::npos) << "missing '" << line << "' in\n" << r.err;
    }
    EXPECT_EQ(r.err.find("[y/N]"), std::string::npos) << r.err;
}

// The prober must print exactly FFmpeg's description, since the program reads it.
TEST_F(Front, ProbeDescriptionIsFfmpegsOwn) {
    auto description = [](const std::string& err) {
        const std::size_t from = err.find("Input #0");
        return from == std::string::npos ? std::string() : err.substr(from);
    };
    const std::string input = clip(2, 2).string();
    const Result ours = front({"-i", input});
    const Result theirs = harness::run({"ffmpeg", "-nostdin", "-i", "file:" + input});
    ASSERT_FALSE(description(ours.err).empty()) << ours.err;
    EXPECT_EQ(description(ours.err), description(theirs.err));
    EXPECT_NE(ours.exitCode, 0);

    const fs::path junk = dir_ / "junk.avi";
    writeFile(junk, "not a video at all");
    const Result bad = front({"-i", junk.string()});
    EXPECT_TRUE(bad.exited && bad.exitCode != 0) << bad.describe();
    EXPECT_EQ(bad.err.find("Duration:"), std::string::npos) << bad.err;
}

TEST_F(Front, CompleteOutputReplacesAnExistingFileWithoutAsking) {
    const Umask mask(027);
    const Format m4a{"M4A", Shape::Plain, "aac"};  // a format FFmpeg has to choose from the name
    const Format* formats[] = {&format("MP3"), &format("OGG"), &format("3GP"), &m4a};
    int n = 0;
    for (const Staging& staging : kStagings) {
        for (const Format* f : formats) {
            SCOPED_TRACE(staging.name + ", " + f->extension);
            const fs::path folder = dir_ / ("replace-" + std::to_string(n++));
            fs::create_directories(folder);
            const fs::path out = folder / ("song." + f->extension);
            writeFile(out, "keep me");
            fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write);
            const Result r = front(command(*f, clip(2, 2).string(), out.string()),
                                   {.env = staging.env, .stdinPipe = true, .hangLimitSeconds = 60});
            ASSERT_FALSE(r.hung) << "waited for an answer on stdin";
            ASSERT_TRUE(r.exited && r.exitCode == 0) << r.describe();
            EXPECT_EQ(r.err.find("[y/N]"), std::string::npos) << r.err;
            EXPECT_EQ(verdict(out, expected(*f, 2, 44100), 2.0), "");
            EXPECT_EQ(fs::status(out).permissions() & fs::perms::mask, static_cast<fs::perms>(0640))
                << "the new file should have the mode of any new file";
            EXPECT_EQ(harness::folderNames(folder), std::set<std::string>{out.filename().string()});
        }
    }
}

TEST_F(Front, FailedConversionLeavesNoFileAndKeepsTheOldOne) {
    const fs::path junk = dir_ / "junk.avi";
    writeFile(junk, "not a video at all");
    const std::string in = clip(1, 2).string(), silent = clip(1, 0).string(), missing = (dir_ / "missing.mp4").string();
    struct Case {
        std::string name;
        std::string extension;
        std::function<std::vector<std::string>(const std::string& out)> args;
    };
    const Case cases[] = {
        {"unreadable input", "MP3", [&](const std::string& out) { return command(format("MP3"), junk.string(), out); }},
        {"input without audio", "MP3", [&](const std::string& out) { return command(format("MP3"), silent, out); }},
        // FFmpeg has created its output by the time the encoder refuses the bit rate.
        {"encoder that refuses to open", "OGG",
         [&](const std::string& out) {
             return std::vector<std::string>{"-vn", "-i", in, "-acodec", "vorbis", "-ar", "48000", "-ab", "1000", out};
         }},
        {"3GP of a missing input", "3GP", [&](const std::string& out) { return command(format("3GP"), missing, out); }},
    };
    int n = 0;
    for (const Staging& staging : kStagings) {
        for (const Case& c : cases) {
            for (const bool oldFile : {false, true}) {
                SCOPED_TRACE(staging.name + ", " + c.name + (oldFile ? ", over an old file" : ""));
                const fs::path folder = dir_ / ("fail-" + std::to_string(n++));
                fs::create_directories(folder);
                const fs::path out = folder / ("song." + c.extension);
                if (oldFile) writeFile(out, "keep me");
                const Result r = front(c.args(out.string()), {.env = staging.env});
                EXPECT_TRUE(r.exited && r.exitCode != 0 && r.exitCode < 127) << r.describe();
                const std::set<std::string> left = harness::folderNames(folder);
                if (oldFile) {
                    EXPECT_EQ(left, std::set<std::string>{out.filename().string()});
                    EXPECT_EQ(readFile(out), "keep me");
                } else {
                    EXPECT_EQ(left, std::set<std::string>{});
                }
            }
        }
    }
}

// FFmpeg echoes input paths raw ("from 'PATH':"); a line break in a name would start a line that the main
// program's parser reads as FFmpeg's own.
TEST_F(Front, ControlCharactersInPathsStartNoLineOfTheirOwn) {
    const std::string fake = "  Stream #0:9: Video: h264, 7777x7777, Audio: aac";
    // True when a line (split at CR or LF, as the parser splits) starts, after blanks, with `head` and holds `part`.
    const auto hasLine = [](const std::string& text, std::string_view head, std::string_view part = {}) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string::npos) end = text.size();
            const std::size_t first = std::min(text.find_first_not_of(" \t", start), end);
            const std::string_view line = std::string_view(text).substr(first, end - first);
            if (line.starts_with(head) && line.find(part) != std::string_view::npos) return true;
            start = end + 1;
        }
        return false;
    };
    const auto fakedLine = [&](const std::string& text) { return hasLine(text, "Stream #0:9"); };
    const fs::path withAudio = clip(2, 2), silent = clip(2, 0);
    int n = 0;
    for (const std::string lineBreak : {"\n", "\r"}) {
        for (const bool audio : {true, false}) {
            const std::string stem = "clip" + lineBreak + fake + (audio ? "" : " silent");
            SCOPED_TRACE((lineBreak == "\n" ? "newline, " : "carriage return, ") +
                         std::string(audio ? "with audio" : "without audio"));
            const fs::path input = dir_ / (stem + ".mp4");
            fs::copy_file(audio ? withAudio : silent, input);

            for (const bool byFfmpeg : {false, true}) {  // our prober, FFmpeg itself
                RunOptions options;
                if (byFfmpeg) options.env = {{"SONOLIFT_FFMPEG", "ffmpeg"}};
                const Result probe = front({"-i", input.string()}, options);
                EXPECT_FALSE(fakedLine(probe.out + probe.err)) << probe.err;
                EXPECT_NE(probe.err.find("Duration: 00:00:02."), std::string::npos) << probe.err;
                EXPECT_EQ(hasLine(probe.err, "Stream #0:", "Audio: aac"), audio) << probe.err;
            }
            for (const Staging& staging : kStagings) {
                SCOPED_TRACE(staging.name);
                const fs::path folder = dir_ / ("control-" + std::to_string(n++));
                fs::create_directories(folder);
                const fs::path out = folder / (stem + ".MP3");
                const Result r = front(command(format("MP3"), input.string(), out.string()), {.env = staging.env});
                EXPECT_FALSE(fakedLine(r.out + r.err)) << r.err;
                if (audio) {
                    EXPECT_TRUE(r.exited && r.exitCode == 0) << r.describe();
                    EXPECT_EQ(verdict(out, expected(format("MP3"), 2, 44100), 2.0), "");
                    EXPECT_EQ(harness::folderNames(folder), std::set<std::string>{out.filename().string()});
                } else {
                    EXPECT_TRUE(r.exited && r.exitCode != 0) << r.describe();
                    EXPECT_TRUE(harness::folderNames(folder).empty());
                }
            }
        }
    }
}

TEST_F(Front, EveryFormatGivesAPlayableFileOfTheRightCodecAndLength) {
    const fs::path in = clip(2, 2);
    std::vector<std::string> failures(kFormats.size());
    harness::runPool(kFormats.size(), [&](std::size_t i) {
        const Format& f = kFormats[i];
        const fs::path out = dir_ / ("every." + f.extension);
        const Result r = front(command(f, in.string(), out.string()));
        if (r.hung || !r.exited || r.exitCode != 0) {
            failures[i] = f.extension + ": " + r.describe();
            return;
        }
        if (const std::string v = verdict(out, expected(f, 2, 44100), 2.0); !v.empty()) {
            failures[i] = f.extension + ": " + v;
        }
    });
    for (const std::string& failure : failures) EXPECT_TRUE(failure.empty()) << failure;
}

// Every choice the main program offers, with both layouts; one conversion of a 1 s clip per combination.
TEST_F(Front, EveryRateBitRateAndLayoutGivesAPlayableFile) {
    const int rates[] = {11025, 22050, 44100};
    const int kbits[] = {16, 24, 32, 48, 56, 96, 112, 128, 160, 192, 224, 256, 320};
    const fs::path inputs[] = {clip(1, 1), clip(1, 2)};
    struct Combo {
        const Format* format;
        int rate, kbit, channels;
    };
    std::vector<Combo> combos;
    for (const Format& f : kFormats) {
        for (int channels : {1, 2}) {
            // The 3GP command is always the same; only the input's layout can differ.
            if (f.shape == Shape::Amr) {
                combos.push_back({&f, 8000, 12, channels});
                continue;
            }
            for (int rate : rates) {
                for (int kbit : kbits) combos.push_back({&f, rate, kbit, channels});
            }
        }
    }

    std::mutex lock;
    std::vector<std::string> failures;
    harness::runPool(combos.size(), [&](std::size_t i) {
        const Combo& c = combos[i];
        const fs::path out = dir_ / ("m" + std::to_string(i) + "." + c.format->extension);
        // OGG and 3GP keep the input's layout, so for them the input is what varies.
        const bool inputLayout = c.format->shape == Shape::Ogg || c.format->shape == Shape::Amr;
        const fs::path& in = inputs[inputLayout ? c.channels - 1 : 1];
        const Result r = front(command(*c.format, in.string(), out.string(), c.channels, c.rate, c.kbit * 1000));
        std::string problem;
        if (r.hung || !r.exited) {
            problem = r.describe();
        } else if (r.exitCode != 0) {
            problem = "exit " + std::to_string(r.exitCode) + ": " + lastLines(r.err);
        } else {
            problem = verdict(out, expected(*c.format, c.channels, c.rate));
        }
        std::error_code ec;
        fs::remove(out, ec);
        if (!problem.empty()) {
            std::ostringstream s;
            s << c.format->extension << " " << c.rate << " Hz " << c.kbit << " kbit/s " << c.channels
              << " ch: " << problem;
            const std::lock_guard guard(lock);
            failures.push_back(s.str());
        }
    });
    std::ostringstream all;
    for (const std::string& f : failures) all << "\n  " << f;
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << combos.size() << " combinations failed:" << all.str();
}

// The main program hands over some inputs as a one-line DirectShowSource script instead of the file itself.
TEST_F(Front, ScriptInputIsReplacedByTheFileItNames) {
    const fs::path folder = dir_ / "dir with blank";
    fs::create_directories(folder);
    const std::string videoName = "clip \"q\" one.mp4";
    fs::copy_file(clip(2, 2), folder / videoName);
    struct Case {
        std::string name;
        std::string scriptName;
        std::string source;  // as written in the script
    };
    const Case cases[] = {
        {"absolute path", "my \"script\" 1.avs", (folder / videoName).string()},
        {"path relative to the script", "relative \"one\".AVS", videoName},
        {"upper-case extension", "UPPER.AvS", (folder / videoName).string()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path script = folder / c.scriptName;
        writeFile(script, "DirectShowSource(\"" + c.source + "\", fps=30, convertfps=true)\r\n");
        const fs::path out = dir_ / (c.scriptName + ".MP3");
        // Run from elsewhere so that a relative source only works if it is resolved against the script.
        const Result r = front(command(format("MP3"), script.string(), out.string()), {.cwd = dir_.path()});
        ASSERT_TRUE(r.exited && r.exitCode == 0) << r.describe();
        EXPECT_EQ(verdict(out, expected(format("MP3"), 2, 44100), 2.0), "");
        const Result probe = front({"-i", script.string()});
        EXPECT_NE(probe.err.find("Duration: 00:00:02."), std::string::npos) << probe.err;
    }
}

// Names FFmpeg would otherwise take for options or protocols, and names a shell would mangle.
TEST_F(Front, AwkwardFileNamesAreReadAndWrittenAsPlainFiles) {
    const std::string names[] = {"with blank", "double \"quoted\"", "ünïcødé 音声", "-leading dash", "http:colon",
                                 "a:b"};
    const std::string extensions[] = {"MP3", "OGG", "3GP"};
    const fs::path source = clip(2, 2);
    for (const std::string& name : names) fs::copy_file(source, dir_ / (name + ".mp4"));
    std::vector<std::string> failures(std::size(names) * std::size(extensions));
    harness::runPool(failures.size(), [&](std::size_t i) {
        const std::string& name = names[i / std::size(extensions)];
        const Format& f = format(extensions[i % std::size(extensions)]);
        // Relative names, as a leading dash or a colon only mislead FFmpeg at the start of the argument.
        const std::string out = name + "." + f.extension;
        const Result r = front(command(f, name + ".mp4", out), {.cwd = dir_.path()});
        std::string problem;
        if (!r.exited || r.exitCode != 0) problem = r.describe();
        else problem = verdict(dir_ / out, expected(f, 2, 44100), 2.0);
        if (!problem.empty()) failures[i] = "'" + out + "': " + problem;
    });
    for (const std::string& failure : failures) EXPECT_TRUE(failure.empty()) << failure;
}

TEST_F(Front, MalformedCommandLinesFailCleanly) {
    const std::string in = clip(1, 2).string();
    const fs::path garbage = dir_ / "garbage.avs";
    writeFile(garbage, "DirectShowSource(\"" + in + "\")\r\nsecond line\r\n");
    const fs::path huge = dir_ / "huge.avs";
    writeFile(huge, "DirectShowSource(\"" + in + "\", fps=30, convertfps=true)\r\n" + std::string(100000, ' '));
    const std::string missing = (dir_ / "missing.mp4").string();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"-i"},
        {"-vn", "-i"},
        {"-ab"},
        {"-acodec", "libamr_nb"},
        {"-acodec", "libamr_nb", (dir_ / "noinput.3GP").string()},
        {"-vn", "-i", missing, "-acodec", "libamr_nb", "-ac", "1", "-ar", "8000", "-ab", "12200",
         (dir_ / "missing.3GP").string()},
        {"-vn", "-i", in, "-acodec", "vorbis", "-ar", "44100", "-ab", "lots", (dir_ / "lots.OGG").string()},
        {"-vn", "-i", missing, "-acodec", "vorbis", "-ar", "44100", "-ab", "16000", (dir_ / "missing.OGG").string()},
        {"-vn", "-i", garbage.string(), "-ac", "2", "-ar", "44100", "-ab", "128000", (dir_ / "garbage.MP3").string()},
        {"-vn", "-i", huge.string(), "-ac", "2", "-ar", "44100", "-ab", "128000", (dir_ / "huge.MP3").string()},
        {"-i", "/dev/null.avs"},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const std::string& a : args) shown += " [" + a + "]";
        SCOPED_TRACE(shown);
        const Result r = front(args);
        ASSERT_FALSE(r.hung);
        EXPECT_TRUE(r.exited) << r.describe();
        EXPECT_NE(r.exitCode, 0);
        EXPECT_LT(r.exitCode, 127) << r.describe();
    }
    EXPECT_FALSE(fs::exists(dir_ / "missing.3GP")) << "a failed AMR job should not leave an output";
}

TEST_F(Front, FfmpegThatCannotRunGivesExitStatus127) {
    const std::string in = clip(1, 2).string();
    for (const std::string extension : {"MP3", "OGG", "3GP"}) {
        SCOPED_TRACE(extension);
        const Result r = front(command(format(extension), in, (dir_ / ("x." + extension)).string()),
                               {.env = {{"SONOLIFT_FFMPEG", "/nonexistent/ffmpeg"}}});
        EXPECT_TRUE(r.exited && r.exitCode == 127) << r.describe();
        EXPECT_NE(r.err.find("/nonexistent/ffmpeg"), std::string::npos) << r.err;
    }
}

// Feeds the start of a file into a FIFO and holds it open: the conversion reading it then waits for more
// until it is killed.
class Feeder {
public:
    Feeder(const fs::path& fifo, std::string data) : data_(std::move(data)) {
        fd_ = open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);  // read-write: never waits for a reader
        if (fd_ >= 0) thread_ = std::thread([this] { feed(); });
    }
    ~Feeder() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    // Everything was written and read back out by the other side.
    bool drained() const {
        int unread = -1;
        return done_ && ioctl(fd_, FIONREAD, &unread) == 0 && unread == 0;
    }

private:
    void feed() {
        std::size_t written = 0;
        while (!stop_ && written < data_.size()) {
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            const ssize_t n = write(fd_, data_.data() + written, data_.size() - written);
            if (n > 0) written += static_cast<std::size_t>(n);
        }
        done_ = written == data_.size();
    }
    std::string data_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// Polls a condition for at most a minute; a stand-in for waiting on an event nothing signals.
template <typename F>
bool eventually(F condition) {
    for (int i = 0; i < 6000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

TEST_F(Front, StoppedAmrConversionLeavesNoFfmpegRunning) {
    const fs::path source = clip(20, 1, "mkv");
    const std::string bytes = readFile(source);
    struct Case {
        std::string name;
        bool wholeGroup;  // the main program's way; the other is the front dying alone
    };
    for (const Case& c : {Case{"SIGKILL to the process group", true}, Case{"SIGKILL to the front only", false}}) {
        SCOPED_TRACE(c.name);
        const fs::path fifo = dir_ / ("live-" + std::to_string(c.wholeGroup) + ".mkv");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        Feeder feeder(fifo, bytes.substr(0, bytes.size() / 2));
        ASSERT_TRUE(feeder.ok());
        harness::Child conversion({harness::frontPath(), "-vn", "-i", fifo.string(), "-acodec", "libamr_nb", "-ac", "1",
                                   "-ar", "8000", "-ab", "12200", (dir_ / (fifo.stem().string() + ".3GP")).string()},
                                  {.ownGroup = true});
        // Wait for the state where only a kill ends the job: audio went through the front (so both the
        // decoder and the muxer run) and the decoder sits reading an empty FIFO, with no write ahead of it
        // that could fail on a dead pipe and end it anyway.
        std::vector<pid_t> children;
        pid_t decoder = 0;
        const bool settled = eventually([&] {
            children = harness::liveChildren(conversion.pid());
            decoder = 0;
            for (pid_t child : children) {
                if (harness::procText(child, "cmdline").find("pipe:1") != std::string::npos) decoder = child;
            }
            return children.size() == 2 && decoder && feeder.drained() &&
                   harness::procText(decoder, "wchan").find("pipe_read") != std::string::npos;
        });
        ASSERT_TRUE(settled) << "the conversion never settled with its two FFmpeg children: " << children.size()
                             << " children, decoder " << decoder << " in " << harness::procText(decoder, "wchan");

        ASSERT_EQ(kill(c.wholeGroup ? -conversion.pid() : conversion.pid(), SIGKILL), 0);
        const Result r = conversion.wait();
        EXPECT_EQ(r.signal, SIGKILL) << r.describe();
        for (pid_t child : children) {
            EXPECT_TRUE(eventually([&] { return !harness::isAlive(child); })) << "FFmpeg " << child << " still runs";
        }
        EXPECT_FALSE(harness::groupAlive(conversion.pid()));
    }
}

// Waits until FFmpeg has read all the data there is from the FIFO and sits waiting for more, so that only a
// kill ends the job; with `muxing`, also until the 3GP muxer runs (audio went through the front).
bool settledOnFifo(pid_t group, const fs::path& fifo, const Feeder& feeder, bool muxing, std::vector<pid_t>& members) {
    return eventually([&] {
        members = harness::groupMembers(group);
        bool reading = false, muxer = false;
        for (pid_t p : members) {
            if (p == group) continue;
            const std::string cmdline = harness::procText(p, "cmdline");
            if (cmdline.find(fifo.string()) != std::string::npos &&
                harness::procText(p, "wchan").find("pipe_read") != std::string::npos) {
                reading = true;
            }
            muxer = muxer || cmdline.find("pipe:0") != std::string::npos;
        }
        return feeder.drained() && reading && (muxer || !muxing);
    });
}

// The main program stops a job with SIGKILL to the front's group; the front can clean nothing up then.
TEST_F(Front, StoppedConversionLeavesNoPartialFile) {
    const std::string bytes = readFile(clip(20, 1, "mkv"));
    struct Case {
        std::string extension;
        const Staging& staging;
        bool wholeGroup;  // the main program's way; the other is the front dying alone
    };
    const Case cases[] = {
        {"MP3", kStagings[0], true}, {"MP3", kStagings[1], true}, {"3GP", kStagings[0], true},
        {"3GP", kStagings[1], true}, {"MP3", kStagings[0], false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extension + ", " + c.staging.name + (c.wholeGroup ? ", group killed" : ", front killed"));
        const std::string tag = "stop-" + std::to_string(n++);
        const fs::path folder = dir_ / tag, fifo = dir_ / (tag + ".mkv");
        fs::create_directories(folder);
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        Feeder feeder(fifo, bytes.substr(0, bytes.size() / 2));
        ASSERT_TRUE(feeder.ok());
        const fs::path out = folder / ("song." + c.extension);
        writeFile(out, "keep me");
        std::vector<std::string> argv{harness::frontPath()};
        for (const std::string& a : command(format(c.extension), fifo.string(), out.string(), 1)) argv.push_back(a);
        harness::Child conversion(argv, {.env = c.staging.env, .ownGroup = true});
        std::vector<pid_t> members;
        ASSERT_TRUE(settledOnFifo(conversion.pid(), fifo, feeder, c.extension == "3GP", members))
            << "the conversion never settled reading the FIFO: " << members.size() << " processes";

        ASSERT_EQ(kill(c.wholeGroup ? -conversion.pid() : conversion.pid(), SIGKILL), 0);
        const Result r = conversion.wait();
        EXPECT_EQ(r.signal, SIGKILL) << r.describe();
        for (pid_t p : members) {
            if (p == conversion.pid()) continue;
            EXPECT_TRUE(eventually([&] { return !harness::isAlive(p); })) << p << " still runs";
        }
        std::set<std::string> want{out.filename().string()};
        // The named file is what the main program deletes after the kill; it relies on this exact name.
        if (&c.staging == &kStagings[1]) {
            want.insert("." + out.filename().string() + "." + std::to_string(conversion.pid()) + ".part");
        }
        EXPECT_EQ(harness::folderNames(folder), want);
        EXPECT_EQ(readFile(out), "keep me");
    }
}

TEST_F(Front, ConversionEndsWhenTheProgramThatStartedItDies) {
    const std::string bytes = readFile(clip(20, 1, "mkv"));
    const fs::path fifo = dir_ / "orphan.mkv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Feeder feeder(fifo, bytes.substr(0, bytes.size() / 2));
    ASSERT_TRUE(feeder.ok());
    // A parent that waits for the front and can be killed on its own: the shell forks for the first command.
    std::vector<std::string> argv{"/bin/sh", "-c", "\"$@\"; exit", "sh", harness::frontPath()};
    for (const std::string& a : command(format("MP3"), fifo.string(), (dir_ / "orphan.MP3").string(), 1)) {
        argv.push_back(a);
    }
    harness::Child parent(argv, {.ownGroup = true});
    std::vector<pid_t> members;
    ASSERT_TRUE(settledOnFifo(parent.pid(), fifo, feeder, false, members)) << members.size() << " processes";

    ASSERT_EQ(kill(parent.pid(), SIGKILL), 0);
    for (pid_t p : members) {
        if (p == parent.pid()) continue;
        EXPECT_TRUE(eventually([&] { return !harness::isAlive(p); })) << p << " outlived it";
    }
    // The shell is not reaped yet, so its group id still names only these processes.
    if (harness::groupAlive(parent.pid())) kill(-parent.pid(), SIGKILL);
    parent.wait();
}

}  // namespace
