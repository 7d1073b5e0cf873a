// videoenc-probe: describes one input the way FFmpeg does when it is given an
// input and no output, with FFmpeg's own description function. It loads only
// the demuxing libraries, so it starts in a fraction of FFmpeg's time; the
// front hands probes to it.
extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

#include <cstdio>
#include <cstring>
#include <string>

#include "printable.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: videoenc-probe INPUT\n");
    return 2;
  }
  const char* url = argv[1];
  // Printed with control bytes escaped: a line break in a name must not start a line of the description.
  const std::string shown = videoenc::printable(url);
  // Only plain files: never a protocol that would reach the network or stdin.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  AVFormatContext* ctx = nullptr;
  const int rc = avformat_open_input(&ctx, url, nullptr, &options);
  av_dict_free(&options);
  if (rc < 0) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {0};
    av_strerror(rc, text, sizeof text);
    std::fprintf(stderr, "%s: %s\n", shown.c_str(), text);
    return 1;
  }
  if (avformat_find_stream_info(ctx, nullptr) < 0)
    av_log(nullptr, AV_LOG_WARNING, "%s: could not find codec parameters\n", shown.c_str());
  av_dump_format(ctx, 0, shown.c_str(), 0);
  avformat_close_input(&ctx);
  std::fprintf(stderr, "At least one output file must be specified\n");
  return 1;
}
