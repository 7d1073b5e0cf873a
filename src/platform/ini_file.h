// TIniFile: a settings file read and written key by key, like the classic
// profile-string functions: every write goes to disk at once, section and key
// order and comments are kept, and names compare without regard to case.
#pragma once

#include <QString>

class TIniFile {
 public:
  explicit TIniFile(QString fileName);

  const QString& FileName() const { return fileName_; }

  // Missing file, section or key gives the default.
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // A value that is not a whole number (after trimming blanks) gives the default.
  int ReadInteger(const QString& section, const QString& key, int def) const;

  // Raises EAppError when the file cannot be written.
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);

 private:
  QString fileName_;
};

// Reads a whole number the way the settings file means it: optional blanks,
// an optional sign, decimal digits, within 32 bits. Returns false otherwise.
bool ParseIniInteger(const QString& text, int& value);
