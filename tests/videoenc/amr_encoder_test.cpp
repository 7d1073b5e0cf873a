// Tests of the front's AMR-NB framing: every sample ends up in a frame, whatever the read sizes were.
#include <gtest/gtest.h>

#include <cmath>

#include "amr_encoder.h"

namespace {
using videoenc::AmrEncoder;

std::vector<unsigned char> tone(std::size_t samples) {
    std::vector<unsigned char> pcm;
    for (std::size_t i = 0; i < samples; ++i) {
        const auto s = static_cast<short>(8000 * std::sin(static_cast<double>(i) * 0.3));
        pcm.push_back(static_cast<unsigned char>(s & 0xff));  // little-endian, as FFmpeg sends it
        pcm.push_back(static_cast<unsigned char>((s >> 8) & 0xff));
    }
    return pcm;
}

TEST(AmrEncoder, FramesCoverAllSamplesWhateverTheChunking) {
    struct Case {
        std::size_t samples;
        std::size_t chunk;  // bytes per push, odd ones split samples and frames anywhere
        std::size_t frames;
    };
    const Case cases[] = {
        {0, 320, 0}, {1, 320, 1}, {160, 320, 1}, {161, 320, 2}, {1600, 320, 10},
        {1600, 7, 10}, {1601, 1, 11}, {16000, 65536, 100}, {16001, 333, 101},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.samples << " samples in chunks of " << c.chunk);
        AmrEncoder encoder(7);
        ASSERT_TRUE(encoder.ok());
        const auto pcm = tone(c.samples);
        std::vector<unsigned char> out;
        for (std::size_t at = 0; at < pcm.size(); at += c.chunk) {
            encoder.push(pcm.data() + at, std::min(c.chunk, pcm.size() - at), out);
        }
        encoder.finish(out);
        // MR122 storage frames are 32 bytes, starting with the mode byte 0x3c (mode 7, quality bit).
        ASSERT_EQ(out.size(), c.frames * 32);
        for (std::size_t f = 0; f < c.frames; ++f) EXPECT_EQ(out[f * 32], 0x3c) << "frame " << f;
    }
}

TEST(AmrEncoder, ChunkingDoesNotChangeTheStream) {
    const auto pcm = tone(4000);
    std::vector<unsigned char> whole, pieces;
    AmrEncoder a(7), b(7);
    a.push(pcm.data(), pcm.size(), whole);
    a.finish(whole);
    for (std::size_t at = 0; at < pcm.size(); at += 77) {
        b.push(pcm.data() + at, std::min<std::size_t>(77, pcm.size() - at), pieces);
    }
    b.finish(pieces);
    EXPECT_EQ(whole, pieces);
}

}  // namespace
