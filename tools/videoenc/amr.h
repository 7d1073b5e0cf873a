// AMR-NB jobs: FFmpeg decodes to 8 kHz mono PCM, the front encodes it with opencore-amrnb and a
// second FFmpeg muxes the AMR stream into the requested container.
#pragma once

#include <string>
#include <vector>

#include "process.h"
#include "translate.h"

namespace videoenc {

// Runs the decoder and muxer of the plan concurrently, handing each its descriptors; returns the front's
// exit status.
int runAmr(const Plan& plan, const std::string& ffmpeg, const std::vector<Inherited>& decoderFds,
           const std::vector<Inherited>& muxerFds);

}  // namespace videoenc
