// The theme manager: class registry, current theme, client notifications, loading
// by extension and by content, and the font store.
#include "theme_manager.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "app_error.h"
#include "theme_flat.h"
#include "theme_msux.h"
#include "theme_skinfile.h"
#include "theme_officexp.h"

namespace {

// The patterns of an open-dialog filter ("desc|*.a;*.b|desc|*.c"): every second part.
QStringList FilterPatterns(const QString& filter) {
  QStringList patterns;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 1; i < parts.size(); i += 2)
    for (const QString& p : parts[i].split(QLatin1Char(';'), Qt::SkipEmptyParts))
      patterns << p.trimmed().toLower();
  return patterns;
}

// Asks a class about the stream and puts the position back whatever happens; a class
// that fails while peeking does not own the stream.
bool AskIsThemeStream(const TteThemeClass& cls, QIODevice& stream, qint64 pos) {
  bool mine = false;
  try {
    mine = cls.IsThemeStream(stream);
  } catch (const EAppError&) {
    mine = false;
  }
  stream.seek(pos);
  return mine;
}

using HasOp = bool (TteTheme::*)(uint8_t, const QString&);

bool ThemeHas(HasOp has, uint8_t kind, const QString& objectName,
              const TteCustomThemeLink* link) {
  if (link) {
    if (TteTheme* linked = link->GetTheme()) return (linked->*has)(kind, objectName);
  }
  TteTheme* current = ThemeManager().CurrentTheme();
  if (!current) return false;
  return (current->*has)(kind, objectName) || (current->*has)(kind, QStringLiteral("default"));
}

}  // namespace

TteThemeManager::TteThemeManager() {
  if (QCoreApplication::instance()) ProgramDir = QCoreApplication::applicationDirPath();
  // Fixed order: TteTheme, TTeFlatTheme, TTeOfficeXPTheme, TTeThemeMsStyles, TTeSkinFile;
  // each kind is added here, in this order, once it exists.
  RegisterThemeClass(TteTheme::ThemeClass());
  RegisterThemeClass(TTeFlatTheme::ThemeClass());
  RegisterThemeClass(TTeOfficeXPTheme::ThemeClass());
  RegisterThemeClass(TTeThemeMsStyles::ThemeClass());
  RegisterThemeClass(TTeSkinFile::ThemeClass());
}

TteThemeManager::~TteThemeManager() {
  current_.reset();
  fontStore_.clear();
  FreeGlyphScratch();
}

void TteThemeManager::RegisterThemeClass(const TteThemeClass& themeClass) {
  classes_.push_back(&themeClass);
}

const TteThemeClass* TteThemeManager::ThemeClassAt(int index) const {
  return index >= 0 && index < ThemeClassCount() ? classes_[size_t(index)] : nullptr;
}

const TteThemeClass* TteThemeManager::FindBuiltInThemeClass(const QString& kindName) const {
  for (const TteThemeClass* cls : classes_)
    if (cls->GetThemeConfig().BuiltIn &&
        cls->GetThemeKindName().compare(kindName, Qt::CaseInsensitive) == 0)
      return cls;
  return nullptr;
}

const TteThemeClass* TteThemeManager::FindThemeClassByFile(const QString& fileName) const {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix.isEmpty()) return nullptr;
  const QString pattern = QStringLiteral("*.") + suffix;
  for (const TteThemeClass* cls : classes_) {
    const TteThemeConfig config = cls->GetThemeConfig();
    if (config.CanLoad && FilterPatterns(config.Filter).contains(pattern)) return cls;
  }
  return nullptr;
}

std::unique_ptr<TteTheme> TteThemeManager::LoadThemeFromFile(const QString& fileName) const {
  if (fileName.isEmpty()) return nullptr;
  QString path = fileName;
  if (!QFileInfo::exists(path)) {
    // A relative name may lie beside the program; an absolute one is not looked for elsewhere.
    if (path.size() <= 1 || QFileInfo(path).isAbsolute() || ProgramDir.isEmpty()) return nullptr;
    path = ProgramDir + QLatin1Char('/') + fileName;
    if (!QFileInfo::exists(path)) return nullptr;
  }
  if (const TteThemeClass* cls = FindThemeClassByFile(path)) {
    std::unique_ptr<TteTheme> theme = cls->Create();
    if (!theme->LoadFromFile(path)) return nullptr;
    return theme;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  return LoadThemeFromStream(file);
}

std::unique_ptr<TteTheme> TteThemeManager::LoadThemeFromStream(QIODevice& stream) const {
  const qint64 pos = stream.pos();
  for (const TteThemeClass* cls : classes_) {
    if (!AskIsThemeStream(*cls, stream, pos)) continue;
    std::unique_ptr<TteTheme> theme = cls->Create();
    if (!theme->LoadFromStream(stream)) return nullptr;
    return theme;
  }
  return nullptr;
}

void TteThemeManager::SaveThemeToStream(const TteTheme* theme, QIODevice& stream) const {
  if (theme && theme->Class().GetThemeConfig().CanSave) theme->SaveToStream(stream);
}

void TteThemeManager::SetCurrentTheme(std::unique_ptr<TteTheme> theme) {
  if (theme && theme.get() == current_.get()) {
    // Already ours: freeing the old one would free this one.
    (void)theme.release();
    return;
  }
  Broadcast(ktcChanging, 0);
  const int code = current_ ? ktcReplaced : ktcBecameCurrent;
  current_ = std::move(theme);
  Broadcast(code, 0);
  Broadcast(ktcChanged, 0);
}

void TteThemeManager::ClearCurrentTheme() {
  Broadcast(ktcChanging, 0);
  current_.reset();
  Broadcast(ktcRemoved, 0);
  Broadcast(ktcChanged, 0);
}

bool TteThemeManager::IsCurrentTheme(const TteTheme* theme) const {
  return current_ && current_.get() == theme;
}

int TteThemeManager::AddThemeClient(TteThemeClient* client) {
  auto it = std::find(clients_.begin(), clients_.end(), client);
  if (it != clients_.end()) return int(it - clients_.begin()) + 1;
  clients_.push_back(client);
  if (current_) client->ThemeMessage(kThemeChangeMessage, ktcBecameCurrent, 0);
  return int(clients_.size());
}

void TteThemeManager::RemoveThemeClient(TteThemeClient* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void TteThemeManager::Send(uint32_t message, intptr_t wParam, intptr_t lParam, bool skipHidden) {
  // A client may unregister itself or others while handling the message: walk a copy
  // and skip whoever has left in the meantime.
  const std::vector<TteThemeClient*> snapshot = clients_;
  for (TteThemeClient* client : snapshot) {
    if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) continue;
    if (skipHidden && client->IsControl() && !client->IsVisible()) continue;
    client->ThemeMessage(message, wParam, lParam);
  }
}

void TteThemeManager::Broadcast(int code, intptr_t lParam) {
  Send(kThemeChangeMessage, code, lParam, code == ktcLookChanged);
}

void TteThemeManager::NotifyLinkChanged(const TteCustomThemeLink* link) {
  const auto param = reinterpret_cast<intptr_t>(link);
  Send(kThemeLinkChangeMessage, param, param, false);
}

void TteThemeManager::SetCurrentThemeHue(int delta) {
  if (!current_ || current_->DeltaHue() == delta) return;
  current_->SetDeltaHue(delta);
  Broadcast(ktcLookChanged, 1);
}

void TteThemeManager::SetCurrentThemeBrightness(int delta) {
  if (!current_ || current_->DeltaBrightness() == delta) return;
  current_->SetDeltaBrightness(delta);
  Broadcast(ktcLookChanged, 1);
}

void TteThemeManager::SetCurrentThemeHueBrightness(int hue, int brightness) {
  if (!current_ || (current_->DeltaHue() == hue && current_->DeltaBrightness() == brightness))
    return;
  current_->SetDeltaHueBrightness(hue, brightness);
  Broadcast(ktcLookChanged, 1);
}

void TteThemeManager::SaveFont(const TFont& font) {
  for (auto& [key, saved] : fontStore_)
    if (key == &font) {
      *saved = font;
      return;
    }
  fontStore_.emplace_back(&font, std::make_unique<TFont>(font));
}

void TteThemeManager::RestoreFont(TFont& font) const {
  for (const auto& [key, saved] : fontStore_)
    if (key == &font) {
      font = *saved;
      return;
    }
}

void TteThemeManager::ForgetFont(const TFont& font) {
  fontStore_.erase(std::remove_if(fontStore_.begin(), fontStore_.end(),
                                  [&](const auto& e) { return e.first == &font; }),
                   fontStore_.end());
}

void TteThemeManager::HandlePlatformMessage(uint32_t message) {
  if (message == kPlatformThemeChanged) platformStylesActive_ = false;  // no such service here
  if (message == kPlatformThemeChanged || message == kPlatformSysColorChange ||
      message == kPlatformDisplayChange)
    Broadcast(ktcLookChanged, 0);
}

TteThemeManager& ThemeManager() {
  static TteThemeManager manager;
  return manager;
}

TteTheme* GetLinkTheme(const TteCustomThemeLink* link) {
  if (link) {
    if (TteTheme* theme = link->GetTheme()) return theme;
  }
  return ThemeManager().CurrentTheme();
}

#define THEME_HAS(Family)                                                                    \
  bool ThemeHas##Family(uint8_t kind, const QString& objectName,                             \
                        const TteCustomThemeLink* link) {                                    \
    return ThemeHas(&TteTheme::Has##Family, kind, objectName, link);                         \
  }
THEME_HAS(Window)
THEME_HAS(Hint)
THEME_HAS(Label)
THEME_HAS(Panel)
THEME_HAS(Button)
THEME_HAS(CheckBox)
THEME_HAS(ScrollBar)
THEME_HAS(ProgressBar)
THEME_HAS(Header)
THEME_HAS(StatusBar)
THEME_HAS(Edit)
THEME_HAS(GroupBox)
THEME_HAS(Menu)
THEME_HAS(Tool)
THEME_HAS(Tab)
THEME_HAS(List)
THEME_HAS(Tree)
#undef THEME_HAS

bool StreamStartsWith(QIODevice& stream, const QByteArray& magic) {
  const QByteArray head = stream.peek(magic.size());
  return head.size() == magic.size() && head == magic;
}
