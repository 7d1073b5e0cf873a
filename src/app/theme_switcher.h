// The window's theme switcher: a "Theme" submenu in the system menu with the
// stored default theme, the theme and skin files of the program's themes folder and of
// the user's, the built-in Flat and OfficeXP looks, no theme, and "Open theme file…".
// The choice is made current for the whole application and remembered in the
// settings file, in a section of its own.
#pragma once

#include <QMenu>
#include <QString>
#include <QStringList>
#include <functional>

class TMainWindowThemes;
class TTeForm;

// A choice as remembered: "stored", "Flat", "OfficeXP", "none" (the classic
// look) or a theme file's path.
inline const QString kStoredThemeChoice = QStringLiteral("stored");

class TThemeSwitcher {
 public:
  TThemeSwitcher(TMainWindowThemes& themes, TTeForm& form);

  // Where theme files are looked for: the program's themes folder and the user's.
  void SetFolders(const QStringList& folders) { folders_ = folders; }
  QStringList Folders() const { return folders_; }
  // The settings file the choice is remembered in (empty: not remembered).
  void SetSettingsFile(const QString& file) { settingsFile_ = file; }

  // The files offered, in folder order, each folder's by name.
  QStringList ThemeFiles() const;
  // Adds the "Theme" submenu.
  void AddMenu(QMenu& menu);
  // Makes the choice current and remembers it; false with the reason when it
  // cannot be loaded (the theme in force stays).
  bool Choose(const QString& choice, QString* why = nullptr) { return Apply(choice, why, true); }
  QString Current() const { return current_; }
  // The remembered choice, if any, made current again (quietly kept as it is
  // when it no longer loads).
  void RestoreRemembered();

  // Tells the user why a theme could not be chosen; asks for a theme file.
  std::function<void(const QString& message)> ShowMessage;
  std::function<QString()> AskThemeFile;

 private:
  bool Apply(const QString& choice, QString* why, bool remember);
  TMainWindowThemes& themes_;
  TTeForm& form_;
  QStringList folders_;
  QString settingsFile_;
  QString current_ = kStoredThemeChoice;
};
