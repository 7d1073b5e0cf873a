// Command-line splitter.
#include "command_line.h"

#include <QFileInfo>

#include <vector>

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

qsizetype SkipBlanks(const QString& s, qsizetype i) {
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

qsizetype ProgramEnd(const QString& s, qsizetype start) {
  qsizetype limit = s.indexOf(u'"', start);
  if (limit < 0) limit = s.size();
  qsizetype best = -1;
  qsizetype firstWord = -1;
  for (qsizetype i = start; i <= limit; ++i) {
    if (i == s.size() || IsBlank(s[i]) || i == limit) {
      if (i == start) break;
      if (firstWord < 0) firstWord = i;
      const QFileInfo fi(s.mid(start, i - start));
      if (fi.isFile() && fi.isExecutable()) best = i;
    }
  }
  if (best >= 0) return best;
  if (firstWord >= 0) return firstWord;
  return limit;
}

}  // namespace

QStringList SplitCommandLine(const QString& s) {
  QStringList out;
  qsizetype begin = SkipBlanks(s, 0);
  if (begin == s.size()) return out;

  qsizetype pos;
  if (s[begin] == u'"') {
    qsizetype close = s.indexOf(u'"', begin + 1);
    if (close < 0) close = s.size();
    out << s.mid(begin + 1, close - begin - 1);
    pos = close + 1;
  } else {
    const qsizetype end = ProgramEnd(s, begin);
    out << s.mid(begin, end - begin);
    pos = end;
  }

  // splits[i]: where the argument starting at or after i (blanks skipped)
  // ends, or -1 when the rest from i cannot be split cleanly. Filled from the
  // back so that each quoted argument can ask whether its rest splits.
  const qsizetype n = s.size();
  std::vector<qsizetype> next(static_cast<size_t>(n + 1) - static_cast<size_t>(pos), -2);
  auto at = [&](qsizetype i) -> qsizetype& { return next[static_cast<size_t>(i - pos)]; };
  constexpr qsizetype kDone = -3;
  for (qsizetype i = n; i >= pos; --i) {
    const qsizetype j = SkipBlanks(s, i);
    if (j == n) {
      at(i) = kDone;
      continue;
    }
    at(i) = -1;
    if (s[j] == u'"') {
      for (qsizetype k = j + 1; k < n; ++k) {
        if (s[k] != u'"') continue;
        if (k + 1 != n && !IsBlank(s[k + 1])) continue;
        if (k + 1 > n || at(k + 1) == -1) continue;
        at(i) = k + 1;
        break;
      }
    } else {
      qsizetype e = j;
      while (e < n && !IsBlank(s[e])) ++e;
      if (s.mid(j, e - j).contains(u'"')) continue;
      if (e == n || at(e) != -1) at(i) = e;
    }
  }

  if (at(pos) == -1) {
    // Nothing splits cleanly: fall back to quotes that simply toggle.
    QString cur;
    bool inQuotes = false, have = false;
    for (qsizetype i = pos; i < n; ++i) {
      const QChar c = s[i];
      if (c == u'"') {
        inQuotes = !inQuotes;
        have = true;
      } else if (IsBlank(c) && !inQuotes) {
        if (have) out << cur;
        cur.clear();
        have = false;
      } else {
        cur += c;
        have = true;
      }
    }
    if (have) out << cur;
    return out;
  }

  qsizetype i = pos;
  while (at(i) != kDone) {
    const qsizetype j = SkipBlanks(s, i);
    const qsizetype end = at(i);
    if (s[j] == u'"')
      out << s.mid(j + 1, end - j - 2);
    else
      out << s.mid(j, end - j);
    i = end;
  }
  return out;
}
