// The packed visual-style theme: its stream and files, the build of its element
// objects with the SysMetrics values, and the colour and font set-up it overrides.
#include "theme_msux.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "menu_glyphs.h"
#include "pe_resources.h"
#include "te_compress.h"
#include "theme_manager.h"

namespace {

// Far more than any theme carries; a count beyond it is a corrupt stream, and the
// bound keeps a stream of empty image entries from making millions of objects.
constexpr int32_t kMaxImages = 65536;

const TteThemeClass kMsStylesClass = {
    "TTeThemeMsStyles", &TTeThemeMsStyles::GetThemeKindName, &TTeThemeMsStyles::GetThemeConfig,
    &TTeThemeMsStyles::IsThemeStream, &TTeThemeMsStyles::Create,
};

QByteArray ReadBodyString(QIODevice& stream) {
  return ReadCheckedBytes(stream, ReadCheckedInt32(stream));
}

void WriteBodyString(QIODevice& stream, const QByteArray& text) {
  WriteInt32LE(stream, int32_t(text.size()));
  WriteCheckedBytes(stream, text.constData(), text.size());
}

void WriteByte(QIODevice& stream, bool value) {
  const char byte = value ? 1 : 0;
  WriteCheckedBytes(stream, &byte, 1);
}

// Shifts a platform colour by hue and then brightness; "no colour" stays no colour.
TColor ShiftColor(TColor color, int hue, int brightness) {
  if (color == clNone) return color;
  if (hue != 0) color = ChangeHueColor(color, hue);
  if (brightness != 0) color = ChangeBrightnessColor(color, brightness);
  return color;
}

void SetFaceAndSize(TFont& font, const TmsuxFont& f) {
  font.setFamily(f.Face);
  SetFontSize(font, f.Size);
}

void SetWholeFont(TFont& font, const TmsuxFont& f) {
  SetFaceAndSize(font, f);
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  font.setStrikeOut(f.StrikeOut);
}

}  // namespace

const QByteArray& TTeThemeMsStyles::Magic() {
  static const QByteArray magic = QByteArrayLiteral("OVMSSTL");
  return magic;
}

TTeThemeMsStyles::TTeThemeMsStyles() {
  for (TFont* f : {&MenuFont, &StatusFont, &MsgBoxFont}) *f = DefaultThemeFont();
  ResetTheme();
}

TTeThemeMsStyles::~TTeThemeMsStyles() = default;

const TteThemeClass& TTeThemeMsStyles::ThemeClass() { return kMsStylesClass; }
std::unique_ptr<TteTheme> TTeThemeMsStyles::Create() { return std::make_unique<TTeThemeMsStyles>(); }
QString TTeThemeMsStyles::GetThemeKindName() { return QStringLiteral("Microsoft msstyles"); }

TteThemeConfig TTeThemeMsStyles::GetThemeConfig() {
  TteThemeConfig config;
  config.CanSave = true;
  config.CanLoad = true;
  config.Filter = GetThemeKindName() +
                  QStringLiteral(" (*.msstyles)|*.msstyles|RurerOraver themes (*.theme)|*.theme");
  config.Extension = QStringLiteral("msstyles");
  return config;
}

bool TTeThemeMsStyles::IsThemeStream(QIODevice& stream) { return StreamStartsWith(stream, Magic()); }

// ---- stream and files

void TTeThemeMsStyles::ReadBody(QIODevice& stream) {
  TDecompressionStream body(stream);
  body.SetMaxSize(kMaxBodySize);
  Name = QString::fromLatin1(ReadBodyString(body));
  const int32_t iniSize = ReadCheckedInt32(body);
  if (iniSize > kMaxIniSize) StreamReadError();
  ini_.SetText(QString::fromLatin1(ReadCheckedBytes(body, iniSize)));
  // What loads must save and load again, so the text as written back is bounded too.
  // It is dropped, so that the rebuild after the failure does not meet it again.
  if (ini_.Text().size() > kMaxIniSize) {
    ini_.Clear();
    StreamReadError();
  }
  const int32_t count = ReadCheckedInt32(body);
  if (count < 0 || count > kMaxImages) StreamReadError();
  for (int32_t i = 0; i < count; ++i) {
    auto image = std::make_unique<TteBitmap>();
    try {
      image->LoadFromStream(body);
    } catch (const EAppError&) {
      // The bitmap reader only sees a short read; say why when the zlib data was bad.
      body.CheckError();
      throw;
    }
    // The entry's own name wins over the one inside the bitmap record.
    image->Name = QString::fromLatin1(ReadBodyString(body));
    image->Transparent = ReadCheckedByte(body) != 0;
    image->AlphaBlend = ReadCheckedByte(body) != 0;
    images_.Add(std::move(image));
  }
}

bool TTeThemeMsStyles::LoadFromStream(QIODevice& stream) {
  ClearContent();
  // A packed theme carries all its images; none are fetched from an earlier library.
  SourceFileName.clear();
  try {
    if (ReadCheckedBytes(stream, Magic().size()) == Magic()) ReadBody(stream);
  } catch (const EAppError&) {
    // Rebuild from what was read so far, so the theme stays whole, then report.
    pristine_.clear();
    ResetTheme();
    throw;
  }
  pristine_.clear();
  ResetTheme();
  return true;
}

bool TTeThemeMsStyles::SaveToStream(QIODevice& stream) const {
  WriteStream(stream, kclFastest);
  return true;
}

void TTeThemeMsStyles::WriteStream(QIODevice& stream, TCompressionLevel level) const {
  WriteCheckedBytes(stream, Magic().constData(), Magic().size());
  TCompressionStream body(level, stream);
  WriteBodyString(body, Name.toLatin1());
  WriteBodyString(body, ini_.Text().toLatin1());
  WriteInt32LE(body, images_.Count());
  for (int i = 0; i < images_.Count(); ++i) {
    const TteBitmap& image = *images_.Items(i);
    image.SaveToStream(body);
    WriteBodyString(body, image.Name.toLatin1());
    WriteByte(body, image.Transparent);
    WriteByte(body, image.AlphaBlend);
  }
  body.Finish();
}

namespace {
bool IsThemeFile(const QString& fileName) {
  return QFileInfo(fileName).suffix().compare(QLatin1String("theme"), Qt::CaseInsensitive) == 0;
}

// A list of names the library keeps as resource 1 of its type; empty when absent.
QStringList ReadNameList(const TPeResourceReader& library, const char* type) {
  const std::optional<QByteArrayView> data = library.Find(type, 1);
  return data ? ReadResourceStrings(*data) : QStringList();
}

// A library's INI text is UTF-16; the theme keeps 8-bit text, so anything past Latin-1
// becomes "?". A leading byte-order mark and trailing zeros are not text. The library
// writes "key = value" where the theme reads "key=value".
QString IniTextFromResource(QByteArrayView utf16) {
  qsizetype units = utf16.size() / 2;
  auto unit = [&](qsizetype i) { return qFromLittleEndian<char16_t>(utf16.data() + i * 2); };
  while (units > 0 && unit(units - 1) == 0) --units;
  QString text;
  text.reserve(units);
  for (qsizetype i = (units > 0 && unit(0) == 0xFEFF) ? 1 : 0; i < units; ++i) {
    const char16_t c = unit(i);
    text.append(QChar(c < 0x100 ? c : u'?'));
  }
  return text.replace(QLatin1String(" = "), QLatin1String("="));
}
}  // namespace

bool TTeThemeMsStyles::LoadFromFile(const QString& fileName) {
  if (IsThemeFile(fileName)) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    FileName = fileName;
    return LoadFromStream(file);
  }
  TPeResourceReader library;
  if (!library.Open(fileName)) return false;
  Name = QFileInfo(fileName).completeBaseName();
  ColorNames = ReadNameList(library, "COLORNAMES");
  SizeNames = ReadNameList(library, "SIZENAMES");
  FileResNames = ReadNameList(library, "FILERESNAMES");
  if (ColorNames.isEmpty() || SizeNames.isEmpty() || FileResNames.isEmpty()) return false;
  const int64_t index = int64_t(SizeNames.size()) * ColorSchemeIndex + SizeIndex;
  if (ColorSchemeIndex < 0 || SizeIndex < 0 || index >= FileResNames.size()) return false;
  const std::optional<QByteArrayView> text = library.Find("TEXTFILE", FileResNames[index]);
  // Two bytes a character; the same bound as a packed stream's, so the theme can be
  // saved packed and loaded again.
  if (!text || text->size() / 2 > kMaxIniSize) return false;
  TmsuxIni ini;
  ini.SetText(IniTextFromResource(*text));
  if (ini.Text().size() > kMaxIniSize) return false;

  // The library's images replace the old ones: a stale image of the same name would
  // otherwise be bound instead of the library's.
  ClearContent();
  ini_ = std::move(ini);
  SourceFileName = fileName;
  FileName = fileName;
  pristine_.clear();
  ResetTheme();
  return true;
}

bool TTeThemeMsStyles::SaveToFile(const QString& fileName) const {
  if (!IsThemeFile(fileName)) return false;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  SaveToStream(buffer);
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(buffer.data()) == buffer.data().size();
}

void TTeThemeMsStyles::Assign(const TteTheme& source) {
  const auto* other = dynamic_cast<const TTeThemeMsStyles*>(&source);
  if (!other) {
    TteTheme::Assign(source);
    return;
  }
  if (other == this) return;
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  other->WriteStream(buffer, kclNone);
  buffer.seek(0);
  LoadFromStream(buffer);
}

// ---- the build

TmsuxThemeObject* TTeThemeMsStyles::Object(TmsuxSection section) const {
  return section >= 0 && section < kMsuxSectionCount ? objects_[size_t(section)].get() : nullptr;
}

TmsuxThemeObject* TTeThemeMsStyles::FindObject(const QString& section) const {
  for (int i = 0; i < kMsuxSectionCount; ++i)
    if (section.compare(QLatin1String(MsuxSectionName(i)), Qt::CaseInsensitive) == 0)
      return objects_[size_t(i)].get();
  return nullptr;
}

int TTeThemeMsStyles::ObjectCount() const { return kMsuxSectionCount; }

void TTeThemeMsStyles::ClearContent() {
  // Element objects point into the image list: they go first.
  for (auto& object : objects_) object.reset();
  images_.Clear();
  ini_.Clear();
}

bool TTeThemeMsStyles::IsEmptyTheme() const {
  const TmsuxThemeObject* button = Object(kmsButtonPushbutton);
  return images_.Count() == 0 || !button || !button->IsDefined();
}

QString TTeThemeMsStyles::SysMetric(const char* key, const char* def) const {
  return ini_.ReadString(QStringLiteral("SysMetrics"), QLatin1String(key), QLatin1String(def));
}

void TTeThemeMsStyles::BuildObjects() {
  for (auto& object : objects_) object.reset();
  TmsuxImageStore store;
  store.Images = &images_;
  // A theme from a library fetches the images its INI names from there. The library is
  // read once per build, on the first image the list lacks; a rebuild from the pristine
  // copy finds them all in the list and does not read it at all.
  std::optional<TPeResourceReader> library;
  if (!SourceFileName.isEmpty())
    store.LoadMissing = [this, &library](const QString& upperName) {
      // A library that cannot be read any more finds nothing: every image stays empty.
      if (!library) library.emplace().Open(SourceFileName);
      auto image = std::make_unique<TteBitmap>();
      try {
        image->LoadFromResource(*library, upperName);
      } catch (const EAppError&) {
        // Pixels that cannot be had leave the image empty, like a missing one.
        image->Clear();
      }
      return image;
    };
  for (int i = 0; i < kMsuxSectionCount; ++i) {
    auto object = std::make_unique<TmsuxThemeObject>();
    object->LoadFromIni(ini_, QLatin1String(MsuxSectionName(i)), store);
    objects_[size_t(i)] = std::move(object);
  }
}

void TTeThemeMsStyles::ResetTheme() {
  if (!pristine_.isEmpty()) {
    // Every rebuild starts from the unshifted data, so shifts never add up.
    ClearContent();
    QByteArray copy = pristine_;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(Magic().size());
    ReadBody(buffer);
  }
  BuildObjects();
  CaptionBarHeight = ParseInt(SysMetric("CaptionBarHeight", "25"), 25);
  SMCaptionBarHeight = ParseInt(SysMetric("SMCaptionBarHeight", "17"), 17);
  BorderWidth = ParseInt(SysMetric("BorderWidth", "4"), 4);
  SMBorderWidth = ParseInt(SysMetric("SMBorderWidth", "3"), 3);
  if (pristine_.isEmpty()) {
    QBuffer buffer(&pristine_);
    buffer.open(QIODevice::WriteOnly);
    // Stored, not deflated: the copy never leaves memory, and deflating it was most of
    // the time a load took.
    WriteStream(buffer, kclNone);
  }
  const int hue = DeltaHue(), brightness = DeltaBrightness();
  if (hue != 0 || brightness != 0) {
    for (int i = 0; i < images_.Count(); ++i) {
      images_.Items(i)->ChangeHue(hue);
      images_.Items(i)->ChangeBrightness(brightness);
    }
    for (auto& object : objects_) {
      if (!object->IsDefined()) continue;
      object->FillColor = ShiftColor(object->FillColor, hue, brightness);
      object->BorderColor = ShiftColor(object->BorderColor, hue, brightness);
      object->TextColor = ShiftColor(object->TextColor, hue, brightness);
    }
  }
  TteTheme::ResetTheme();
}

void TTeThemeMsStyles::SetDefaultColors() {
  TteTheme::SetDefaultColors();
  if (IsEmptyTheme()) return;
  Colors().SetColor(kcButtonNormal, Object(kmsButtonPushbutton)->FillColorHint);
  const TColor list = Object(kmsListview)->FillColor;
  for (int i : {kcList, kcTree, kcGrid, kcBarDock}) Colors().SetColor(i, list);
}

void TTeThemeMsStyles::SetDefaultSysColors() {
  TteTheme::SetDefaultSysColors();
  if (IsEmptyTheme()) return;
  const int hue = DeltaHue(), brightness = DeltaBrightness();
  TteThemeSysColors& sys = SysColors();
  // The base has shifted the table already: start again from the unshifted values so
  // that the shift below is the only one.
  sys.RestoreUnshifted();
  const struct {
    TColor Constant;
    const char* Key;
  } kSubstitutes[] = {
      {SysColor(COLOR_WINDOW), "Window"},       {SysColor(COLOR_BTNFACE), "BtnFace"},
      {SysColor(COLOR_HIGHLIGHT), "Highlight"}, {SysColor(COLOR_BTNSHADOW), "BtnShadow"},
      {SysColor(COLOR_HIGHLIGHTTEXT), "HighlightText"},
  };
  for (const auto& s : kSubstitutes) sys.SetSysColor(s.Constant, ParseColor(SysMetric(s.Key, "100 100 100")));
  MenuColor = ShiftColor(ParseColor(SysMetric("Menu", "100 100 100")), hue, brightness);
  MenuBarColor = ShiftColor(ParseColor(SysMetric("MenuBar", "100 100 100")), hue, brightness);
  MenuHilightColor = ShiftColor(ParseColor(SysMetric("MenuHilight", "100 100 100")), hue, brightness);
  sys.ApplyHue(hue);
  sys.ApplyBrightness(brightness);
}

void TTeThemeMsStyles::SetDefaultFonts() {
  TteTheme::SetDefaultFonts();
  if (IsEmptyTheme()) return;
  TteThemeFonts& fonts = Fonts();
  const TmsuxFont caption = ParseFont(SysMetric("CaptionFont", "Tahoma,10"));
  for (int i : {kfCaptionTextNormal, kfCaptionTextInactive}) SetFaceAndSize(fonts.GetFont(i), caption);
  fonts.GetFont(kfCaptionTextNormal).Color = ParseColor(SysMetric("CaptionText", "255 255 255"));
  fonts.GetFont(kfCaptionTextInactive).Color =
      ParseColor(SysMetric("InactiveCaptionText", "255 255 255"));
  SetWholeFont(MenuFont, ParseFont(SysMetric("MenuFont", "Tahoma, 8")));
  SetWholeFont(StatusFont, ParseFont(SysMetric("StatusFont", "Tahoma, 8")));
  const TmsuxFont msgBox = ParseFont(SysMetric("MsgBoxFont", "Tahoma, 8"));
  SetWholeFont(MsgBoxFont, msgBox);
  const TColor highlightText = ParseColor(SysMetric("HighlightText", "100 100 100"));
  for (int i : {kfMenuItemTextSelected, kfMenuItemTextHot, kfPopupMenuItemTextSelected,
                kfPopupMenuItemTextHot})
    fonts.GetFont(i).Color = highlightText;
  const TColor buttonText = Object(kmsButtonPushbutton)->TextColor;
  for (int i : {kfButtonTextNormal, kfButtonTextHot, kfButtonTextPressed, kfButtonTextFocused,
                kfButtonTextDisabled}) {
    SetWholeFont(fonts.GetFont(i), msgBox);
    fonts.GetFont(i).Color = buttonText;
  }
  fonts.GetFont(kfButtonTextDisabled).Color = Object(kmsButtonPushbuttonDisabled)->TextColor;
}

// ---- element painting

namespace {

// Frame by state; 0 paints nothing (a state the controls never send).
template <size_t N>
int FrameOf(const int (&frames)[N], uint8_t state) {
  return state < N ? frames[state] : 0;
}

// Puts an element's fill colour back however the paint ends.
class FillColorSwap {
 public:
  FillColorSwap(TmsuxThemeObject& object, TColor color) : object_(object), saved_(object.FillColor) {
    object.FillColor = color;
  }
  ~FillColorSwap() { object_.FillColor = saved_; }
  FillColorSwap(const FillColorSwap&) = delete;
  FillColorSwap& operator=(const FillColorSwap&) = delete;

 private:
  TmsuxThemeObject& object_;
  TColor saved_;
};

}  // namespace

void TTeThemeMsStyles::PaintElement(TmsuxSection section, TCanvas& canvas, const TRect& rect,
                                    int frame) {
  if (frame <= 0) return;
  if (TmsuxThemeObject* object = Object(section)) object->Paint(canvas, rect, frame);
}

TColor TTeThemeMsStyles::ThemeSysColor(int index) const {
  return SysColors().GetSysColor(SysColor(index));
}

bool TTeThemeMsStyles::HasButton(uint8_t kind, const QString&) {
  static constexpr TmsuxSection kByKind[] = {kmsSpinUp, kmsSpinDown, kmsSpinUphorz, kmsSpinDownhorz};
  return Object(kind >= 4 && kind <= 7 ? kByKind[kind - 4] : kmsButtonPushbutton) != nullptr;
}

bool TTeThemeMsStyles::IsButtonTransparent(uint8_t, const QString&) {
  const TmsuxThemeObject* button = Object(kmsButtonPushbutton);
  return button && button->Transparent;
}

void TTeThemeMsStyles::PaintButton(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                                   const QString&) {
  // The horizontal spin pair is the other way round here from HasButton; both
  // elements always exist, so the two answers still agree.
  static constexpr TmsuxSection kByKind[] = {kmsSpinUp, kmsSpinDown, kmsSpinDownhorz, kmsSpinUphorz};
  static constexpr int kFrames[] = {1, 2, 3, 4, 5, 2, 5, 2, 3, 4, 3, 3};
  PaintElement(kind >= 4 && kind <= 7 ? kByKind[kind - 4] : kmsButtonPushbutton, canvas, info.Rect,
               FrameOf(kFrames, info.State));
}

bool TTeThemeMsStyles::HasCheckBox(uint8_t, const QString&) {
  return Object(kmsButtonCheckbox) != nullptr;
}

bool TTeThemeMsStyles::IsCheckBoxTransparent(uint8_t, const QString&) { return true; }

void TTeThemeMsStyles::PaintCheckBox(uint8_t kind, TCanvas& canvas, const TteCheckBoxInfo& info,
                                     const QString&) {
  static constexpr int kFrames[] = {5, 6, 7, 8, 5, 1, 2, 3, 4, 1, 9, 10, 11, 12, 9};
  if (kind > 1) return;
  PaintElement(kind == 0 ? kmsButtonCheckbox : kmsButtonRadiobutton, canvas, info.Rect,
               FrameOf(kFrames, info.State));
}

bool TTeThemeMsStyles::HasScrollBar(uint8_t, const QString&) {
  return Object(kmsScrollBarArrowBtn) != nullptr;
}

bool TTeThemeMsStyles::IsScrollBarTransparent(uint8_t, const QString&) { return false; }

void TTeThemeMsStyles::PaintScrollBar(uint8_t, TCanvas&, const TRect&, const QString&) {}

void TTeThemeMsStyles::PaintScrollBarPart(uint8_t kind, TCanvas& canvas,
                                          const TteScrollPartInfo& info, const QString&) {
  static constexpr int kFrames[] = {1, 3, 2, 4};
  const int frame = FrameOf(kFrames, info.State);
  if (kind != 0 || frame == 0) return;
  if (info.Part == 8 || info.Part == 9) {
    PaintScrollThumb(info.Part == 8, canvas, info.Rect, frame);
    return;
  }
  // The arrow strip holds four states for each of the four directions.
  const int offset = info.Part == 1 ? 4 : info.Part == 4 ? 8 : info.Part == 5 ? 12 : 0;
  PaintElement(kmsScrollBarArrowBtn, canvas, info.Rect, frame + offset);
}

void TTeThemeMsStyles::PaintScrollThumb(bool horizontal, TCanvas& canvas, const TRect& rect,
                                        int frame) {
  TmsuxThemeObject* thumb = Object(horizontal ? kmsScrollBarThumbBtnHorz : kmsScrollBarThumbBtnVert);
  TmsuxThemeObject* gripper = Object(horizontal ? kmsScrollBarGripperHorz : kmsScrollBarGripperVert);
  if (!thumb || !gripper) return;
  // The frame the thumb would show decides whether it fits.
  const TteBitmapLink* shown = thumb->FrameLink(rect, frame);
  const TRect f = shown ? shown->Rect() : TRect{};
  const int64_t room = horizontal ? int64_t(rect.Right) - rect.Left : int64_t(rect.Bottom) - rect.Top;
  const int64_t need = horizontal ? int64_t(f.Right) - f.Left : int64_t(f.Bottom) - f.Top;
  if (!rect.IsEmpty() && room < need) {
    // Too small for the thumb's corners: paint it at its own length and squeeze the
    // picture. Unpainted pixels are left see-through, so a keyed thumb shows the track.
    TteBitmap squeezed;
    squeezed.SetSize(horizontal ? int32_t(need) : rect.Width(), horizontal ? rect.Height() : int32_t(need));
    squeezed.Fill(0x00000000);
    thumb->Paint(squeezed.Canvas(), squeezed.BoundsRect(), frame);
    squeezed.AlphaBlend = true;
    squeezed.Draw(canvas, rect);
  } else {
    thumb->Paint(canvas, rect, frame);
  }
  const TteBitmapLink& grip = gripper->ImageFile;
  if (!grip.IsValid()) return;
  // A count below one shows the whole image, as the frame choice does.
  const int32_t n = std::max(gripper->ImageCount, 1);
  const int64_t gw = gripper->ImageLayoutHorizontal ? grip.Bitmap->Width() / n : grip.Bitmap->Width();
  const int64_t gh = gripper->ImageLayoutHorizontal ? grip.Bitmap->Height() : grip.Bitmap->Height() / n;
  if (gw < int64_t(rect.Right) - rect.Left && gh < int64_t(rect.Bottom) - rect.Top)
    gripper->Paint(canvas, rect, frame);
}

bool TTeThemeMsStyles::HasProgressBar(uint8_t, const QString&) {
  return Object(kmsProgress) != nullptr;
}

bool TTeThemeMsStyles::IsProgressBarTransparent(uint8_t, const QString&) { return false; }

void TTeThemeMsStyles::PaintProgressBar(uint8_t, TCanvas& canvas, const TteProgressInfo& info,
                                        const QString&) {
  static constexpr TmsuxSection kByPart[] = {kmsProgressBarVert, kmsProgressBar,
                                             kmsProgressChunkVert, kmsProgressChunk,
                                             kmsProgressChunkVert, kmsProgressChunk};
  if (info.Part < std::size(kByPart)) PaintElement(kByPart[info.Part], canvas, info.Rect, 1);
}

bool TTeThemeMsStyles::HasHeader(uint8_t, const QString&) {
  const TmsuxThemeObject* header = Object(kmsHeader);
  return header && header->IsDefined();
}

void TTeThemeMsStyles::PaintHeader(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintElement(kmsHeader, canvas, rect, 1);
}

void TTeThemeMsStyles::PaintHeaderSection(uint8_t, TCanvas& canvas,
                                          const TteHeaderSectionInfo& info, const QString&) {
  static constexpr int kFrames[] = {1, 3, 1, 2, 2, 3, 1};
  PaintElement(kmsHeaderHeaderitem, canvas, info.Rect, FrameOf(kFrames, info.State));
}

bool TTeThemeMsStyles::HasEdit(uint8_t, const QString&) {
  const TmsuxThemeObject* edit = Object(kmsEdit);
  return edit && edit->IsDefined();
}

TRect TTeThemeMsStyles::EditContentRect(uint8_t, const TteEditInfo& info, const QString&) {
  return Inset(info.Rect, 4);
}

void TTeThemeMsStyles::PaintEdit(uint8_t kind, TCanvas& canvas, const TteEditInfo& info,
                                 const QString&) {
  PaintEditState(kind >= 4 && kind <= 6, canvas, info.Rect, info.State);
}

void TTeThemeMsStyles::PaintEditState(bool combo, TCanvas& canvas, const TRect& rect, int state) {
  TmsuxThemeObject* element = Object(combo ? kmsCombobox : kmsEdit);
  if (!element) return;
  if (state >= 0 && state <= 3) {
    element->Paint(canvas, rect, 1);
    return;
  }
  // Disabled and read-only boxes keep the element's picture and borrow the fill
  // colour of the section describing that state.
  TmsuxSection fillFrom;
  if (combo) {
    if (state != 4) return;
    fillFrom = kmsComboboxDisabled;
  } else if (state == 4 || state == 5) {
    fillFrom = state == 4 ? kmsEditEdittextDisabled : kmsEditEdittextReadonly;
  } else {
    if (state == 6) FillRectColor(canvas, rect, ThemeSysColor(COLOR_HIGHLIGHT));
    return;
  }
  const TmsuxThemeObject* source = Object(fillFrom);
  if (!source) return;
  FillColorSwap swap(*element, source->FillColor);
  element->Paint(canvas, rect, 1);
}

bool TTeThemeMsStyles::IsDefined(TmsuxSection section) const {
  const TmsuxThemeObject* object = Object(section);
  return object && object->IsDefined();
}

void TTeThemeMsStyles::PaintScrollBarTrack(uint8_t, TCanvas& canvas, const TteScrollPartInfo& info,
                                           const QString&) {
  if (info.Part <= 1)
    PaintElement(info.Part == 0 ? kmsScrollBarUpperTrackVert : kmsScrollBarUpperTrackHorz, canvas,
                 info.Rect, 1);
}

bool TTeThemeMsStyles::HasTrackBar(uint8_t, const QString&) { return IsDefined(kmsTrackBar); }
bool TTeThemeMsStyles::IsTrackBarTransparent(uint8_t, const QString&) { return true; }
void TTeThemeMsStyles::PaintTrackBar(uint8_t, TCanvas&, const TRect&, const QString&) {}

void TTeThemeMsStyles::PaintTrackBarTrack(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                          const QString&) {
  if (info.Low <= 1)
    PaintElement(info.Low == 0 ? kmsTrackBarTrackVert : kmsTrackBarTrack, canvas, info.Rect, 1);
}

namespace {

// Thumbs by part: vertical, pointing right, left, plain, down, up.
constexpr TmsuxSection kThumbs[] = {kmsTrackBarThumbVert,   kmsTrackBarThumbRight,
                                    kmsTrackBarThumbLeft,   kmsTrackBarThumb,
                                    kmsTrackBarThumbBottom, kmsTrackBarThumbTop};

}  // namespace

void TTeThemeMsStyles::PaintTrackBarThumb(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                          const QString&) {
  static constexpr int kFrames[] = {1, 2, 3, 4, 5};
  if (info.Low < std::size(kThumbs))
    PaintElement(kThumbs[info.Low], canvas, info.Rect, FrameOf(kFrames, info.High));
}

TPoint TTeThemeMsStyles::TrackBarThumbSize(uint8_t, const TteStateWordInfo& info, const QString&) {
  if (info.Low >= std::size(kThumbs)) return {};
  TmsuxThemeObject* thumb = Object(kThumbs[info.Low]);
  if (!thumb || thumb->SizingType != kstTrueSize) return {};
  const TteBitmapLink* shown = thumb->FrameLink({0, 0, 10, 10}, 1);
  if (!shown) return {};
  const TRect f = shown->Rect();
  return {f.Width(), f.Height()};
}

bool TTeThemeMsStyles::HasStatusBar(uint8_t, const QString&) { return IsDefined(kmsStatus); }

TRect TTeThemeMsStyles::StatusBarContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2);
}

void TTeThemeMsStyles::PaintStatusBar(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintElement(kmsStatus, canvas, rect, 1);
}

void TTeThemeMsStyles::PaintStatusPanel(uint8_t, TCanvas& canvas, const TteStatusPanelInfo& info,
                                        const QString&) {
  static constexpr TmsuxSection kByKind[] = {kmsStatusPane, kmsStatusPane, kmsStatusGripperpane,
                                             kmsStatusGripper};
  if (info.PanelKind < std::size(kByKind)) PaintElement(kByKind[info.PanelKind], canvas, info.Rect, 1);
}

void TTeThemeMsStyles::PaintEditButton(uint8_t, TCanvas& canvas, const TteEditButtonInfo& info,
                                       const QString&) {
  static constexpr int kFrames[] = {1, 2, 3, 1, 4};
  PaintElement(kmsComboboxDropDownButton, canvas, info.Rect, FrameOf(kFrames, info.State));
}

bool TTeThemeMsStyles::HasTextArea(uint8_t, const QString&) { return IsDefined(kmsEdit); }
bool TTeThemeMsStyles::IsTextAreaTransparent(uint8_t, const QString&) { return false; }

TRect TTeThemeMsStyles::TextAreaContentRect(uint8_t, const TteRectByteInfo& info, const QString&) {
  return Inset(info.Rect, 2);
}

void TTeThemeMsStyles::PaintTextArea(uint8_t, TCanvas& canvas, const TteRectByteInfo& info,
                                     const QString&) {
  // A text area has no hot state of its own: its states are the edit box's from 1 on.
  PaintEditState(false, canvas, info.Rect, int(info.Value) + 1);
}

bool TTeThemeMsStyles::HasTextAreaPart(uint8_t, const QString&) { return true; }
bool TTeThemeMsStyles::IsTextAreaPartTransparent(uint8_t, const QString&) { return false; }

TRect TTeThemeMsStyles::TextAreaPartContentRect(uint8_t, const TteRectByteInfo& info,
                                                const QString&) {
  return Inset(info.Rect, 2);
}

void TTeThemeMsStyles::PaintTextAreaPart(uint8_t, TCanvas& canvas, const TteRectByteInfo& info,
                                         const QString&) {
  FillRectColor(canvas, info.Rect, ThemeSysColor(COLOR_BTNFACE));
  if (const TmsuxThemeObject* edit = Object(kmsEdit)) DrawRect(canvas, info.Rect, edit->BorderColor);
}

bool TTeThemeMsStyles::HasTab(uint8_t, const QString&) { return IsDefined(kmsTab); }

TRect TTeThemeMsStyles::TabContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 1);
}

void TTeThemeMsStyles::PaintTabPage(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintElement(kmsTabPane, canvas, rect, 1);
}

void TTeThemeMsStyles::PaintTab(uint8_t, TCanvas& canvas, const TteTabInfo& info, const QString&) {
  static constexpr int kFrames[] = {1, 2, 4, 5, 5, 4};
  PaintElement(info.TabKind == 1 ? kmsTabToptabitemleftedge : kmsTabToptabitem, canvas, info.Rect,
               FrameOf(kFrames, info.State));
}

void TTeThemeMsStyles::PaintTabScrollButton(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                            const QString&) {
  static constexpr int kFrames[] = {1, 2, 3, 4};
  const int frame = FrameOf(kFrames, info.High);
  if (frame == 0) return;
  // Low is the arrow's direction; the strip holds four states per direction.
  const int offset = info.Low == 2 ? 4 : info.Low == 1 ? 8 : info.Low == 4 ? 12 : 0;
  PaintElement(kmsScrollBarArrowBtn, canvas, info.Rect, frame + offset);
}

void TTeThemeMsStyles::PaintFace(TCanvas& canvas, const TRect& rect, bool sunken) {
  const TColor face = ThemeSysColor(COLOR_BTNFACE);
  FillRectColor(canvas, rect, face);
  const TColor light = LightenColor(face, 30), dark = LightenColor(face, -30);
  DrawFrame3D(canvas, rect, sunken ? dark : light, sunken ? light : dark);
}

bool TTeThemeMsStyles::HasPanel(uint8_t, const QString&) { return true; }

TRect TTeThemeMsStyles::PanelContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2);
}

void TTeThemeMsStyles::PaintPanel(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintFace(canvas, rect, false);
}

bool TTeThemeMsStyles::HasSplitter(uint8_t, const QString&) { return true; }

void TTeThemeMsStyles::PaintSplitter(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillRectColor(canvas, rect, ThemeSysColor(COLOR_BTNFACE));
}

bool TTeThemeMsStyles::HasGroupBox(uint8_t, const QString&) { return IsDefined(kmsButtonGroupbox); }

bool TTeThemeMsStyles::IsGroupBoxTransparent(uint8_t, const QString&) {
  const TmsuxThemeObject* box = Object(kmsButtonGroupbox);
  return box && box->Transparent;
}

void TTeThemeMsStyles::PaintGroupBox(uint8_t, TCanvas& canvas, const TteGroupBoxInfo& info,
                                     const QString&) {
  QImage saved;
  TRect under;
  if (!info.EraseRect.IsEmpty()) {
    const TPoint origin = canvas.Origin();
    under = IntersectRect(info.EraseRect, canvas.DeviceRect().Offset(origin.X, origin.Y));
    if (!under.IsEmpty()) saved = canvas.Grab(under);
  }
  PaintElement(kmsButtonGroupbox, canvas, info.Rect, 1);
  if (!saved.isNull()) canvas.StretchCopy(under, saved, {0, 0, saved.width(), saved.height()});
}

bool TTeThemeMsStyles::HasMenu(uint8_t, const QString&) { return true; }
bool TTeThemeMsStyles::IsMenuTransparent(uint8_t, const QString&) { return false; }

TRect TTeThemeMsStyles::MenuContentRect(uint8_t kind, const TRect& rect, const QString&) {
  return kind == 0 ? rect : Inset(rect, 2);
}

void TTeThemeMsStyles::PaintMenu(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString&) {
  if (kind > 1) return;
  FillRectColor(canvas, rect, MenuColor);
  if (kind == 1) DrawRect(canvas, rect, MenuHilightColor);
}

bool TTeThemeMsStyles::HasDock(uint8_t, const QString&) { return true; }

TRect TTeThemeMsStyles::DockContentRect(uint8_t, const TRect& rect, const QString&) { return rect; }

void TTeThemeMsStyles::PaintDock(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintElement(kmsRebar, canvas, rect, 1);
}

bool TTeThemeMsStyles::HasTool(uint8_t, const QString&) { return IsDefined(kmsRebar); }

void TTeThemeMsStyles::PaintTool(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString&) {
  if (kind == 2) {
    PaintMenu(1, canvas, rect, QStringLiteral("default"));
    return;
  }
  const TColor face = ThemeSysColor(COLOR_BTNFACE);
  DrawFrame3D(canvas, rect, LightenColor(face, 30), LightenColor(face, -30));
}

void TTeThemeMsStyles::PaintToolButton(uint8_t, TCanvas& canvas, const TteToolButtonInfo& info,
                                       const QString&) {
  static constexpr int kFrames[] = {1, 2, 3, 4, 5, 5, 6, 3};
  TmsuxSection section;
  switch (info.ButtonKind) {
    case 0: case 6: case 7: case 8: section = kmsToolbarButton; break;
    case 1: section = kmsToolbarSeparator; break;
    case 3: section = kmsToolbarSplitbutton; break;
    case 4: section = kmsToolbarSplitbuttondropdown; break;
    case 5: section = kmsToolbarDropdownbutton; break;
    // Band grippers have one look whatever the state.
    case 13: PaintElement(kmsRebarGripper, canvas, info.Rect, 1); return;
    case 14: PaintElement(kmsRebarGrippervert, canvas, info.Rect, 1); return;
    default: return;
  }
  PaintElement(section, canvas, info.Rect, FrameOf(kFrames, info.State));
}

bool TTeThemeMsStyles::HasScrollBox(uint8_t, const QString&) { return true; }

TRect TTeThemeMsStyles::ScrollBoxContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2);
}

void TTeThemeMsStyles::PaintScrollBox(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintFace(canvas, rect, true);
}

bool TTeThemeMsStyles::HasCollapsePanel(uint8_t, const QString&) { return IsDefined(kmsExplorerbar); }

bool TTeThemeMsStyles::IsCollapsePanelTransparent(uint8_t, const QString&) {
  const TmsuxThemeObject* head = Object(kmsExplorerbarNormalGroupHead);
  return head && head->Transparent;
}

TRect TTeThemeMsStyles::CollapsePanelContentRect(uint8_t, const TRect& rect, const QString&) {
  return rect;
}

void TTeThemeMsStyles::PaintCollapsePanel(uint8_t, TCanvas& canvas, const TRect& rect,
                                          const QString&) {
  PaintElement(kmsExplorerbarSpecialGroupBackground, canvas, rect, 1);
}

void TTeThemeMsStyles::PaintCollapsePanelCaption(uint8_t, TCanvas& canvas,
                                                 const TteRectByteInfo& info, const QString&) {
  // Grown by one on every side so the head covers the panel's border line too.
  PaintElement(kmsExplorerbarNormalGroupHead, canvas, Inset(info.Rect, -1), 1);
}

void TTeThemeMsStyles::PaintCollapsePanelButton(uint8_t, TCanvas& canvas,
                                                const TteStateWordInfo& info, const QString&) {
  static constexpr int kFrames[] = {1, 2, 3, 1};
  TmsuxSection section;
  switch (info.Low) {
    case 1: section = kmsExplorerbarNormalGroupCollapse; break;
    case 2: section = kmsExplorerbarNormalGroupExpand; break;
    case 3:
      section = IsDefined(kmsExplorerbarHeaderclose) ? kmsExplorerbarHeaderclose : kmsWindowCloseButton;
      break;
    default: return;
  }
  PaintElement(section, canvas, info.Rect, FrameOf(kFrames, info.High));
}

void TTeThemeMsStyles::PaintItemFill(TCanvas& canvas, const TRect& rect, uint8_t state) {
  if (state > 4) return;
  FillRectColor(canvas, rect, ThemeSysColor(state == 2 || state == 3 ? COLOR_HIGHLIGHT : COLOR_WINDOW));
}

bool TTeThemeMsStyles::HasList(uint8_t, const QString&) { return IsDefined(kmsEdit); }

void TTeThemeMsStyles::PaintList(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintElement(kmsListview, canvas, rect, 1);
}

void TTeThemeMsStyles::PaintListItem(uint8_t, TCanvas& canvas, const TteListItemInfo& info,
                                     const QString&) {
  PaintItemFill(canvas, info.Rect, info.State);
}

bool TTeThemeMsStyles::HasTree(uint8_t, const QString&) { return IsDefined(kmsEdit); }

void TTeThemeMsStyles::PaintTree(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintElement(kmsListview, canvas, rect, 1);
}

void TTeThemeMsStyles::PaintTreeItem(uint8_t, TCanvas& canvas, const TteListItemInfo& info,
                                     const QString&) {
  PaintItemFill(canvas, info.Rect, info.State);
}

bool TTeThemeMsStyles::HasGrid(uint8_t, const QString&) { return IsDefined(kmsEdit); }

void TTeThemeMsStyles::PaintGrid(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  PaintElement(kmsListview, canvas, rect, 1);
}

void TTeThemeMsStyles::PaintGridCell(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                     const QString&) {
  if (info.High == 1) {
    PaintFace(canvas, info.Rect, false);
    return;
  }
  static constexpr int kSys[] = {COLOR_WINDOW, COLOR_BTNFACE, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT,
                                 COLOR_WINDOW};
  if (info.Low < std::size(kSys)) FillRectColor(canvas, info.Rect, ThemeSysColor(kSys[info.Low]));
}

void TTeThemeMsStyles::PaintMenuItem(uint8_t, TCanvas& canvas, const TteMenuItemInfo& info,
                                     const QString&) {
  const TRect& r = info.Rect;
  const bool lit = info.State == 1 || info.State == 2;
  switch (info.ItemKind) {
    case kmikItem:
      FillRectColor(canvas, r, lit ? MenuHilightColor : MenuColor);
      return;
    case kmikSeparator: {
      FillRectColor(canvas, r, MenuColor);
      // The line is the middle row of an odd height; an even height has no middle row.
      const int32_t half = int32_t((int64_t(r.Bottom) - r.Top) / 2);
      const TRect line{r.Left + 5, r.Top + half, r.Right - 5, r.Bottom - half};
      if (!line.IsEmpty()) FillRectColor(canvas, line, MenuHilightColor);
      return;
    }
    case kmikScrollUp:
    case kmikScrollDown:
      FillRectColor(canvas, r, MenuColor);
      if (lit) DrawRoundRect(canvas, r, 3, MenuHilightColor);
      DrawMaskedFrameControl(canvas, CenteredBox(r, 14, 14), DFC_SCROLL,
                             info.ItemKind == kmikScrollUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN,
                             RGB(128, 128, 128));
      return;
    case kmikMinimize:
    case kmikRestore:
    case kmikClose: {
      static constexpr int kFrames[] = {1, 2, 2, 3};
      const TmsuxSection section = info.ItemKind == kmikMinimize  ? kmsWindowMDIMinButton
                                   : info.ItemKind == kmikRestore ? kmsWindowMDIRestoreButton
                                                                  : kmsWindowMDICloseButton;
      PaintElement(section, canvas, r, FrameOf(kFrames, info.State));
      return;
    }
    default:
      return;
  }
}

void TTeThemeMsStyles::PaintMenuItemGlyph(uint8_t, TCanvas& canvas, const TteMenuItemInfo& info,
                                          const TteItemGlyphInfo& glyph, const QString&) {
  if (PaintMenuMarkGlyph(canvas, glyph.Rect, glyph.GlyphKind)) return;
  switch (glyph.GlyphKind) {
    case kgkImage:
    case kgkIcon: {
      if (!glyph.Bitmap || glyph.Bitmap->Empty()) return;
      const TteBitmap& bitmap = *glyph.Bitmap;
      const TRect box = CenteredBox(glyph.Rect, bitmap.Width(), bitmap.Height());
      if (glyph.GlyphKind == kgkImage && (info.State == 1 || info.State == 2)) {
        // Lifted off a grey shadow. The picture is drawn opaque from a copy: the caller's
        // bitmap is only lent to us.
        TteBitmap opaque;
        opaque.Assign(bitmap);
        opaque.SetAlpha(255);
        DrawSilhouette(canvas, box.Left + 1, box.Top + 1, RGB(128, 128, 128), opaque);
        opaque.Draw(canvas, box.Left - 1, box.Top - 1);
        return;
      }
      bitmap.Draw(canvas, box.Left, box.Top);
      return;
    }
    default:
      return;
  }
}

void TTeThemeMsStyles::PaintTabText(uint8_t, TCanvas& canvas, const TteTabInfo& info,
                                    const TteTextInfo& text, const QString&) {
  TteTextInfo turned = text;
  if (info.TabKind >= 3 && info.TabKind <= 5) turned.Orientation = ktoVerticalDown;
  else if (info.TabKind >= 6 && info.TabKind <= 8) turned.Orientation = ktoVerticalUp;
  PaintText(canvas, turned);
}

void TTeThemeMsStyles::PaintListItemCheck(uint8_t, TCanvas& canvas, const TteListItemInfo&,
                                          const TteListCheckInfo& check, const QString&) {
  switch (check.CheckKind) {
    case klckChecked: PaintElement(kmsButtonCheckbox, canvas, check.Rect, 5); return;
    case klckUnchecked: PaintElement(kmsButtonCheckbox, canvas, check.Rect, 1); return;
    case klckMixed: PaintElement(kmsButtonCheckbox, canvas, check.Rect, 9); return;
    case klckBitmap:
      if (check.Bitmap && !check.Bitmap->Empty()) {
        const TRect box = CenteredBox(check.Rect, check.Bitmap->Width(), check.Bitmap->Height());
        check.Bitmap->Draw(canvas, box.Left, box.Top);
      }
      return;
    default:
      return;
  }
}
