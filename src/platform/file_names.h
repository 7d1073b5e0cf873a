// File names as the kernel keeps them are bytes; the program's texts are
// QStrings. Qt decodes names that are not valid UTF-8 lossily, so the program
// carries names through its own reversible form and touches files by it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Valid UTF-8 decodes as usual; every byte of an invalid sequence becomes the
// lone low surrogate U+DC00 + byte (U+DC80..U+DCFF), as Python's
// "surrogateescape" does. EncodeFileName gives the exact bytes back.
QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);

// The arguments of the process as given (argv[1..argc)), decoded reversibly.
QStringList DecodeArguments(int argc, char** argv);

// The name made fit for one line of text: control characters as \n, \r, \t
// or \xHH, undecodable bytes as \xHH. For display only.
QString PrintableFileName(const QString& name);

// File tests and operations on the exact bytes of a name.
bool IsRegularFile(const QString& path);
bool IsDirectory(const QString& path);
bool PathExists(const QString& path);  // anything, a dangling link included
bool SameFileOnDisk(const QString& a, const QString& b);  // same device and inode
qint64 FileSizeOf(const QString& path);                   // -1 when it cannot be read
struct TFileStamp {
  qint64 Size;
  qint64 ModifiedMs;  // modification time, milliseconds since the epoch
};
std::optional<TFileStamp> FileStampOf(const QString& path);  // one stat
bool RemoveFile(const QString& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool MakeDirectories(const QString& path);

// The path made absolute against the working directory, without resolving
// links or "..": the kernel resolves it exactly as it would the original.
QString AbsoluteFileName(const QString& path);
