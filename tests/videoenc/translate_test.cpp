// Tests of the front's command-line translation, without running anything.
#include <gtest/gtest.h>

#include <map>

#include "translate.h"

namespace {
using videoenc::AudioProbe;
using videoenc::Hooks;
using videoenc::Plan;
using Args = std::vector<std::string>;

struct Fixture {
    std::map<std::string, std::string> files;  // what readSmallFile finds
    std::optional<AudioProbe> probe;
    int probes = 0;

    Hooks hooks() {
        Hooks h;
        h.readSmallFile = [this](const std::string& path) -> std::optional<std::string> {
            const auto it = files.find(path);
            if (it == files.end()) return std::nullopt;
            return it->second;
        };
        h.probeAudio = [this](const std::string&) {
            ++probes;
            return probe;
        };
        return h;
    }
};

TEST(Translate, ExecCommandLines) {
    struct Case {
        std::string name;
        Args args;
        Args want;  // after the -nostdin the front always puts first
        std::optional<AudioProbe> probe = std::nullopt;
        bool probed = false;
    };
    const Case cases[] = {
        {"probe", {"-i", "a b.mp4"}, {"-i", "file:a b.mp4"}},
        {"plain conversion",
         {"-vn", "-i", "/v/in.avi", "-ac", "2", "-ar", "44100", "-ab", "128000", "/o/out.MP3"},
         {"-vn", "-i", "file:/v/in.avi", "-ac", "2", "-ar", "44100", "-ab", "128000", "file:/o/out.MP3"}},
        {"leading dash and colon",
         {"-vn", "-i", "-in:x.avi", "-ac", "1", "-ar", "22050", "-ab", "96000", "-out:y.WAV"},
         {"-vn", "-i", "file:-in:x.avi", "-ac", "1", "-ar", "22050", "-ab", "96000", "file:-out:y.WAV"}},
        {"output named like an option", {"-i", "in.avi", "-vn.MP3"}, {"-i", "file:in.avi", "file:-vn.MP3"}},
        {"WMA below its floor",
         {"-vn", "-i", "in", "-ac", "1", "-acodec", "wmav2", "-ar", "11025", "-ab", "16000", "o.WMA"},
         {"-vn", "-i", "file:in", "-ac", "1", "-acodec", "wmav2", "-ar", "11025", "-ab", "24000", "file:o.WMA"}},
        {"WMA in range",
         {"-vn", "-i", "in", "-ac", "2", "-acodec", "wmav2", "-ar", "44100", "-ab", "320000", "o.WMA"},
         {"-vn", "-i", "file:in", "-ac", "2", "-acodec", "wmav2", "-ar", "44100", "-ab", "320000", "file:o.WMA"}},
        {"Vorbis mono input above the ceiling",
         {"-vn", "-i", "in", "-acodec", "vorbis", "-ar", "44100", "-ab", "320000", "o.OGG"},
         {"-vn", "-i", "file:in", "-acodec", "libvorbis", "-ar", "44100", "-ab", "240000", "file:o.OGG"},
         AudioProbe{1, 48000}, true},
        {"Vorbis stereo input below the floor",
         {"-vn", "-i", "in", "-acodec", "vorbis", "-ar", "44100", "-ab", "16000", "o.OGG"},
         {"-vn", "-i", "file:in", "-acodec", "libvorbis", "-ar", "44100", "-ab", "45000", "file:o.OGG"},
         AudioProbe{2, 48000}, true},
        {"Vorbis 5.1 input has its own floor",
         {"-vn", "-i", "in", "-acodec", "vorbis", "-ar", "44100", "-ab", "32000", "o.OGG"},
         {"-vn", "-i", "file:in", "-acodec", "libvorbis", "-ar", "44100", "-ab", "84000", "file:o.OGG"},
         AudioProbe{6, 48000}, true},
        {"Vorbis input that cannot be probed",
         {"-vn", "-i", "in", "-acodec", "vorbis", "-ar", "44100", "-ab", "16000", "o.OGG"},
         {"-vn", "-i", "file:in", "-acodec", "libvorbis", "-ar", "44100", "-ab", "16000", "file:o.OGG"},
         std::nullopt, true},
        {"Vorbis with its layout given needs no probe",
         {"-vn", "-i", "in", "-ac", "1", "-acodec", "vorbis", "-ar", "11025", "-ab", "128000", "o.OGG"},
         {"-vn", "-i", "file:in", "-ac", "1", "-acodec", "libvorbis", "-ar", "11025", "-ab", "50000", "file:o.OGG"}},
        {"k suffix", {"-i", "in", "-acodec", "wmav2", "-ab", "16k", "o.WMA"},
         {"-i", "file:in", "-acodec", "wmav2", "-ab", "24000", "file:o.WMA"}},
        {"unreadable bit rate is left to FFmpeg", {"-i", "in", "-acodec", "wmav2", "-ab", "lots", "o.WMA"},
         {"-i", "file:in", "-acodec", "wmav2", "-ab", "lots", "file:o.WMA"}},
        {"no arguments", {}, {}},
        {"missing input", {"-vn", "-i"}, {"-vn", "-i"}},
        {"trailing option value is no output", {"-i", "in", "-ab", "128000"}, {"-i", "file:in", "-ab", "128000"}},
        {"trailing flag is no output", {"-i", "in", "-vn"}, {"-i", "file:in", "-vn"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.probe = c.probe;
        const Plan plan = videoenc::translate(c.args, f.hooks());
        Args want{"-nostdin"};
        want.insert(want.end(), c.want.begin(), c.want.end());
        EXPECT_EQ(plan.kind, Plan::Kind::Exec);
        EXPECT_EQ(plan.ffmpeg, want);
        EXPECT_EQ(f.probes > 0, c.probed) << "ffprobe costs a process start; only Vorbis needs it";
    }
}

TEST(Translate, ScriptInputs) {
    const std::string line = "DirectShowSource(\"/v/a \"b\".avi\", fps=30, convertfps=true)\r\n";
    struct Case {
        std::string name;
        std::string scriptPath;
        std::optional<std::string> content;  // nothing: unreadable
        std::string want;                     // the input FFmpeg gets
    };
    const Case cases[] = {
        {"absolute source", "/s/x.avs", line, "file:/v/a \"b\".avi"},
        {"any case of extension", "/s/x.AvS", line, "file:/v/a \"b\".avi"},
        {"relative source is beside the script", "/s/y z.avs",
         "DirectShowSource(\"sub/c.avi\", fps=30, convertfps=true)\r\n", "file:/s/sub/c.avi"},
        {"unreadable script goes to FFmpeg as is", "/s/x.avs", std::nullopt, "file:/s/x.avs"},
        {"other script goes to FFmpeg as is", "/s/x.avs", "Version()\r\n", "file:/s/x.avs"},
        {"not a script by name", "/s/x.avi", line, "file:/s/x.avi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (c.content) f.files[c.scriptPath] = *c.content;
        const Plan plan = videoenc::translate({"-i", c.scriptPath}, f.hooks());
        EXPECT_EQ(plan.ffmpeg, (Args{"-nostdin", "-i", c.want}));
    }
}

TEST(Translate, ScriptSource) {
    const std::string tail = "\", fps=30, convertfps=true)";
    struct Case {
        std::string text;
        std::optional<std::string> want;
    };
    const Case cases[] = {
        {"DirectShowSource(\"/a/b.avi" + tail + "\r\n", "/a/b.avi"},
        {"DirectShowSource(\"/a/\"q\" \"" + tail + "\r\n", "/a/\"q\" \""},
        {"DirectShowSource(\"/a/b.avi" + tail, "/a/b.avi"},
        {"\xEF\xBB\xBF" "DirectShowSource(\"/a/b.avi" + tail + "\r\n", "/a/b.avi"},
        {"DirectShowSource(\"/a/b.avi" + tail + "\n", "/a/b.avi"},
        {"DirectShowSource(\"/a/b.avi" + tail + "\r\n\r\n", std::nullopt},
        {"DirectShowSource(\"/a/b.avi" + tail + "\r\nx\r\n", std::nullopt},
        {"DirectShowSource(\"/a/\nb.avi" + tail + "\r\n", std::nullopt},
        {std::string("DirectShowSource(\"/a/\0b.avi", 27) + tail, std::nullopt},
        {"DirectShowSource(\"" + tail + "\r\n", std::nullopt},
        {"DirectShowSource(\", fps=30, convertfps=true)\r\n", std::nullopt},
        {"DirectShowSource(\"/a/b.avi\", fps=25, convertfps=true)\r\n", std::nullopt},
        {"DirectShowSource(\"/a/b.avi\")\r\n", std::nullopt},
        {"  DirectShowSource(\"/a/b.avi" + tail + "\r\n", std::nullopt},
        {"DirectShowSource(\"/a/b.avi" + tail + " x\r\n", std::nullopt},
        {"", std::nullopt},
        {"DirectShowSource(\"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(videoenc::scriptSource(c.text), c.want) << "script: " << c.text;
    }
}

TEST(Translate, AmrJobsAreSplitAroundOurEncoder) {
    Fixture f;
    const Plan plan = videoenc::translate(
        {"-vn", "-i", "-in.avi", "-acodec", "libamr_nb", "-ac", "1", "-ar", "8000", "-ab", "12200", "/o/a:b.3GP"},
        f.hooks());
    ASSERT_EQ(plan.kind, Plan::Kind::Amr);
    EXPECT_EQ(plan.ffmpeg, (Args{"-nostdin", "-vn", "-i", "file:-in.avi", "-ac", "1", "-ar", "8000", "-f", "s16le",
                                 "-acodec", "pcm_s16le", "pipe:1"}));
    EXPECT_EQ(plan.muxer, (Args{"-nostdin", "-hide_banner", "-nostats", "-loglevel", "error", "-f", "amr", "-i",
                                "pipe:0", "-c:a", "copy", "-f", "3gp", "file:/o/a:b.3GP"}));
    EXPECT_EQ(plan.amrMode, 7);
    EXPECT_EQ(f.probes, 0);

    // AMR-NB only has eight bit rates; a request between them gets the one below.
    const std::pair<long, int> modes[] = {{0, 0}, {4750, 0}, {5899, 1}, {7950, 5}, {12199, 6}, {12200, 7}, {128000, 7}};
    for (const auto& [bitRate, mode] : modes) EXPECT_EQ(videoenc::amrModeFor(bitRate), mode) << bitRate;
}

}  // namespace
