// AMR-NB encoding for videoenc.dll; see amr_encoder.h.
#include "amr_encoder.h"

#include <opencore-amrnb/interf_enc.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace videoenc {

AmrEncoder::AmrEncoder(int mode) : state_(Encoder_Interface_init(0)), mode_(mode) {}

AmrEncoder::~AmrEncoder() {
    if (state_) Encoder_Interface_exit(state_);
}

void AmrEncoder::encode(const unsigned char* pcm, std::vector<unsigned char>& frames) {
    short speech[kFrameSamples];
    std::memcpy(speech, pcm, kFrameBytes);
    if constexpr (std::endian::native == std::endian::big) {
        for (short& s : speech) {
            const auto u = static_cast<unsigned short>(s);
            s = static_cast<short>(static_cast<unsigned short>((u >> 8) | (u << 8)));
        }
    }
    unsigned char frame[64];  // MR122, the largest mode, needs 32 bytes
    const int n = Encoder_Interface_Encode(state_, static_cast<enum Mode>(mode_), speech, frame, 0);
    if (n > 0) frames.insert(frames.end(), frame, frame + n);
}

void AmrEncoder::push(const unsigned char* pcm, std::size_t bytes, std::vector<unsigned char>& frames) {
    // Whole frames straight from the caller's buffer; only a split frame is copied.
    if (!pending_.empty()) {
        const std::size_t take = std::min(bytes, kFrameBytes - pending_.size());
        pending_.insert(pending_.end(), pcm, pcm + take);
        pcm += take;
        bytes -= take;
        if (pending_.size() < kFrameBytes) return;
        encode(pending_.data(), frames);
        pending_.clear();
    }
    for (; bytes >= kFrameBytes; pcm += kFrameBytes, bytes -= kFrameBytes) encode(pcm, frames);
    pending_.assign(pcm, pcm + bytes);
}

void AmrEncoder::finish(std::vector<unsigned char>& frames) {
    if (pending_.empty()) return;
    pending_.resize(kFrameBytes, 0);
    encode(pending_.data(), frames);
    pending_.clear();
}

}  // namespace videoenc
