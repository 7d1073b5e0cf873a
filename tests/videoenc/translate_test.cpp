// Tests of the front's command-line translation, without running anything.
#include <gtest/gtest.h>

#include <algorithm>
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

const std::string kOut = "file:/proc/self/fd/3";  // where FFmpeg writes: the front's file on descriptor 3

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
         {"-y", "-vn", "-i", "file:/v/in.avi", "-ac", "2", "-ar", "44100", "-ab", "128000", "-f", "mp3", kOut}},
        {"leading dash and colon",
         {"-vn", "-i", "-in:x.avi", "-ac", "1", "-ar", "22050", "-ab", "96000", "-out:y.WAV"},
         {"-y", "-vn", "-i", "file:-in:x.avi", "-ac", "1", "-ar", "22050", "-ab", "96000", "-f", "wav", kOut}},
        {"output named like an option", {"-i", "in.avi", "-vn.MP3"}, {"-y", "-i", "file:in.avi", "-f", "mp3", kOut}},
        {"extension without a muxer of ours", {"-i", "in.avi", "/o/-x.m4a"},
         {"-y", "-i", "file:in.avi", "file:/o/-x.m4a"}},
        {"muxer the command chose", {"-i", "in.avi", "-f", "wav", "o.MP3"},
         {"-y", "-i", "file:in.avi", "-f", "wav", kOut}},
        {"input format is not the output's", {"-f", "avi", "-i", "in", "o.MP3"},
         {"-y", "-f", "avi", "-i", "file:in", "-f", "mp3", kOut}},
        {"WMA below its floor",
         {"-vn", "-i", "in", "-ac", "1", "-acodec", "wmav2", "-ar", "11025", "-ab", "16000", "o.WMA"},
         {"-y", "-vn", "-i", "file:in", "-ac", "1", "-acodec", "wmav2", "-ar", "11025", "-ab", "24000", "-f", "asf",
          kOut}},
        {"WMA in range",
         {"-vn", "-i", "in", "-ac", "2", "-acodec", "wmav2", "-ar", "44100", "-ab", "320000", "o.WMA"},
         {"-y", "-vn", "-i", "file:in", "-ac", "2", "-acodec", "wmav2", "-ar", "44100", "-ab", "320000", "-f", "asf",
          kOut}},
        {"Vorbis mono input above the ceiling",
         {"-vn", "-i", "in", "-acodec", "vorbis", "-ar", "44100", "-ab", "320000", "o.OGG"},
         {"-y", "-vn", "-i", "file:in", "-acodec", "libvorbis", "-ar", "44100", "-ab", "240000", "-f", "ogg", kOut},
         AudioProbe{1, 48000}, true},
        {"Vorbis stereo input below the floor",
         {"-vn", "-i", "in", "-acodec", "vorbis", "-ar", "44100", "-ab", "16000", "o.OGG"},
         {"-y", "-vn", "-i", "file:in", "-acodec", "libvorbis", "-ar", "44100", "-ab", "45000", "-f", "ogg", kOut},
         AudioProbe{2, 48000}, true},
        {"Vorbis 5.1 input has its own floor",
         {"-vn", "-i", "in", "-acodec", "vorbis", "-ar", "44100", "-ab", "32000", "o.OGG"},
         {"-y", "-vn", "-i", "file:in", "-acodec", "libvorbis", "-ar", "44100", "-ab", "84000", "-f", "ogg", kOut},
         AudioProbe{6, 48000}, true},
        {"Vorbis input that cannot be probed",
         {"-vn", "-i", "in", "-acodec", "vorbis", "-ar", "44100", "-ab", "16000", "o.OGG"},
         {"-y", "-vn", "-i", "file:in", "-acodec", "libvorbis", "-ar", "44100", "-ab", "16000", "-f", "ogg", kOut},
         std::nullopt, true},
        {"Vorbis with its layout given needs no probe",
         {"-vn", "-i", "in", "-ac", "1", "-acodec", "vorbis", "-ar", "11025", "-ab", "128000", "o.OGG"},
         {"-y", "-vn", "-i", "file:in", "-ac", "1", "-acodec", "libvorbis", "-ar", "11025", "-ab", "50000", "-f", "ogg",
          kOut}},
        {"k suffix", {"-i", "in", "-acodec", "wmav2", "-ab", "16k", "o.WMA"},
         {"-y", "-i", "file:in", "-acodec", "wmav2", "-ab", "24000", "-f", "asf", kOut}},
        {"unreadable bit rate is left to FFmpeg", {"-i", "in", "-acodec", "wmav2", "-ab", "lots", "o.WMA"},
         {"-y", "-i", "file:in", "-acodec", "wmav2", "-ab", "lots", "-f", "asf", kOut}},
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
        // The output is staged: the plan says where it belongs and which argument the front may replace.
        const bool hasOutput = std::find(want.begin(), want.end(), "-y") != want.end();
        ASSERT_EQ(plan.output.has_value(), hasOutput);
        if (hasOutput) {
            EXPECT_EQ(c.args.back(), plan.output->path);
            ASSERT_LT(plan.output->argument, plan.ffmpeg.size());
            EXPECT_EQ(plan.ffmpeg[plan.output->argument], want.back());
            EXPECT_EQ(plan.output->muxer.empty(), want.back() != kOut);
        }
    }
}

TEST(Translate, MuxerFollowsTheExtensionInAnyCase) {
    const std::pair<std::string, std::string> cases[] = {
        {"/o/a.mp3", "mp3"}, {"/o/a.MP3", "mp3"},   {"a.Mp4", "mp4"},     {"a.3GP", "3gp"},   {"a.3g2", "3g2"},
        {"a.AMR", "amr"},    {"a.WMA", "asf"},      {"a.wav", "wav"},     {"a.AU", "au"},     {"a.AIFF", "aiff"},
        {"a.Ogg", "ogg"},    {"a.m4a", ""},         {"a.mka", ""},        {"mp3", ""},        {"/o.mp3/a", ""},
        {"a.mp3.part", ""},  {"/o/.mp3", "mp3"},
    };
    for (const auto& [path, muxer] : cases) EXPECT_EQ(videoenc::muxerFor(path), muxer) << path;
}

// FFmpeg echoes input names raw, so a name with a line break in it could pass for a line of FFmpeg's own.
TEST(Translate, InputsWithControlBytesGoByDescriptor) {
    Fixture f;
    f.files["/s/\x1b.avs"] = "DirectShowSource(\"/v/tab\there.avi\", fps=30, convertfps=true)\r\n";
    f.files["/s/fine.avs"] = "DirectShowSource(\"/v/fine.avi\", fps=30, convertfps=true)\r\n";
    struct Case {
        std::string name;
        std::string input;
        std::string want;                     // what FFmpeg gets
        std::optional<std::string> opened;    // what the front opens for it
    };
    const Case cases[] = {
        {"line feed", "/v/a\n  Stream #0:9: Audio: aac.avi", "file:/proc/self/fd/4",
         "/v/a\n  Stream #0:9: Audio: aac.avi"},
        {"carriage return", "a\rb.mp4", "file:/proc/self/fd/4", "a\rb.mp4"},
        {"delete", "a\x7f.mp4", "file:/proc/self/fd/4", "a\x7f.mp4"},
        {"script's source", "/s/\x1b.avs", "file:/proc/self/fd/4", "/v/tab\there.avi"},
        {"script whose own name has one", "/s/\x1b" "fine.avs", "file:/proc/self/fd/4", "/s/\x1b" "fine.avs"},
        {"plain name", "/v/ünï \"q\".avi", "file:/v/ünï \"q\".avi", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Plan plan = videoenc::translate({"-vn", "-i", c.input, "-ac", "2", "/o/x.MP3"}, f.hooks());
        EXPECT_EQ(plan.ffmpeg, (Args{"-nostdin", "-y", "-vn", "-i", c.want, "-ac", "2", "-f", "mp3", kOut}));
        if (c.opened) {
            ASSERT_EQ(plan.inputs.size(), 1u);
            EXPECT_EQ(plan.inputs[0].number, 4);
            EXPECT_EQ(plan.inputs[0].path, *c.opened);
        } else {
            EXPECT_TRUE(plan.inputs.empty());
        }
    }

    // Every such input gets a descriptor of its own, in the AMR decoder too; the probe keeps the real name.
    const Plan two = videoenc::translate({"-i", "a\n.avi", "-i", "b.avi", "-i", "c\n.avi", "-acodec", "libamr_nb",
                                          "o.3GP"},
                                         f.hooks());
    ASSERT_EQ(two.kind, Plan::Kind::Amr);
    EXPECT_EQ(two.ffmpeg, (Args{"-nostdin", "-i", "file:/proc/self/fd/4", "-i", "file:b.avi", "-i",
                                "file:/proc/self/fd/5", "-ac", "1", "-ar", "8000", "-f", "s16le", "-acodec",
                                "pcm_s16le", "pipe:1"}));
    ASSERT_EQ(two.inputs.size(), 2u);
    EXPECT_EQ(two.inputs[1].number, 5);
    EXPECT_EQ(two.inputs[1].path, "c\n.avi");
    EXPECT_EQ(videoenc::translate({"-i", "a\n.avi"}, f.hooks()).probe, "a\n.avi");
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
        EXPECT_EQ(plan.probe, c.want.substr(5)) << "the prober gets the file the script names";
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
    EXPECT_EQ(plan.muxer, (Args{"-nostdin", "-y", "-hide_banner", "-nostats", "-loglevel", "error", "-f", "amr",
                                "-i", "pipe:0", "-c:a", "copy", "-f", "3gp", kOut}));
    ASSERT_TRUE(plan.output);
    EXPECT_EQ(plan.output->path, "/o/a:b.3GP");
    EXPECT_EQ(plan.output->argument, plan.muxer.size() - 1);
    EXPECT_EQ(plan.amrMode, 7);
    EXPECT_EQ(f.probes, 0);

    // AMR-NB only has eight bit rates; a request between them gets the one below.
    const std::pair<long, int> modes[] = {{0, 0}, {4750, 0}, {5899, 1}, {7950, 5}, {12199, 6}, {12200, 7}, {128000, 7}};
    for (const auto& [bitRate, mode] : modes) EXPECT_EQ(videoenc::amrModeFor(bitRate), mode) << bitRate;
}

}  // namespace
