#include "theme_switcher.h"

#include <QActionGroup>
#include <QDir>
#include <QFileInfo>

#include "app_error.h"
#include "ini_file.h"
#include "main_window_themes.h"
#include "te_form.h"
#include "theme_flat.h"
#include "theme_manager.h"
#include "theme_officexp.h"

namespace {

const QString kSection = QStringLiteral("Sonolift");
const QString kKey = QStringLiteral("Theme");

}  // namespace

TThemeSwitcher::TThemeSwitcher(TMainWindowThemes& themes, TTeForm& form) : themes_(themes), form_(form) {}

QStringList TThemeSwitcher::ThemeFiles() const {
  QStringList files;
  for (const QString& folder : folders_) {
    const QDir dir(folder);
    const QStringList patterns = {QStringLiteral("*.theme"), QStringLiteral("*.uskn"), QStringLiteral("*.oskn"),
                                  QStringLiteral("*.xskn"), QStringLiteral("*.mskn")};
    for (const QFileInfo& f : dir.entryInfoList(patterns, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase))
      files << f.absoluteFilePath();
  }
  return files;
}

void TThemeSwitcher::AddMenu(QMenu& menu) {
  menu.addSeparator();
  QMenu* sub = menu.addMenu(QStringLiteral("T&heme"));
  auto* group = new QActionGroup(sub);
  const auto add = [&](const QString& text, const QString& choice) {
    QAction* a = sub->addAction(text);
    a->setCheckable(true);
    a->setChecked(choice == current_);
    group->addAction(a);
    QObject::connect(a, &QAction::triggered, sub, [this, choice] {
      QString why;
      if (!Choose(choice, &why) && ShowMessage) ShowMessage(why);
    });
  };
  add(QStringLiteral("&Sonolift (built in)"), kStoredThemeChoice);
  const QStringList files = ThemeFiles();
  if (!files.isEmpty()) sub->addSeparator();
  for (const QString& file : files) add(QFileInfo(file).fileName(), file);
  sub->addSeparator();
  add(QStringLiteral("&Flat"), QStringLiteral("Flat"));
  add(QStringLiteral("Office&XP"), QStringLiteral("OfficeXP"));
  add(QStringLiteral("&No theme (classic look)"), QStringLiteral("none"));
  sub->addSeparator();
  QAction* open = sub->addAction(QStringLiteral("&Open theme file…"));
  QObject::connect(open, &QAction::triggered, sub, [this] {
    const QString file = AskThemeFile ? AskThemeFile() : QString();
    if (file.isEmpty()) return;
    QString why;
    if (!Choose(QFileInfo(file).absoluteFilePath(), &why) && ShowMessage) ShowMessage(why);
  });
}

bool TThemeSwitcher::Apply(const QString& choice, QString* why, bool remember) {
  std::unique_ptr<TteTheme> theme;
  QString reason;
  try {
    if (choice == kStoredThemeChoice) {
      if (themes_.ThemeList().Themes().Count() > 0)
        theme = themes_.ThemeList().Themes().Items(0)->CreateTheme(ThemeManager());
      if (!theme) reason = QStringLiteral("The program's own theme cannot be read.");
    } else if (choice == QLatin1String("Flat")) {
      theme = std::make_unique<TTeFlatTheme>();
    } else if (choice == QLatin1String("OfficeXP")) {
      theme = std::make_unique<TTeOfficeXPTheme>();
    } else if (choice != QLatin1String("none")) {
      theme = ThemeManager().LoadThemeFromFile(choice);
      if (!theme)
        reason = QFileInfo::exists(choice) ? QStringLiteral("\"%1\" is not a theme this program can read.").arg(choice)
                                           : QStringLiteral("\"%1\" does not exist.").arg(choice);
    }
  } catch (const std::exception& e) {
    theme.reset();
    reason = QStringLiteral("\"%1\" cannot be loaded: %2").arg(choice, ExceptionMessage(e));
  }
  const bool none = choice == QLatin1String("none");
  if (!theme && !none) {
    if (why) *why = reason;
    return false;
  }
  // The frame follows the theme in force; only the stored theme keeps the
  // frame's own copy of it.
  form_.SetThemeLink(choice == kStoredThemeChoice ? &themes_.Link() : nullptr);
  if (none) ThemeManager().ClearCurrentTheme();
  else ThemeManager().SetCurrentTheme(std::move(theme));
  current_ = choice;
  if (remember && !settingsFile_.isEmpty()) {
    try {
      TIniFile(settingsFile_).WriteString(kSection, kKey, choice);
    } catch (const std::exception&) {
      // Not remembered; the theme is in force all the same.
    }
  }
  return true;
}

void TThemeSwitcher::RestoreRemembered() {
  if (settingsFile_.isEmpty()) return;
  const QString choice = TIniFile(settingsFile_).ReadString(kSection, kKey, QString()).trimmed();
  if (choice.isEmpty() || choice == current_) return;
  Apply(choice, nullptr, false);  // already remembered: no write at start
}
