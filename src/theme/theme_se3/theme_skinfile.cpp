// The skin-file theme: element operations answered from skin objects.
#include "theme_skinfile.h"

#include <QBuffer>

#include "theme_manager.h"

// Cache entries: the standard root object of each family, found by name.
//   0 "Form", 1 its emptied client part, 2 and 3 copies of "Form" for caption-button
//   rectangles and for painting caption buttons, 4 a copy of the client part;
//   30-34 the same for "ToolWindow"; 5-29, 35, 36 the roots named in kRootEntries.
namespace {

enum : int {
  kForm = 0, kFormClient = 1, kFormButtons = 2, kFormButtonPaint = 3, kFormClientCopy = 4,
  kButton = 5, kCheckbox = 6, kRadioButton = 7, kGroupBox = 8, kScrollBar = 9,
  kProgressBar = 10, kEdit = 11, kComboBox = 12, kTrackBar = 13, kMenuBar = 14,
  kPopupMenu = 15, kHeader = 16, kStatusBar = 17, kTabs = 18, kContainer = 19, kFrame = 20,
  kScrollBoxFrame = 21, kSplitter = 22, kSpinButton = 23, kControlBar = 24, kGrid = 25,
  kListBox = 26, kHint = 27, kSpeedButton = 28, kToolBar = 29, kToolWindow = 30,
  kPanel = 35, kScrollBox = 36,
};

const std::pair<int, const char*> kRootEntries[] = {
    {kButton, "Button"},         {kCheckbox, "Checkbox"},     {kRadioButton, "RadioButton"},
    {kGroupBox, "GroupBox"},     {kScrollBar, "ScrollBar"},   {kProgressBar, "ProgressBar"},
    {kEdit, "Edit"},             {kComboBox, "ComboBox"},     {kTrackBar, "TrackBar"},
    {kMenuBar, "MenuBar"},       {kPopupMenu, "PopupMenu"},   {kHeader, "Header"},
    {kStatusBar, "StatusBar"},   {kTabs, "Tabs"},             {kContainer, "Container"},
    {kFrame, "Frame"},           {kScrollBoxFrame, "ScrollBox"}, {kSplitter, "Splitter"},
    {kSpinButton, "SpinButton"}, {kControlBar, "ControlBar"}, {kGrid, "Grid"},
    {kListBox, "ListBox"},       {kHint, "Hint"},             {kSpeedButton, "SpeedButton"},
    {kToolBar, "ToolBar"},       {kPanel, "Panel"},           {kScrollBox, "ScrollBox"},
};

const TteThemeClass kSkinFileClass = {
    "TTeSkinFile", &TTeSkinFile::GetThemeKindName, &TTeSkinFile::GetThemeConfig,
    &TTeSkinFile::IsThemeStream, &TTeSkinFile::Create,
};

// The caption-button action for a window button (WindowButtonRect's numbering).
TSeAction ButtonAction(int button) {
  static constexpr TSeAction kActions[] = {sbaSysMenu, sbaClose, sbaHelp,   sbaMinimize, sbaRestore,
                                           sbaMaximize, sbaRestore, sbaRollUp, sbaRollDown, sbaTray};
  return button >= 0 && button < 10 ? kActions[button] : sbaNone;
}

TSeAction ActionOf(const TSeSkinObject* o) {
  if (auto* b = dynamic_cast<const TSeSystemButton*>(o)) return b->Action;
  if (auto* b = dynamic_cast<const TSeSysButtonSkinObject*>(o)) return b->Action;
  return sbaNone;
}

// The hit code of a caption button, by its action.
int ActionHitCode(TSeAction action) {
  switch (action) {
    case sbaClose: return khtClose;
    case sbaHelp: return khtHelp;
    case sbaMinimize: return khtMinimize;
    case sbaMaximize: case sbaRestore: return khtMaximize;
    case sbaRollUp: case sbaRollDown: return khtRollUp;
    case sbaTray: return khtTray;
    case sbaSysMenu: return khtSysMenu;
    default: return khtNowhere;
  }
}

TSeSkinObject* Child(TSeSkinObject* o, const char* name) {
  return o ? o->FindChild(QLatin1String(name)) : nullptr;
}

// The first of the named children that exists.
TSeSkinObject* FirstChild(TSeSkinObject* o, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (TSeSkinObject* c = Child(o, n)) return c;
  return nullptr;
}

void PaintAt(TSeSkinObject* o, TCanvas& canvas, const TRect& rect, uint8_t state) {
  if (!o) return;
  o->SetState(state);
  o->SetBounds(rect);
  o->Paint(canvas, {});
}

// At the object's own size, centred in rect.
void PaintCentred(TSeSkinObject* o, TCanvas& canvas, const TRect& rect, uint8_t state) {
  if (o) PaintAt(o, canvas, CenteredBox(rect, o->Width, o->Height), state);
}

// The content of a framed part: the part gets the rectangle, and the content lies inside
// its margins; without the part the whole rectangle.
TRect InsideMargins(TSeSkinObject* part, const TRect& r) {
  if (!part) return r;
  part->SetBounds(r);
  return {r.Left + part->MarginLeft, r.Top + part->MarginTop, r.Right - part->MarginRight,
          r.Bottom - part->MarginBottom};
}

// The common state mapping of the small parts: pressed/hot/disabled codes in the high
// byte of a state word (1 hot, 2 pressed, 3 disabled).
uint8_t HighByteState(uint8_t high) { return high == 3 ? 8 : high == 2 ? 6 : high == 1 ? 5 : 0; }

}  // namespace

TTeSkinFile::TTeSkinFile()
    : source_(std::make_unique<TSeSkinSource>()), work_(std::make_unique<TSeSkinSource>()) {}

TTeSkinFile::~TTeSkinFile() { FreeCacheCopies(); }

const TteThemeClass& TTeSkinFile::ThemeClass() { return kSkinFileClass; }
std::unique_ptr<TteTheme> TTeSkinFile::Create() { return std::make_unique<TTeSkinFile>(); }
QString TTeSkinFile::GetThemeKindName() { return QStringLiteral("ZozoRizozo 3 theme"); }

TteThemeConfig TTeSkinFile::GetThemeConfig() {
  TteThemeConfig config;
  config.BuiltIn = false;
  config.CanLoad = true;
  config.CanSave = true;
  config.Filter = SkinFilterString();
  config.Extension = QStringLiteral("mskn");
  return config;
}

bool TTeSkinFile::IsThemeStream(QIODevice& stream) {
  return FindSkinFilterByStream(stream) || StreamStartsWith(stream, QByteArrayLiteral("OVLZ"));
}

// ---- loading, saving, resetting

bool TTeSkinFile::LoadFromStream(QIODevice& stream) {
  auto fresh = std::make_unique<TSeSkinSource>();
  try {
    fresh->LoadFromStream(stream, TSeSkinFilterCompressed::Class());
  } catch (const std::exception&) {
    return false;
  }
  if (fresh->ObjectCount() == 0) return false;
  source_ = std::move(fresh);
  ResetTheme();
  return true;
}

bool TTeSkinFile::LoadFromFile(const QString& fileName) {
  auto fresh = std::make_unique<TSeSkinSource>();
  try {
    if (!fresh->LoadFromFile(fileName)) return false;
  } catch (const std::exception&) {
    return false;
  }
  if (fresh->ObjectCount() == 0) return false;
  source_ = std::move(fresh);
  FileName = fileName;
  ResetTheme();
  return true;
}

bool TTeSkinFile::SaveToStream(QIODevice& stream) const {
  // The tables are saved as they are before the theme's hue and brightness shifts, so a
  // saved skin loads with the look it had.
  source_->Fonts.AssignUnshifted(Fonts());
  source_->Colors.AssignUnshifted(Colors());
  source_->SaveToStream(stream, TSeSkinFilterMaxCompression::Class());
  return true;
}

bool TTeSkinFile::SaveToFile(const QString& fileName) const {
  source_->Fonts.AssignUnshifted(Fonts());
  source_->Colors.AssignUnshifted(Colors());
  source_->SaveToFile(fileName, TSeSkinFilterMaxCompression::Class());
  return true;
}

void TTeSkinFile::Assign(const TteTheme& source) {
  TteTheme::Assign(source);
  const auto* other = dynamic_cast<const TTeSkinFile*>(&source);
  if (!other || other == this) return;
  FreeCacheCopies();
  cache_.fill(nullptr);
  source_->Assign(*other->source_);
  ResetTheme();
}

void TTeSkinFile::ResetTheme() {
  if (source_) {
    // The cache points into the working copy: it goes first.
    FreeCacheCopies();
    cache_.fill(nullptr);
    work_->Assign(*source_);
    RebuildCache();
    Name = source_->SkinName;
  }
  TteTheme::ResetTheme();
}

void TTeSkinFile::SetDefaultColors() {
  Colors().Assign(work_->Colors);
  SysColors().Assign(work_->SysColors);
  Colors().ApplyHue(DeltaHue());
  Colors().ApplyBrightness(DeltaBrightness());
}

void TTeSkinFile::SetDefaultFonts() {
  Fonts().Assign(work_->Fonts);
  Fonts().ApplyHue(DeltaHue());
  Fonts().ApplyBrightness(DeltaBrightness());
}

void TTeSkinFile::FreeCacheCopies() {
  for (auto& copy : copies_) copy.reset();
}

TSeSkinObject* TTeSkinFile::CacheEntry(int index) const {
  return index >= 0 && index < kCacheSize ? cache_[size_t(index)] : nullptr;
}

void TTeSkinFile::BuildWindowEntries(const char* name, int base) {
  TSeSkinObject* window = work_->FindObject(QLatin1String(name));
  cache_[size_t(base)] = window;
  if (!window) return;
  if (TSeSkinObject* client = window->FindByKind(skClient); client && client->Parent()) {
    // The frame is painted around an empty, transparent client; the client's own look
    // is kept as a copy for PaintWindowClient.
    copies_[size_t(base + kFormClientCopy)] = client->Clone(nullptr);
    cache_[size_t(base + kFormClientCopy)] = copies_[size_t(base + kFormClientCopy)].get();
    auto empty = std::make_unique<TSeSkinObject>();
    // Named as the part it stands for, so that paths to the client still lead there.
    empty->Name = client->Name;
    empty->Color = clNone;
    empty->Kind = skClient;
    empty->Align = client->Align;
    empty->Bitmaps = client->Bitmaps;
    TSeSkinObject* emptied = empty.get();
    client->Parent()->ReplaceChild(client, std::move(empty)).reset();
    cache_[size_t(base + kFormClient)] = emptied;
  }
  for (int offset : {kFormButtons, kFormButtonPaint}) {
    copies_[size_t(base + offset)] = window->Clone(nullptr);
    cache_[size_t(base + offset)] = copies_[size_t(base + offset)].get();
  }
  // The frame carries no caption buttons; PaintWindowButton draws them one by one.
  for (TSeAction a : {sbaSysMenu, sbaClose, sbaHelp, sbaMinimize, sbaMaximize, sbaRestore,
                      sbaRollUp, sbaRollDown, sbaTray})
    if (TSeSkinObject* button = window->FindByAction(a)) button->Visible = false;
}

void TTeSkinFile::RebuildCache() {
  FreeCacheCopies();
  cache_.fill(nullptr);
  if (!work_ || work_->ObjectCount() == 0) return;
  work_->SetHue(DeltaHue());
  work_->SetBrightness(DeltaBrightness());
  BuildWindowEntries("Form", kForm);
  BuildWindowEntries("ToolWindow", kToolWindow);
  for (const auto& [entry, name] : kRootEntries) cache_[size_t(entry)] = work_->FindObject(QLatin1String(name));
}

TSeSkinObject* TTeSkinFile::Named(const QString& objectName) const {
  return IsDefaultObject(objectName) ? nullptr : work_->FindObject(objectName);
}

TSeSkinObject* TTeSkinFile::Family(const QString& objectName, int entry) const {
  if (TSeSkinObject* named = Named(objectName)) return named;
  return cache_[size_t(entry)];
}

TSeSkinObject* TTeSkinFile::WindowObject(uint8_t kind, const QString& objectName, int offset) const {
  if (TSeSkinObject* named = Named(objectName)) return named;
  if (kind == 0 || kind == 1 || kind == 2 || kind == 4) return cache_[size_t(kForm + offset)];
  if (kind == 6) return cache_[size_t(kToolWindow + offset)];
  return nullptr;
}

// ---- window

bool TTeSkinFile::HasWindow(uint8_t kind, const QString& objectName) {
  if (Named(objectName)) return true;
  if (kind == 0 || kind == 1) return cache_[kForm];
  if (kind == 6) return cache_[kToolWindow];
  return false;
}

std::optional<QRegion> TTeSkinFile::GetWindowRegion(uint8_t kind, const TRect& rect,
                                                    const QString& objectName) {
  TSeSkinObject* window = WindowObject(kind, objectName, 0);
  if (!window) return std::nullopt;
  window->SetBounds(rect);
  return window->Region();
}

TRect TTeSkinFile::WindowContentRect(uint8_t kind, const TteWindowInfo& info, const QString& objectName) {
  if (TSeSkinObject* named = Named(objectName)) {
    if (TSeSkinObject* client = named->FindByKind(skClient)) {
      named->SetBounds(info.Rect);
      named->AlignTree();
      return client->BoundsRect();
    }
  }
  const int base = kind == 6 ? kToolWindow : (kind == 0 || kind == 1 || kind == 2 || kind == 4) ? kForm : -1;
  if (base >= 0 && cache_[size_t(base)] && cache_[size_t(base + kFormClient)]) {
    cache_[size_t(base)]->SetBounds(info.Rect);
    return cache_[size_t(base + kFormClient)]->BoundsRect();
  }
  return TteTheme::WindowContentRect(kind, info, objectName);
}

TRect TTeSkinFile::WindowCaptionRect(uint8_t kind, const TteWindowInfo& info, const QString& objectName) {
  TSeSkinObject* window = WindowObject(kind, objectName, 0);
  if (!window) return TteTheme::WindowCaptionRect(kind, info, objectName);
  window->SetActive(info.Active);
  window->SetBounds(info.Rect);
  window->AlignTree();
  TSeSkinObject* title = window->FindByKind(skTitle);
  if (!title) return kNullRect;
  title->Text = info.Caption;
  if (title->Parent()) title->Parent()->AlignChildren();
  const TRect r = title->BoundsRect();
  title->Text.clear();
  return r;
}

void TTeSkinFile::PrepareButtons(TSeSkinObject& o, const TteWindowInfo& info) {
  o.SetState(0);
  if (info.Buttons & WindowButtonBit(kbiRestore)) o.SetState(2);
  if (info.Buttons & WindowButtonBit(kbiRestoreMinimized)) o.SetState(3);
  if (info.Buttons & WindowButtonBit(kbiRollDown)) o.SetState(4);
  o.SetButtons(info.Buttons);
  o.SetBounds(info.Rect);
  o.AlignTree();
}

TRect TTeSkinFile::WindowButtonRect(uint8_t kind, const TteWindowInfo& info, int button,
                                    const QString& objectName) {
  TSeSkinObject* window = WindowObject(kind, objectName, kFormButtons);
  if (!window || button < 0 || button > 9) return kNullRect;
  PrepareButtons(*window, info);
  if (!(info.Buttons & WindowButtonBit(button))) return kNullRect;
  TSeSkinObject* found = window->FindByAction(ButtonAction(button));
  if (!found) return kNullRect;
  if (button == kbiSysMenu && found->Parent()) found->Parent()->AlignChildren();
  return found->BoundsRect();
}

int TTeSkinFile::WindowHitTest(uint8_t kind, const TteWindowInfo& info, int x, int y,
                               const QString& objectName) {
  TSeSkinObject* window = WindowObject(kind, objectName, kFormButtons);
  if (!window) return TteTheme::WindowHitTest(kind, info, x, y, objectName);
  PrepareButtons(*window, info);
  TSeSkinObject* hit = window->HitTest({x, y});
  // Caption buttons answer by their action, the help and system-menu buttons included.
  if (hit) {
    if (const int code = ActionHitCode(ActionOf(hit)); code != khtNowhere) return code;
    if (hit->Kind == skCaption || hit->Kind == skTitle) return khtCaption;
    if (hit->Kind == skTop) return khtTop;
  }
  if (info.DisabledNCArea) {
    if (hit) {
      switch (hit->Kind) {
        case skLeft: return khtLeft;
        case skRight: return khtRight;
        case skBottom: return khtBottom;
        case skBottomRight: return khtBottomRight;
        case skBottomLeft: return khtBottomLeft;
        default: break;
      }
    }
    const int base = TteTheme::WindowHitTest(kind, info, x, y, objectName);
    return base >= khtLeft && base <= khtBottom ? khtNowhere : base;
  }
  return TteTheme::WindowHitTest(kind, info, x, y, objectName);
}

void TTeSkinFile::PaintWindow(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                              const QString& objectName) {
  TSeSkinObject* window = WindowObject(kind, objectName, 0);
  if (!window) return TteTheme::PaintWindow(kind, canvas, info, objectName);
  TSeSkinObject* hidden = Named(objectName) ? window->FindByKind(skClient) : nullptr;
  const bool wasVisible = hidden && hidden->Visible;
  if (hidden) hidden->Visible = false;
  window->SetActive(info.Active);
  window->SetBounds(info.Rect);
  window->Paint(canvas, info.ClipRect);
  if (hidden) hidden->Visible = wasVisible;
}

void TTeSkinFile::PaintWindowClient(uint8_t kind, TCanvas& canvas, const TRect& rect,
                                    const QString& objectName) {
  TSeSkinObject* client = nullptr;
  if (TSeSkinObject* named = Named(objectName)) client = named->FindByKind(skClient);
  if (!client && (kind == 0 || kind == 1)) client = cache_[kFormClientCopy];
  if (!client && kind == 6) client = cache_[kToolWindow + kFormClientCopy];
  if (!client) return;
  client->SetBounds(rect);
  client->Paint(canvas, {});
}

void TTeSkinFile::PaintWindowCaption(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                                     const TRect& rect, const QString& objectName) {
  TSeSkinObject* window = WindowObject(kind, objectName, 0);
  if (!window) return TteTheme::PaintWindowCaption(kind, canvas, info, rect, objectName);
  TSeSkinObject* title = window->FindByKind(skTitle);
  if (!title) return;
  const bool named = Named(objectName) != nullptr;
  const TSeFont savedFont = title->Font;
  const uint8_t savedState = title->State;
  if (named) {
    title->SetState(info.Active ? 7 : 0);
  } else {
    // The default frame's caption takes the theme's caption fonts.
    const TFont& f = Fonts().GetFont(info.Active ? kfCaptionTextNormal : kfCaptionTextInactive);
    title->SetState(0);
    title->Font.Name = f.family();
    title->Font.SetSize(FontSize(f));
    title->Font.Color = f.Color;
    title->Font.Style = (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) |
                        (f.strikeOut() ? 8 : 0);
  }
  if (title->TextMarginRightStretch) {
    int edge = rect.Right;
    for (int b = 0; b < kWindowButtonCount; ++b) {
      const TRect r = WindowButtonRect(kind, info, b, QStringLiteral("default"));
      if (!r.IsEmpty() && r.Left > title->Left && r.Left < rect.Right) edge = std::min(edge, r.Left);
    }
    title->TextMarginRight = rect.Right - edge;
  }
  title->Text = info.Caption;
  title->SetBounds(rect);
  const bool shift = (info.Buttons & WindowButtonBit(kbiSysMenu)) && title->TextShiftSysIton;
  if (shift) title->TextMarginLeft += 20;
  title->Paint(canvas, {});
  if (shift) title->TextMarginLeft -= 20;
  title->Text.clear();
  if (!named) {
    title->Font = savedFont;
    title->SetState(savedState);
  }
}

void TTeSkinFile::PaintWindowButton(uint8_t kind, TCanvas& canvas, const TteWindowButtonInfo& info,
                                    const QString& objectName) {
  if (info.Rect.IsEmpty()) return;
  TSeSkinObject* window = WindowObject(kind, objectName, kFormButtonPaint);
  TSeSkinObject* button = window ? window->FindByAction(ButtonAction(info.Button)) : nullptr;
  if (button) {
    button->SetActive(info.State != kwbsInactive);
    const uint8_t state = info.State == kwbsPressed ? 2 : info.State == kwbsHot ? 1 : 0;
    if (auto* b = dynamic_cast<TSeSystemButton*>(button)) b->ButtonState = state;
    if (auto* b = dynamic_cast<TSeSysButtonSkinObject*>(button)) b->ButtonState = state;
    button->SetBounds(info.Rect);
    button->Paint(canvas, {});
  }
  // The window icon is the base theme's.
  if (info.Button == kbiSysMenu) TteTheme::PaintWindowButton(kind, canvas, info, objectName);
}

void TTeSkinFile::PaintWindowGripper(uint8_t kind, TCanvas& canvas, const TteGripInfo& info,
                                     const QString& objectName) {
  PaintWindowClient(kind, canvas, info.Rect, objectName);
  if (TSeSkinObject* grip = Child(cache_[kStatusBar], "Gripper")) {
    grip->SetBounds(info.Rect);
    grip->Paint(canvas, {});
  }
}

// ---- hint, label, panel

bool TTeSkinFile::HasHint(uint8_t, const QString&) { return true; }

TRect TTeSkinFile::HintContentRect(uint8_t, const TRect& rect, const QString&) { return Inset(rect, 4, 3); }

void TTeSkinFile::PaintHint(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  if (TSeSkinObject* hint = cache_[kHint]) return PaintAt(hint, canvas, rect, 0);
  FillRectColor(canvas, rect, SysColor(24));
  DrawRect(canvas, rect, 0x808080);
}

bool TTeSkinFile::HasLabel(uint8_t, const QString&) { return true; }

bool TTeSkinFile::HasPanel(uint8_t kind, const QString& objectName) {
  return Named(objectName) || (kind == 0 && cache_[kContainer]);
}

TRect TTeSkinFile::PanelContentRect(uint8_t, const TRect& rect, const QString& objectName) {
  return InsideMargins(Child(Family(objectName, kContainer), "Panel"), rect);
}

void TTeSkinFile::PaintPanel(uint8_t, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  PaintAt(Child(Family(objectName, kContainer), "Panel"), canvas, rect, 0);
}

// ---- button, check box

namespace {
int ButtonEntry(uint8_t kind) {
  if (kind == 0) return kButton;
  if (kind == 4 || kind == 5) return kSpinButton;
  if (kind == 6 || kind == 7) return kScrollBar;
  return -1;
}
}  // namespace

bool TTeSkinFile::HasButton(uint8_t kind, const QString& objectName) {
  if (Named(objectName)) return true;
  if (kind == 0) return cache_[kButton];
  if (kind == 4 || kind == 5) return cache_[kSpinButton];
  return false;
}

bool TTeSkinFile::IsButtonTransparent(uint8_t kind, const QString& objectName) {
  const int entry = ButtonEntry(kind);
  if (entry < 0 || kind > 5) return false;
  TSeSkinObject* face = Child(Family(objectName, entry), "Face");
  return face && face->Masked;
}

void TTeSkinFile::PaintButton(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                              const QString& objectName) {
  const int entry = ButtonEntry(kind);
  if (entry < 0) return;
  TSeSkinObject* family = Family(objectName, entry);
  if (!family) return;
  TSeSkinObject* face = Child(family, "Face");
  TSeSkinObject* target = face ? face : family;
  if (kind == 6) target = Child(target, "LeftButton");
  if (kind == 7) target = Child(target, "RightButton");
  static constexpr uint8_t kStates[] = {0, 5, 6, 8, 7, 5, 7, 5, 6};
  PaintAt(target, canvas, info.Rect, info.State < 9 ? kStates[info.State] : 0);
  if (kind >= 4 && kind <= 7) {
    static constexpr uint32_t kArrows[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT};
    const TRect r = info.State == kbsPressed ? info.Rect.Offset(1, 1) : info.Rect;
    DrawMaskedFrameControl(canvas, r, DFC_SCROLL, kArrows[kind - 4], Colors().GetColor(kcBorder));
  }
}

void TTeSkinFile::PaintButtonText(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                                  const TteTextInfo& text, const QString& objectName) {
  (void)kind;
  (void)info;
  TteTextInfo t = text;
  if (auto* named = dynamic_cast<TSeTextObject*>(Named(objectName))) {
    static constexpr uint8_t kAlign[] = {ktaTopLeft,    ktaTopCenter,    ktaTopRight,
                                         ktaMiddleLeft, ktaCenter,       ktaMiddleRight,
                                         ktaBottomLeft, ktaBottomCenter, ktaBottomRight};
    if (named->TextAlign < 9) t.Alignment = kAlign[named->TextAlign];
  }
  PaintText(canvas, t);
}

bool TTeSkinFile::HasCheckBox(uint8_t kind, const QString& objectName) {
  if (Named(objectName)) return true;
  return (kind == 0 && cache_[kCheckbox]) || (kind == 1 && cache_[kRadioButton]);
}

bool TTeSkinFile::IsCheckBoxTransparent(uint8_t, const QString&) { return true; }

TPoint TTeSkinFile::CheckBoxSize(uint8_t kind, const QString& objectName) {
  TPoint size = TteTheme::CheckBoxSize(kind, objectName);
  if (kind > 1) return size;
  if (TSeSkinObject* checked = Child(Family(objectName, kind == 0 ? kCheckbox : kRadioButton), "Checked"))
    size = {checked->Width, checked->Height};
  return size;
}

void TTeSkinFile::PaintCheckBox(uint8_t kind, TCanvas& canvas, const TteCheckBoxInfo& info,
                                const QString& objectName) {
  if (kind > 1) return;
  TSeSkinObject* family = Family(objectName, kind == 0 ? kCheckbox : kRadioButton);
  if (!family) return;
  static constexpr uint8_t kStates[] = {0, 5, 6, 8};
  const char* child = nullptr;
  if (info.State <= 3) child = "Checked";
  else if (info.State >= 5 && info.State <= 8) child = "Unchecked";
  else if (kind == 0 && info.State >= 10 && info.State <= 13) child = "Mixed";
  if (child) {
    const int sub = info.State <= 3 ? info.State : info.State <= 8 ? info.State - 5 : info.State - 10;
    PaintCentred(Child(family, child), canvas, info.Rect, kStates[sub]);
    return;
  }
  PaintCentred(family, canvas, info.Rect, 0);
}

// ---- splitter, scroll bar, progress bar, track bar

bool TTeSkinFile::HasSplitter(uint8_t kind, const QString&) { return kind == 0 && cache_[kSplitter]; }

void TTeSkinFile::PaintSplitter(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintAt(cache_[kSplitter], canvas, rect, 0);
}

bool TTeSkinFile::HasScrollBar(uint8_t kind, const QString& objectName) {
  return Named(objectName) || (kind == 0 && cache_[kScrollBar]);
}

bool TTeSkinFile::IsScrollBarTransparent(uint8_t kind, const QString&) {
  return kind == 0 && cache_[kScrollBar] && cache_[kScrollBar]->Masked;
}

void TTeSkinFile::PaintScrollBar(uint8_t, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  TSeSkinObject* frame = Child(Family(objectName, kScrollBar), "Frame");
  if (!frame) frame = Child(cache_[kScrollBoxFrame], "Frame");
  PaintAt(frame, canvas, rect, 0);
}

namespace {
uint8_t ScrollState(uint8_t state) {
  return state == kssPressed ? 6 : state == kssHot ? 5 : state == kssDisabled ? 8 : 0;
}
}  // namespace

void TTeSkinFile::PaintScrollBarPart(uint8_t, TCanvas& canvas, const TteScrollPartInfo& info,
                                     const QString& objectName) {
  const char* name = nullptr;
  switch (info.Part) {
    case kspUpButton: name = "TopButton"; break;
    case kspDownButton: name = "BottomButton"; break;
    case kspLeftButton: name = "LeftButton"; break;
    case kspRightButton: name = "RightButton"; break;
    case kspHorzThumb: name = "HorzSlider"; break;
    case kspVertThumb: name = "VertSlider"; break;
    default: return;
  }
  PaintAt(Child(Family(objectName, kScrollBar), name), canvas, info.Rect, ScrollState(info.State));
}

void TTeSkinFile::PaintScrollBarTrack(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                                      const QString& objectName) {
  PaintAt(Child(Family(objectName, kScrollBar), kind != 0 ? "HorzFrame" : "VertFrame"), canvas,
          info.Rect, ScrollState(info.State));
}

bool TTeSkinFile::HasProgressBar(uint8_t kind, const QString& objectName) {
  return Named(objectName) || (kind == 0 && cache_[kProgressBar]);
}

bool TTeSkinFile::IsProgressBarTransparent(uint8_t kind, const QString& objectName) {
  TSeSkinObject* frame = Child(Family(objectName, kProgressBar), "Frame");
  return kind == 0 && frame && frame->Masked;
}

void TTeSkinFile::PaintProgressBar(uint8_t, TCanvas& canvas, const TteProgressInfo& info,
                                   const QString& objectName) {
  TSeSkinObject* bar = Family(objectName, kProgressBar);
  TSeSkinObject* part = nullptr;
  switch (info.Part) {
    case kppVertFrame: part = FirstChild(bar, {"FrameVert", "Frame"}); break;
    case kppHorzFrame: part = FirstChild(bar, {"FrameHorz", "Frame"}); break;
    case kppVertBar: part = FirstChild(bar, {"BarVert", "Bar"}); break;
    case kppHorzBar: part = FirstChild(bar, {"BarHorz", "Bar"}); break;
    case kppVertSolid: part = FirstChild(bar, {"SolidVert", "Solid", "BarVert", "Bar"}); break;
    case kppHorzSolid: part = FirstChild(bar, {"SolidHorz", "Solid", "BarHorz", "Bar"}); break;
    default: break;
  }
  if (part) {
    part->SetBounds(info.Rect);
    part->Paint(canvas, {});
  }
}

bool TTeSkinFile::HasTrackBar(uint8_t kind, const QString& objectName) {
  return Named(objectName) || (kind <= 1 && cache_[kTrackBar]);
}

bool TTeSkinFile::IsTrackBarTransparent(uint8_t, const QString&) { return true; }

void TTeSkinFile::PaintTrackBar(uint8_t, TCanvas&, const TRect&, const QString&) {}

void TTeSkinFile::PaintTrackBarTrack(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                     const QString& objectName) {
  TSeSkinObject* bar = Family(objectName, kTrackBar);
  TSeSkinObject* track = kind == 0 ? FirstChild(bar, {"TrackVert", "Track"})
                         : kind == 1 ? FirstChild(bar, {"TrackHorz", "Track"}) : nullptr;
  PaintAt(track, canvas, info.Rect, info.High == 1 ? 8 : 0);
}

void TTeSkinFile::PaintTrackBarThumb(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                     const QString& objectName) {
  TSeSkinObject* bar = Family(objectName, kTrackBar);
  static const char* const kThumbs[] = {"ThumbVertBoth", "ThumbVertRight", "ThumbVertLeft",
                                        "ThumbHorzBoth", "ThumbHorzBottom", "ThumbHorzTop"};
  TSeSkinObject* thumb = nullptr;
  if (kind < 6) thumb = FirstChild(bar, {kThumbs[kind], kind < 3 ? "ThumbVert" : "ThumbHorz"});
  if (!thumb) thumb = Child(bar, "Thumb");
  static constexpr uint8_t kStates[] = {0, 5, 6, 7, 8};
  PaintCentred(thumb, canvas, info.Rect, info.Low < 5 ? kStates[info.Low] : 0);
}

// ---- header, status bar

bool TTeSkinFile::HasHeader(uint8_t kind, const QString&) { return kind == 0 && cache_[kHeader]; }

void TTeSkinFile::PaintHeader(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  if (TSeSkinObject* frame = Child(cache_[kHeader], "Frame")) return PaintAt(frame, canvas, rect, 0);
  TteTheme::PaintHeader(kind, canvas, rect, objectName);
}

void TTeSkinFile::PaintHeaderSection(uint8_t, TCanvas& canvas, const TteHeaderSectionInfo& info,
                                     const QString&) {
  TSeSkinObject* header = cache_[kHeader];
  TSeSkinObject* section = nullptr;
  if (info.Position == khpFirst) section = Child(header, "SectionFirst");
  if (info.Position == khpLast) section = Child(header, "SectionLast");
  if (!section) section = Child(header, "Section");
  uint8_t state = 0;
  if (info.State == khsPressed || info.State == khsUnderDrag) state = 6;
  else if (info.State == khsDraggedOut || info.State == khsDisabled) state = 8;
  else if (info.State == khsDragging || info.State == khsHot) state = 5;
  PaintAt(section, canvas, info.Rect, state);
}

bool TTeSkinFile::HasStatusBar(uint8_t kind, const QString&) { return kind == 0 && cache_[kStatusBar]; }

void TTeSkinFile::PaintStatusBar(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintAt(Child(cache_[kStatusBar], "Frame"), canvas, rect, 0);
}

void TTeSkinFile::PaintStatusPanel(uint8_t, TCanvas& canvas, const TteStatusPanelInfo& info,
                                   const QString&) {
  if (info.PanelKind == kspkSizeGrip) return PaintAt(Child(cache_[kStatusBar], "Gripper"), canvas, info.Rect, 0);
  TRect r = info.Rect;
  if (info.PanelKind == kspkPlain) r.Right += 7;
  if (info.PanelKind <= kspkPlain) PaintAt(Child(cache_[kStatusBar], "Panel"), canvas, r, 0);
}

void TTeSkinFile::PaintStatusPanelText(uint8_t kind, TCanvas& canvas, const TteStatusPanelInfo& info,
                                       const TteTextInfo& text, const QString& objectName) {
  TteTextInfo t = text;
  if (TSeSkinObject* panel = Child(cache_[kStatusBar], "Panel")) {
    t.Rect.Left += panel->TextMarginLeft;
    t.Rect.Right -= panel->TextMarginRight;
    t.Rect.Top += panel->TextMarginTop;
  }
  TteTheme::PaintStatusPanelText(kind, canvas, info, t, objectName);
}

// ---- edit, group box, text area

bool TTeSkinFile::HasEdit(uint8_t kind, const QString&) {
  return (kind == 0 && cache_[kEdit]) || ((kind == 5 || kind == 6) && cache_[kComboBox]);
}

TRect TTeSkinFile::EditContentRect(uint8_t, const TteEditInfo& info, const QString&) {
  return Inset(info.Rect, 4);
}

void TTeSkinFile::PaintEdit(uint8_t, TCanvas& canvas, const TteEditInfo& info, const QString&) {
  if (info.State == kesSelection) return FillRectColor(canvas, info.Rect, Colors().GetColor(kcEditSelection));
  const uint8_t state = info.State == kesDisabled ? 8 : info.State == kesHot ? 5 : 0;
  PaintAt(Child(cache_[kEdit], "Frame"), canvas, info.Rect, state);
}

void TTeSkinFile::PaintEditButton(uint8_t, TCanvas& canvas, const TteEditButtonInfo& info, const QString&) {
  TSeSkinObject* button = nullptr;
  if (info.Glyph == kebgDropDown) button = Child(cache_[kComboBox], "Button");
  else if (info.Glyph >= 2 && info.Glyph <= 9) button = Child(cache_[kEdit], "Button");
  const uint8_t state = info.State == 4 ? 8 : info.State == 2 ? 6 : info.State == 1 ? 5 : 0;
  PaintAt(button, canvas, info.Rect, state);
}

bool TTeSkinFile::HasGroupBox(uint8_t kind, const QString&) { return kind == 0 && cache_[kGroupBox]; }

bool TTeSkinFile::IsGroupBoxTransparent(uint8_t, const QString&) {
  TSeSkinObject* frame = Child(cache_[kGroupBox], "Frame");
  return frame && frame->Masked;
}

void TTeSkinFile::PaintGroupBox(uint8_t, TCanvas& canvas, const TteGroupBoxInfo& info, const QString&) {
  TSeSkinObject* box = cache_[kGroupBox];
  TSeSkinObject* frame = Child(box, "Frame");
  if (!frame) frame = box;
  if (!frame) return;
  // The caption area keeps its background: its pixels are put back after the paint.
  QImage saved;
  if (!info.EraseRect.IsEmpty()) saved = canvas.Grab(info.EraseRect);
  PaintAt(frame, canvas, info.Rect, info.State == 1 ? 8 : 0);
  if (!saved.isNull()) canvas.StretchCopy(info.EraseRect, saved, TRect{0, 0, saved.width(), saved.height()});
}

bool TTeSkinFile::HasTextArea(uint8_t kind, const QString&) { return kind == 0 && cache_[kEdit]; }

TRect TTeSkinFile::TextAreaContentRect(uint8_t, const TteRectByteInfo& info, const QString&) {
  return Inset(info.Rect, 4);
}

void TTeSkinFile::PaintTextArea(uint8_t, TCanvas& canvas, const TteRectByteInfo& info, const QString&) {
  PaintAt(Child(cache_[kEdit], "Frame"), canvas, info.Rect, info.Value == 3 ? 8 : 0);
}

bool TTeSkinFile::HasTextAreaPart(uint8_t, const QString&) { return false; }
bool TTeSkinFile::IsTextAreaPartTransparent(uint8_t, const QString&) { return false; }

// ---- menu

bool TTeSkinFile::HasMenu(uint8_t kind, const QString&) {
  return (kind == 0 && cache_[kMenuBar]) || (kind == 1 && cache_[kPopupMenu]);
}

TRect TTeSkinFile::MenuContentRect(uint8_t kind, const TRect& rect, const QString&) {
  if (kind > 1) return rect;
  return InsideMargins(Child(cache_[kind == 0 ? kMenuBar : kPopupMenu], "Frame"), rect);
}

void TTeSkinFile::PaintMenu(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  if (kind > 1) return;
  PaintAt(Child(Family(objectName, kind == 0 ? kMenuBar : kPopupMenu), "Frame"), canvas, rect, 0);
}

void TTeSkinFile::PaintMenuItem(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                                const QString& objectName) {
  if (kind > 1) return;
  TSeSkinObject* menu = cache_[kind == 0 ? kMenuBar : kPopupMenu];
  if (!menu) return;
  // Here the object name names a child of the menu object.
  auto named = [&]() -> TSeSkinObject* {
    return IsDefaultObject(objectName) ? nullptr : menu->FindChild(objectName);
  };
  const uint8_t state = info.State == kmisHot ? 5 : info.State == kmisSelected ? 7
                        : info.State == kmisDisabled ? 8 : 0;
  switch (info.ItemKind) {
    case kmikItem: {
      TSeSkinObject* item = named();
      PaintAt(item ? item : Child(menu, "Item"), canvas, info.Rect, state);
      break;
    }
    case kmikSeparator: {
      TSeSkinObject* item = kind == 0 ? FirstChild(menu, {"separator", "item"}) : named();
      if (!item) item = FirstChild(menu, {"Separator", "item"});
      if (!item) break;
      item->Text = QStringLiteral("-");
      PaintAt(item, canvas, info.Rect, 0);
      item->Text.clear();
      break;
    }
    case kmikScrollUp:
    case kmikScrollDown: {
      TSeSkinObject* item = kind == 1 ? FirstChild(menu, {info.ItemKind == kmikScrollUp ? "upbutton" : "downbutton", "item"})
                                      : Child(menu, "item");
      PaintAt(item, canvas, info.Rect, state);
      const int font = info.State == kmisDisabled ? kfMenuItemTextDisabled
                       : info.State == kmisSelected ? kfMenuItemTextSelected
                       : info.State == kmisHot ? kfMenuItemTextHot : kfMenuItemTextNormal;
      const TColor color = Fonts().GetFont(font).Color;
      const TRect box = CenteredBox(info.Rect, 7, 4);
      const int mid = (box.Left + box.Right - 1) / 2;
      std::vector<TPoint> tri;
      if (info.ItemKind == kmikScrollUp)
        tri = {{box.Left, box.Bottom - 1}, {box.Right - 1, box.Bottom - 1}, {mid, box.Top}};
      else
        tri = {{box.Left, box.Top}, {box.Right - 1, box.Top}, {mid, box.Bottom - 1}};
      FillPolygon(canvas, tri.data(), 3, color);
      DrawPolygon(canvas, tri.data(), 3, color);
      break;
    }
    case kmikMinimize:
    case kmikRestore:
    case kmikClose: {
      const char* names[] = {"Min", "Restore", "Close"};
      if (TSeSkinObject* b = Child(menu, names[info.ItemKind - kmikMinimize])) {
        PaintCentred(b, canvas, info.Rect, state);
      } else {
        static constexpr uint32_t kGlyphs[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
        DrawMaskedFrameControl(canvas, info.Rect, DFC_CAPTION, kGlyphs[info.ItemKind - kmikMinimize], clBlack);
      }
      break;
    }
    default: break;
  }
}

void TTeSkinFile::PaintMenuItemGlyph(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                                     const TteItemGlyphInfo& glyph, const QString& objectName) {
  TteTheme::PaintMenuItemGlyph(kind, canvas, info, glyph, objectName);
  if (glyph.GlyphKind == kgkIcon && glyph.Bitmap) {
    const TRect r = CenteredBox(glyph.Rect, glyph.Bitmap->Width(), glyph.Bitmap->Height());
    glyph.Bitmap->Draw(canvas, r.Left, r.Top);
  }
}

// ---- dock, tool bar, scroll box

bool TTeSkinFile::HasDock(uint8_t, const QString& objectName) {
  return Family(objectName, kControlBar) != nullptr;
}

TRect TTeSkinFile::DockContentRect(uint8_t, const TRect& rect, const QString&) { return rect; }

void TTeSkinFile::PaintDock(uint8_t, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  PaintAt(Child(Family(objectName, kControlBar), "Back"), canvas, rect, 0);
}

bool TTeSkinFile::HasTool(uint8_t kind, const QString& objectName) {
  return Named(objectName) || (kind <= 1 && cache_[kControlBar]);
}

void TTeSkinFile::PaintTool(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  if (kind == 2) return PaintMenu(kmkPopup, canvas, rect, QStringLiteral("default"));
  PaintAt(Child(Family(objectName, kControlBar), "Frame"), canvas, rect, 0);
}

void TTeSkinFile::PaintToolButton(uint8_t, TCanvas& canvas, const TteToolButtonInfo& info,
                                  const QString& objectName) {
  TSeSkinObject* tool = Family(objectName, kSpeedButton);
  uint8_t state = 0;
  switch (info.State) {
    case ktbsHot: state = 5; break;
    case ktbsPressed: case ktbsChecked: case ktbsHotChecked: state = 6; break;
    case ktbsDisabled: state = 8; break;
    default: break;
  }
  switch (info.ButtonKind) {
    case 0: case 3: case 5: PaintAt(FirstChild(tool, {"FlatFace", "Face"}), canvas, info.Rect, state); break;
    case 1: PaintAt(Child(tool, "Separator"), canvas, Inset(info.Rect, 0, 2), 0); break;
    case 4: {
      TSeSkinObject* chevron = FirstChild(tool, {"FlatChevron", "Chevron"});
      PaintAt(chevron ? chevron : tool, canvas, info.Rect, state);
      break;
    }
    case 13:
    case 14: {
      TSeSkinObject* grabberOwner = Family(objectName, kControlBar);
      TSeSkinObject* grabber = info.ButtonKind == 14 ? FirstChild(grabberOwner, {"GrabberVert", "Grabber"})
                                                     : Child(grabberOwner, "Grabber");
      if (grabber) {
        grabber->SetBounds(info.Rect);
        grabber->Paint(canvas, {});
      }
      break;
    }
    default: break;
  }
}

bool TTeSkinFile::HasScrollBox(uint8_t kind, const QString&) { return kind == 0; }

TRect TTeSkinFile::ScrollBoxContentRect(uint8_t, const TRect& rect, const QString&) { return rect; }

void TTeSkinFile::PaintScrollBox(uint8_t, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  PaintAt(Child(Family(objectName, kScrollBox), "Frame"), canvas, rect, 0);
}

// ---- collapse panel

bool TTeSkinFile::HasCollapsePanel(uint8_t kind, const QString&) { return kind == 1; }

bool TTeSkinFile::IsCollapsePanelTransparent(uint8_t kind, const QString& objectName) {
  if (kind != 1) return false;
  if (TSeSkinObject* named = Named(objectName)) return named->Masked;
  TSeSkinObject* caption = Child(cache_[kPanel], "Caption");
  return caption && caption->Masked;
}

TRect TTeSkinFile::CollapsePanelContentRect(uint8_t, const TRect& rect, const QString& objectName) {
  return InsideMargins(Family(objectName, kPanel), rect);
}

void TTeSkinFile::PaintCollapsePanel(uint8_t, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  PaintAt(Child(Family(objectName, kPanel), "Frame"), canvas, rect, 0);
}

void TTeSkinFile::PaintCollapsePanelCaption(uint8_t, TCanvas& canvas, const TteRectByteInfo& info,
                                            const QString& objectName) {
  TSeSkinObject* caption = Child(Family(objectName, kPanel), "Caption");
  PaintAt(caption, canvas, info.Rect, 0);
  if (caption) caption->Text.clear();
}

void TTeSkinFile::PaintCollapsePanelButton(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                           const QString& objectName) {
  const char* name = info.Low == 1 ? "ButtonRollup" : info.Low == 2 ? "ButtonRollDown"
                     : info.Low == 3 ? "ButtonHide" : nullptr;
  if (name) PaintAt(Child(Family(objectName, kPanel), name), canvas, info.Rect, HighByteState(info.High));
}

// ---- tabs

bool TTeSkinFile::HasTab(uint8_t kind, const QString& objectName) {
  return Named(objectName) || (kind <= 1 && cache_[kTabs]);
}

TRect TTeSkinFile::TabContentRect(uint8_t, const TRect& rect, const QString&) { return Inset(rect, 2); }

void TTeSkinFile::PaintTabPage(uint8_t, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  PaintAt(Child(Family(objectName, kTabs), "Frame"), canvas, rect, 0);
}

namespace {

enum class TTabSide { Top, Left, Right, Bottom };

// Where scratch pixel (x, y) of a tab painted as a top tab lands once turned to its
// side; w and h are the scratch's size.
TPoint TurnTabPixel(TTabSide side, int x, int y, int w, int h) {
  switch (side) {
    case TTabSide::Left: return {y, w - 1 - x};
    case TTabSide::Right: return {h - 1 - y, x};
    case TTabSide::Bottom: return {x, h - 1 - y};
    default: return {x, y};
  }
}

}  // namespace

void TTeSkinFile::PaintTab(uint8_t, TCanvas& canvas, const TteTabInfo& info, const QString& objectName) {
  TSeSkinObject* tabs = Family(objectName, kTabs);
  if (!tabs) return;
  const TTabSide side = info.TabKind <= 2 ? TTabSide::Top : info.TabKind <= 5 ? TTabSide::Left
                        : info.TabKind <= 8 ? TTabSide::Right : TTabSide::Bottom;
  static const char* const kSideNames[] = {"TabTop", "TabLeft", "TabRight", "TabBottom"};
  const uint8_t state = info.State == 1 ? 5 : info.State == 2 ? 8 : info.State == 3 ? 7 : 0;
  if (TSeSkinObject* own = Child(tabs, kSideNames[int(side)])) return PaintAt(own, canvas, info.Rect, state);
  TSeSkinObject* tab = Child(tabs, "Tab");
  if (!tab) return;
  if (side == TTabSide::Top) return PaintAt(tab, canvas, info.Rect, state);

  const TRect r = info.Rect;
  const bool across = side != TTabSide::Bottom;
  const int w = across ? r.Height() : r.Width(), h = across ? r.Width() : r.Height();
  if (w <= 0 || h <= 0) return;
  // The scratch starts with what lies under the tab, turned back, so that the tab's
  // transparent and blended pixels show the canvas as a direct paint would.
  TteBitmap scratch, result;
  scratch.SetSize(w, h);
  result.SetSize(r.Width(), r.Height());
  const QImage under = canvas.Grab(r);
  const bool keyed = under.isNull() || under.width() != r.Width() || under.height() != r.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TPoint p = TurnTabPixel(side, x, y, w, h);
      scratch.SetPixel(x, y, keyed ? kTeColorKey : TteColor(under.pixel(p.X, p.Y)) | 0xFF000000u);
    }
  PaintAt(tab, scratch.Canvas(), {0, 0, w, h}, state);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TPoint p = TurnTabPixel(side, x, y, w, h);
      result.SetPixel(p.X, p.Y, scratch.GetPixel(x, y));
    }
  result.Transparent = keyed;
  result.Draw(canvas, r.Left, r.Top);
}

void TTeSkinFile::PaintTabScrollButton(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                       const QString& objectName) {
  PaintAt(Child(Family(objectName, kTabs), info.Low == 1 ? "LeftButton" : "RightButton"), canvas,
          info.Rect, HighByteState(info.High));
}

void TTeSkinFile::PaintTabText(uint8_t kind, TCanvas& canvas, const TteTabInfo& info,
                               const TteTextInfo& text, const QString& objectName) {
  TteTextInfo t = text;
  if (info.TabKind >= 3 && info.TabKind <= 5) t.Orientation = ktoVerticalDown;
  if (info.TabKind >= 6 && info.TabKind <= 8) t.Orientation = ktoVerticalUp;
  TteTheme::PaintTabText(kind, canvas, info, t, objectName);
}

// ---- list, tree, grid

bool TTeSkinFile::HasList(uint8_t kind, const QString& objectName) {
  return Named(objectName) || (kind == 0 && cache_[kListBox]);
}

TRect TTeSkinFile::ListContentRect(uint8_t, const TRect& rect, const QString&) {
  return InsideMargins(Child(cache_[kListBox], "Frame"), rect);
}

void TTeSkinFile::PaintList(uint8_t, TCanvas& canvas, const TRect& rect, const QString& objectName) {
  PaintAt(Child(Family(objectName, kListBox), "Frame"), canvas, rect, 0);
}

namespace {
uint8_t ItemState(uint8_t state) {
  return state == klisSelected || state == klisSelectedFocused ? 7 : state == klisDisabled ? 8 : 0;
}
}  // namespace

void TTeSkinFile::PaintListItem(uint8_t, TCanvas& canvas, const TteListItemInfo& info, const QString& objectName) {
  PaintAt(Child(Family(objectName, kListBox), "Item"), canvas, info.Rect, ItemState(info.State));
}

void TTeSkinFile::PaintListItemCheck(uint8_t, TCanvas& canvas, const TteListItemInfo&,
                                     const TteListCheckInfo& check, const QString& objectName) {
  TSeSkinObject* list = Family(objectName, kListBox);
  TSeSkinObject* box = cache_[kCheckbox];
  TSeSkinObject* mark = nullptr;
  switch (check.CheckKind) {
    case klckChecked: mark = Child(list, "Checked"); if (!mark) mark = Child(box, "Checked"); break;
    case klckUnchecked: mark = Child(list, "Unchecked"); if (!mark) mark = Child(box, "Unchecked"); break;
    case klckMixed:
      mark = FirstChild(list, {"Mixed", "Checked"});
      if (!mark) mark = FirstChild(box, {"Mixed", "Checked"});
      break;
    case klckBitmap:
      if (check.Bitmap) {
        const TRect r = CenteredBox(check.Rect, check.Bitmap->Width(), check.Bitmap->Height());
        check.Bitmap->Draw(canvas, r.Left, r.Top);
      }
      return;
    default: return;
  }
  if (mark) {
    mark->SetBounds(CenteredBox(check.Rect, mark->Width, mark->Height));
    mark->Paint(canvas, {});
  }
}

bool TTeSkinFile::HasTree(uint8_t kind, const QString&) { return kind == 0 && cache_[kListBox]; }

void TTeSkinFile::PaintTree(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintAt(Child(cache_[kListBox], "Frame"), canvas, rect, 0);
}

void TTeSkinFile::PaintTreeItem(uint8_t, TCanvas& canvas, const TteListItemInfo& info, const QString&) {
  PaintAt(Child(cache_[kListBox], "Item"), canvas, info.Rect, ItemState(info.State));
}

bool TTeSkinFile::HasGrid(uint8_t kind, const QString&) { return kind == 0 && cache_[kGrid]; }

void TTeSkinFile::PaintGrid(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintAt(Child(cache_[kGrid], "Frame"), canvas, rect, 0);
}

void TTeSkinFile::PaintGridCell(uint8_t, TCanvas& canvas, const TteStateWordInfo& info, const QString&) {
  const uint8_t s = info.Low;
  const uint8_t state = s == 1 ? 5 : (s == 2 || s == 3) ? 7 : s == 4 ? 8 : 0;
  PaintAt(Child(cache_[kGrid], info.High == 1 ? "Fixed" : "Cell"), canvas, info.Rect, state);
}

// ---- named extras

TSeSkinObject* TTeSkinFile::Original(TSeSkinObject* o) const {
  // The emptied client parts stand for the skin's own, kept as copies.
  if (o && o == cache_[kFormClient]) return cache_[kFormClientCopy];
  if (o && o == cache_[kToolWindow + kFormClient]) return cache_[kToolWindow + kFormClientCopy];
  return o;
}

TRect TTeSkinFile::GetObjectBounds(const QString& objectName) {
  if (TSeSkinObject* o = Original(work_->FindObject(objectName)))
    if (TSeSkinObject* bounds = o->FindChild(QStringLiteral("Bounds"))) return bounds->BoundsRect();
  return TteTheme::GetObjectBounds(objectName);
}

TColor TTeSkinFile::GetCustomColor(const QString& colorName) {
  TSeSkinObject* o = nullptr;
  if (colorName.contains(QLatin1Char('\\')))
    o = work_->FindObject(colorName);
  else if (TSeSkinObject* custom = work_->FindObject(QStringLiteral("CustomColors")))
    o = custom->FindChild(colorName);
  else
    o = work_->FindObject(colorName);
  o = Original(o);
  return o ? o->Color : TteTheme::GetCustomColor(colorName);
}
