// The theme-file commands of sonolift-theme: packing a folder (theme.ini plus images)
// into a ".theme" file, unpacking one, converting any loadable theme file, and
// describing a theme in plain text.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TteTheme;

// A command that was well formed but could not be done (a missing image, an unreadable
// theme, a file that cannot be written); the tool exits with 1.
struct ToolFailure {
  QString Message;
};

struct PackOptions {
  QString Dir;
  QString Out;
  QString Name;  // empty: the folder's own name
  // Images theme.ini names but the folder lacks become warnings instead of failures;
  // their entries stay in the INI and bind nothing, as in a theme that lost them.
  bool AllowMissing = false;
};

// What a command wants the user to know without failing.
using Warnings = QStringList;

// True for the INI keys whose value names an image file.
bool IsImageKey(const QString& key);

// Image files are looked up as named (backslashes are folder separators), then with
// their extension replaced by .png and .bmp, then with .png and .bmp appended; every
// step ignores case. Returns the number of images packed.
int PackThemeDir(const PackOptions& options, Warnings& warnings);
// Writes theme.ini and one PNG per image named after the image plus ".png"; the INI's
// image entries are rewritten to name those files, so that packing the folder gives
// the theme back. Returns the number of images written.
int UnpackThemeFile(const QString& file, const QString& dir, Warnings& warnings);
// True for the extensions of the four skin-file variants (any case).
bool IsSkinFileName(const QString& file);
// Loads any theme file the manager can load and saves it as a packed theme; a skin file
// is saved as the skin-file variant the output's extension names.
void ConvertThemeFile(const QString& file, const QString& out);
// Kind, name, sections and images with their sizes and flags, one fact per line; for a
// skin file its metadata, images and object tree.
QString DescribeThemeFile(const QString& file);
// For a skin file: one JSON object with the kind, metadata, images (with the CRC-32 of
// their pixels), the object tree and the three tables. Other themes give kind and name.
QByteArray DescribeThemeFileJson(const QString& file);

// Raises ToolFailure with the reason when the manager cannot load the file.
std::unique_ptr<TteTheme> LoadThemeOrFail(const QString& file);
