// TFileVersionInfo: the version strings, type and flags of a program file.
#pragma once

#include <QString>

struct TFileVersionInfo {
  QString ShellTypeName;
  QString CompanyName;
  QString FileDescription;
  QString FileVersion;
  QString InternalName;
  QString LegalCopyright;
  QString LegalTrademarks;
  QString OriginalFilename;
  QString ProductName;
  QString ProductVersion;
  QString Comments;
  QString SpecialBuild;
  QString PrivateBuild;
  QString FileTypeText;
  bool IsDebug = false;
  bool IsPreRelease = false;
  bool IsSpecialBuild = false;
  bool IsPrivateBuild = false;
  bool IsPatched = false;
  bool IsInfoInferred = false;
};

// Fills the record from the file; a file without version strings keeps only
// its type name.
void GetFileVersionRecord(const QString& path, TFileVersionInfo& info);

// The file type in words, from the type and subtype of the fixed information.
QString FileTypeText(quint32 fileType, quint32 subtype);
