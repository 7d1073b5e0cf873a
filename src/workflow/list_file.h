// List files (".lst"): a header line, then one input path per line.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

inline constexpr char kListHeader[] = "#Sonolift File List";

// Calls onPath for every line that is not a comment ("#...") or empty, taken
// whole. Lines end with CR LF, LF or CR. Raises EAppError when the file cannot
// be opened.
void ReadFileList(const QString& path, const std::function<void(const QString&)>& onPath);

// Writes the header and the paths, each line ended by CR LF; replaces the
// file as a whole. Raises EAppError when it cannot be written.
void WriteFileList(const QString& path, const QStringList& paths);
