// Unique private files in the temporary directory.
#pragma once

#include <QString>

// Creates a new empty file named <tempdir>/<prefix>XXXXXX<suffix>, readable and
// writable by the user only, and returns its path. Raises EAppError on failure.
QString CreateUniqueTempFile(const QString& prefix, const QString& suffix);
