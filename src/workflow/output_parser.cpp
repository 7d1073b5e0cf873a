// Transcoder output parser.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "output_parser.h"

#include <QLocale>
#include <pcre2.h>

#include <cmath>
#include <memory>

namespace {

struct TPattern {
  pcre2_code* code = nullptr;
  explicit TPattern(const char* text) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(text), PCRE2_ZERO_TERMINATED, 0, &error, &offset, nullptr);
  }
  ~TPattern() { pcre2_code_free(code); }

  // Groups 1..n of the first match anywhere in text, when every one took part.
  bool Match(const QByteArray& text, QByteArray* groups, int n) const {
    if (!code) return false;
    std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)> md(
        pcre2_match_data_create_from_pattern(code, nullptr), pcre2_match_data_free);
    const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.constData()), size_t(text.size()), 0, 0,
                               md.get(), nullptr);
    if (rc <= n) return false;  // rc - 1 is the highest group that took part
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md.get());
    for (int g = 1; g <= n; ++g) {
      if (ov[2 * g] == PCRE2_UNSET) return false;
      groups[g - 1] = text.mid(qsizetype(ov[2 * g]), qsizetype(ov[2 * g + 1] - ov[2 * g]));
    }
    return true;
  }
};

struct TPatterns {
  TPattern duration{"Duration: (\\d+):(\\d+):(\\d+)"};
  TPattern size{", (\\d+)x(\\d+)"};
};

TPatterns& Patterns() {
  static TPatterns patterns;
  return patterns;
}

// A whole number of at most nine digits, so that no sum below overflows.
bool SmallNumber(const QByteArray& digits, int64_t& v) {
  if (digits.isEmpty() || digits.size() > 9) return false;
  bool ok = false;
  v = digits.toLongLong(&ok);
  return ok;
}

// Seconds of a time text, read with a decimal point whatever the locale:
// "41.50" or FFmpeg's "00:01:23.45". Rounded to the nearest whole second,
// halves to the even neighbour.
std::optional<int64_t> ReadSeconds(QByteArray text) {
  text = text.trimmed();
  if (text.isEmpty()) return std::nullopt;
  double total = 0;
  const QList<QByteArray> parts = text.split(':');
  if (parts.size() > 3) return std::nullopt;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QByteArray& p = parts[i];
    if (p.isEmpty()) return std::nullopt;
    for (char c : p)
      if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.')) return std::nullopt;
    bool ok = false;
    const double v = (i + 1 == parts.size()) ? p.toDouble(&ok) : double(p.toLongLong(&ok));
    if (!ok || v > 1e9) return std::nullopt;
    total += v;
    if (i + 1 < parts.size()) total *= 60;
  }
  // The default rounding mode rounds halves to even.
  return int64_t(std::nearbyint(total));
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

void CompileOutputPatterns() { Patterns(); }

std::optional<double> ParseEncoderLine(const QByteArray& line, TMediaFacts& facts) {
  QByteArray g[3];

  // Only FFmpeg's own lines count: a file or metadata text that happens to
  // read "Duration: ..", ", 1280x720" or "Audio: " must not be taken for them.
  // Duration opens its line; sizes and audio come from "Stream #" lines.
  const QByteArray trimmed = line.trimmed();
  if (trimmed.startsWith("Duration:") && Patterns().duration.Match(trimmed, g, 3)) {
    int64_t h, m, s;
    if (SmallNumber(g[0], h) && SmallNumber(g[1], m) && SmallNumber(g[2], s)) {
      const int64_t total = h * 3600 + m * 60 + s;
      if (total <= INT32_MAX) facts.Duration = int(total);
    }
  }

  const bool streamLine = trimmed.startsWith("Stream #");
  const qsizetype video = line.indexOf("Video:");
  if (streamLine && video >= 0 && Patterns().size.Match(line.mid(video), g, 2) &&
      (facts.VideoWidth == 0 || facts.VideoHeight == 0)) {
    int64_t w, h;
    if (SmallNumber(g[0], w) && SmallNumber(g[1], h)) {
      facts.VideoWidth = int(w);
      facts.VideoHeight = int(h);
    }
  }

  if (const qsizetype audio = streamLine ? line.indexOf("Audio: ") : -1; audio >= 0) {
    facts.HasAudio = true;
    if (facts.AudioStreams++ == 0) {
      const QByteArray rest = line.mid(audio + 7);
      qsizetype end = 0;
      while (end < rest.size() && rest[end] != ' ' && rest[end] != ',') ++end;
      facts.AudioCodec = QString::fromLatin1(rest.left(end));
    }
  }

  const qsizetype at = line.indexOf("time=");
  if (at < 0) return std::nullopt;
  const QByteArray rest = line.mid(at + 5, 100);
  const qsizetype blank = rest.indexOf(' ');
  if (blank < 0 || facts.Duration <= 0) return std::nullopt;
  const std::optional<int64_t> t = ReadSeconds(rest.left(blank + 1));
  if (!t) return std::nullopt;
  double p = double(*t * 100) / double(facts.Duration);
  if (p > 100) p = 100;
  return p;
}

QString FormatProgress(double percent) {
  return QLocale().toString(percent, 'f', 1) + u'%';
}

void TEncoderOutputParser::Reset() {
  pending_[0].clear();
  pending_[1].clear();
}

void TEncoderOutputParser::Feed(Stream stream, const char* data, unsigned count, TMediaFacts& facts,
                                const TProgressSink& progress) {
  QByteArray chunk(data, qsizetype(count));
  // A zero byte ends the text of the chunk.
  if (const qsizetype nul = chunk.indexOf('\0'); nul >= 0) chunk.truncate(nul);
  QByteArray& pending = pending_[stream];
  pending += chunk;
  const qsizetype lastBreak = std::max(pending.lastIndexOf('\n'), pending.lastIndexOf('\r'));
  if (lastBreak < 0) {
    // No line end yet. Bound what is held: a stream of garbage without line
    // breaks is parsed in pieces rather than kept.
    if (pending.size() > 64 * 1024) {
      const QByteArray text = pending;
      pending.clear();
      ParseText(text, facts, progress);
    }
    return;
  }
  const QByteArray complete = pending.left(lastBreak + 1);
  pending.remove(0, lastBreak + 1);
  ParseText(complete, facts, progress);
}

void TEncoderOutputParser::Flush(TMediaFacts& facts, const TProgressSink& progress) {
  for (QByteArray& pending : pending_) {
    const QByteArray text = pending;
    pending.clear();
    ParseText(text, facts, progress);
  }
}

void TEncoderOutputParser::ParseText(const QByteArray& text, TMediaFacts& facts, const TProgressSink& progress) {
  // Carriage return, line feed, or the pair: each ends one line. FFmpeg
  // rewrites its progress line with bare carriage returns.
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i <= n; ++i) {
    if (i < n && text[i] != '\r' && text[i] != '\n') continue;
    QByteArray line = text.mid(start, i - start);
    if (i + 1 < n && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
    qsizetype b = 0, e = line.size();
    while (b < e && IsBlankOrControl(line[b])) ++b;
    while (e > b && IsBlankOrControl(line[e - 1])) --e;
    if (b == e) continue;
    const std::optional<double> p = ParseEncoderLine(line, facts);
    if (p && progress) progress(*p);
  }
}
