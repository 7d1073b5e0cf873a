// Splits a composed command line into a program path and an argument vector,
// so that commands can be written as one text yet started without a shell.
#pragma once

#include <QStringList>

// The first item is the program. An unquoted program path may contain blanks:
// the longest blank-ended prefix that names an executable file wins, the first
// word otherwise. Arguments are separated by blanks and may be enclosed in
// double quotes; quoted paths are never escaped, so a double quote inside one
// is taken literally unless it closes the argument. A quote closes only where
// it is followed by a blank or the end and the rest of the line still splits
// cleanly, which keeps names like  my "best" clip.avi  whole.
QStringList SplitCommandLine(const QString& commandLine);
