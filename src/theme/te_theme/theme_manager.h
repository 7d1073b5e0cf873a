// TteThemeManager: the registry of theme classes, the owner of the current theme and
// the broadcaster of theme changes; plus the rule by which a control finds its theme.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "te_theme.h"

class QIODevice;

// Message numbers and the codes of the theme-change message.
inline constexpr uint32_t kThemeChangeMessage = 0x800;
inline constexpr uint32_t kThemeLinkChangeMessage = 0x801;
enum TteThemeChange : int {
  ktcReplaced = 0,      // the current theme was replaced (the old one is freed)
  ktcChanging = 1,      // a change is about to happen
  ktcChanged = 2,       // the change has finished
  ktcBecameCurrent = 3, // a theme became current while none was
  ktcRemoved = 4,       // the current theme was removed
  ktcLookChanged = 5,   // colours, display or styles changed (0), or hue/brightness (1)
};

// Platform messages the manager watches (a visual-style, colour or display change).
inline constexpr uint32_t kPlatformThemeChanged = 0x31A;
inline constexpr uint32_t kPlatformSysColorChange = 0x15;
inline constexpr uint32_t kPlatformDisplayChange = 0x7E;

// Anything that wants theme notifications. Controls receive code 5 only while visible.
class TteThemeClient {
 public:
  virtual ~TteThemeClient() = default;
  virtual void ThemeMessage(uint32_t message, intptr_t wParam, intptr_t lParam) = 0;
  virtual bool IsControl() const { return false; }
  virtual bool IsVisible() const { return true; }
};

class TteThemeManager {
 public:
  // Registers the theme classes that exist, in their fixed order.
  TteThemeManager();
  ~TteThemeManager();
  TteThemeManager(const TteThemeManager&) = delete;
  TteThemeManager& operator=(const TteThemeManager&) = delete;

  // Appends (no duplicate check); the class descriptor must outlive the manager.
  void RegisterThemeClass(const TteThemeClass& themeClass);
  int ThemeClassCount() const { return int(classes_.size()); }
  const TteThemeClass* ThemeClassAt(int index) const;
  // First built-in class whose kind name equals kindName without regard to case, in
  // registration order; null when none does (how a built-in kind is chosen by name).
  const TteThemeClass* FindBuiltInThemeClass(const QString& kindName) const;
  // First loadable class one of whose filter patterns is exactly "*" + the file's
  // extension (no case); null when the file has no extension or none matches.
  const TteThemeClass* FindThemeClassByFile(const QString& fileName) const;

  // The caller owns the result; null when nothing could be loaded. Exceptions raised
  // by a theme's own loading propagate (the half-made theme is freed).
  std::unique_ptr<TteTheme> LoadThemeFromFile(const QString& fileName) const;
  std::unique_ptr<TteTheme> LoadThemeFromStream(QIODevice& stream) const;
  void SaveThemeToStream(const TteTheme* theme, QIODevice& stream) const;

  // Takes ownership. Passing the theme that is already current changes nothing.
  void SetCurrentTheme(std::unique_ptr<TteTheme> theme);
  void ClearCurrentTheme();
  TteTheme* CurrentTheme() const { return current_.get(); }
  bool IsCurrentTheme(const TteTheme* theme) const;

  // Answers the client's position + 1.
  int AddThemeClient(TteThemeClient* client);
  void RemoveThemeClient(TteThemeClient* client);
  // Message 0x800 to every client in list order; a client removed during the
  // broadcast is not called after its removal.
  void Broadcast(int code, intptr_t lParam);
  // Message 0x801 with the link as both parameters to every client in list order
  // (hidden controls included): the link's theme or shifts changed.
  void NotifyLinkChanged(const TteCustomThemeLink* link);

  // Sets the current theme's deltas when they change (0 included) and broadcasts 5, 1.
  void SetCurrentThemeHue(int delta);
  void SetCurrentThemeBrightness(int delta);
  void SetCurrentThemeHueBrightness(int hue, int brightness);

  // Saved fonts of controls whose font a theme overrides.
  void SaveFont(const TFont& font);
  void RestoreFont(TFont& font) const;
  void ForgetFont(const TFont& font);

  // A platform style, colour or display change (the hidden window's messages).
  void HandlePlatformMessage(uint32_t message);
  // No platform visual-style service exists here; controls without a theme paint classic.
  bool PlatformStylesActive() const { return platformStylesActive_; }

  // Where relative theme file names are looked up; the program's folder by default.
  QString ProgramDir;

 private:
  // Sends to every client still registered when its turn comes; hidden controls are
  // skipped when skipHidden is set.
  void Send(uint32_t message, intptr_t wParam, intptr_t lParam, bool skipHidden);

  std::vector<const TteThemeClass*> classes_;
  std::vector<TteThemeClient*> clients_;
  std::unique_ptr<TteTheme> current_;
  std::vector<std::pair<const TFont*, std::unique_ptr<TFont>>> fontStore_;
  bool platformStylesActive_ = false;
};

// The process-wide manager, made on first use.
TteThemeManager& ThemeManager();

// The theme of the link when it has one, otherwise the current theme (may be null).
TteTheme* GetLinkTheme(const TteCustomThemeLink* link);

// Whether a control of the family should let the theme paint: a linked theme is asked
// for the object; the current theme for the object and then for "default".
bool ThemeHasWindow(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasHint(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasLabel(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasPanel(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasButton(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasCheckBox(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasScrollBar(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasProgressBar(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasHeader(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasStatusBar(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasEdit(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasGroupBox(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasMenu(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasTool(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasTab(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasList(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);
bool ThemeHasTree(uint8_t kind, const QString& objectName, const TteCustomThemeLink* link);

// Peeks at the stream: true when it continues with magic. A shorter stream answers
// false; the position is left as it was.
bool StreamStartsWith(QIODevice& stream, const QByteArray& magic);
