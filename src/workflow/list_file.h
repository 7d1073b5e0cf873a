// List files (".lst"): a header line, then one input path per line.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

inline constexpr char kListHeader[] = "#Sonolift File List";

struct TListRead {
  bool HasHeader = false;  // the first line is the header
  bool Stopped = false;    // onPath asked to stop
};

// Calls onPath for every line that is not a comment ("#...") or empty, taken
// whole, until it returns false. Lines end with CR LF, LF or CR. Names are
// decoded reversibly (file_names.h). Raises EAppError when the file cannot be
// opened or read.
TListRead ReadFileList(const QString& path, const std::function<bool(const QString&)>& onPath);

// Writes the header and the paths, each line ended by CR LF; replaces the
// file as a whole. A path with a line break cannot be held by the format:
// then nothing is written and EAppError says which. Raises EAppError when the
// file cannot be written.
void WriteFileList(const QString& path, const QStringList& paths);
