// AMR-NB encoding of 8 kHz mono s16le PCM into the storage format of .amr files (one mode byte,
// then the speech bits, per 20 ms frame), over opencore-amrnb.
#pragma once

#include <cstddef>
#include <vector>

namespace videoenc {

class AmrEncoder {
public:
    static constexpr std::size_t kFrameSamples = 160;
    static constexpr std::size_t kFrameBytes = kFrameSamples * 2;

    explicit AmrEncoder(int mode);
    ~AmrEncoder();
    AmrEncoder(const AmrEncoder&) = delete;
    AmrEncoder& operator=(const AmrEncoder&) = delete;

    bool ok() const { return state_ != nullptr; }

    // Appends a frame for every 160 samples complete so far; the rest waits for more PCM.
    void push(const unsigned char* pcm, std::size_t bytes, std::vector<unsigned char>& frames);
    // Pads what is left with silence into a last frame, so no trailing audio is lost.
    void finish(std::vector<unsigned char>& frames);

private:
    void encode(const unsigned char* pcm, std::vector<unsigned char>& frames);

    void* state_;
    int mode_;
    std::vector<unsigned char> pending_;
};

}  // namespace videoenc
