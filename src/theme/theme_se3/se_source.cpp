// Skin-file filters and the skin source: the byte layouts of the four variants.
#include "se_source.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#include "app_error.h"
#include "te_compress.h"
#include "theme_manager.h"

namespace {

const QByteArray kMarker("OVLZ");
// Object words: the root count OR these bits says which tables follow.
constexpr uint32_t kAllTables = 0xFF0000;
constexpr uint32_t kColorsAndFonts = 0x0F0000;
// Image words of the binary layout.
constexpr uint32_t kImagesWithFlags = 0xFFF000;
constexpr uint32_t kPlainImages = 0x0F0000;
// More images than any skin has; each costs a record, so this only bounds bookkeeping.
constexpr uint32_t kMaxImages = 1 << 16;
constexpr uint32_t kMaxRoots = 0xFFFF;

QByteArray Latin1(const QString& s) { return s.toLatin1(); }
QString FromLatin1(const QByteArray& b) { return QString::fromLatin1(b); }

uint32_t ReadWord(QIODevice& stream) { return uint32_t(ReadCheckedInt32(stream)); }

void ReadMeta(QIODevice& stream, TSeSkinSource& s) {
  for (QString* field : {&s.SkinName, &s.SkinVersion, &s.Author, &s.AuthorEMail, &s.AuthorURL})
    *field = FromLatin1(ReadStreamString(stream));
}

void WriteMeta(QIODevice& stream, const TSeSkinSource& s) {
  for (const QString* field : {&s.SkinName, &s.SkinVersion, &s.Author, &s.AuthorEMail, &s.AuthorURL})
    WriteStreamString(stream, Latin1(*field));
}

// Near-magenta and the dark key both become the colour key; then the alpha flag.
void KeyImage(TteBitmap& image) {
  image.CheckingTransparent(0x00FF00FF);
  image.CheckingTransparent(0x007F007F);
  image.CheckingAlpha();
}

std::unique_ptr<TteBitmap> ReadImageRecord(QIODevice& stream) {
  auto image = std::make_unique<TteBitmap>();
  image->LoadFromStream(stream);
  return image;
}

// The oldest image entries: a name, then a counted platform bitmap file.
std::unique_ptr<TteBitmap> ReadLegacyImage(QIODevice& stream) {
  const QByteArray name = ReadStreamString(stream);
  const QByteArray file = ReadCheckedBytes(stream, ReadCheckedInt32(stream));
  constexpr qsizetype kFileHeaderSize = 14;
  auto image = std::make_unique<TteBitmap>();
  if (file.size() < kFileHeaderSize || !file.startsWith("BM") ||
      !image->LoadFromDib(QByteArrayView(file).sliced(kFileHeaderSize)))
    throw EAppError(QStringLiteral("Bitmap image is not valid"));
  image->CheckingTransparent(0x007F007F);
  image->CheckingAlpha();
  image->Name = FromLatin1(name);
  return image;
}

// The object word: the root count, and which tables follow after the roots.
struct TObjectWord {
  uint32_t Count;
  bool AllTables;
  bool ColorsAndFonts;
};

TObjectWord DecodeObjectWord(uint32_t w) {
  if ((w & kAllTables) == kAllTables) return {w & 0xFF00FFFF, true, false};
  if ((w & kColorsAndFonts) == kColorsAndFonts) return {w & ~kColorsAndFonts, false, true};
  return {w, false, false};
}

void ReadTables(QIODevice& stream, TSeSkinSource& s, const TObjectWord& word) {
  if (word.AllTables) {
    s.Colors.ReadFromStream(stream);
    s.SysColors.ReadFromStream(stream);
    s.Fonts.ReadFromStream(stream);
  } else if (word.ColorsAndFonts) {
    s.Colors.ReadFromStream(stream);
    s.Fonts.ReadFromStream(stream);
  } else {
    s.DeriveTables();
  }
}

void WriteTables(QIODevice& stream, const TSeSkinSource& s) {
  s.Colors.WriteToStream(stream);
  s.SysColors.WriteToStream(stream);
  s.Fonts.WriteToStream(stream);
}

uint32_t RootWord(const TSeSkinSource& s) {
  if (s.Objects.size() > kMaxRoots) throw EAppError(QStringLiteral("Too many root objects for a skin file"));
  return uint32_t(s.Objects.size()) | kAllTables;
}

void CheckCount(uint32_t count, uint32_t limit) {
  if (count > limit) StreamReadError();
}

template <typename Filter>
const TSeSkinFilterClass& FilterClass(const char* name) {
  static const TSeSkinFilterClass cls{name, [] { return std::unique_ptr<TSeSkinFilter>(new Filter); }};
  return cls;
}

}  // namespace

// ---- filters

void TSeSkinFilter::LoadFromStream(QIODevice& stream) {
  const qint64 start = stream.pos();
  if (ReadCheckedBytes(stream, 5) != Signature() && !stream.seek(start)) StreamReadError();
  ReadData(stream);
}

void TSeSkinFilter::SaveToStream(QIODevice& stream) {
  const QByteArray signature = Signature();
  WriteCheckedBytes(stream, signature.constData(), signature.size());
  WriteData(stream);
}

void TSeSkinFilterCompressed::LoadFromStream(QIODevice& stream) {
  const qint64 start = stream.pos();
  if (ReadCheckedBytes(stream, 5) != Signature() && !stream.seek(start)) StreamReadError();
  ReadCheckedBytes(stream, kMarker.size());  // the marker is not checked
  TDecompressionStream body(stream);
  body.SetMaxSize(kMaxBodySize);
  if (!body.open(QIODevice::ReadOnly)) StreamReadError();
  ReadData(body);
}

void TSeSkinFilterCompressed::SaveToStream(QIODevice& stream) {
  const QByteArray signature = Signature();
  WriteCheckedBytes(stream, signature.constData(), signature.size());
  WriteCheckedBytes(stream, kMarker.constData(), kMarker.size());
  TCompressionStream body(Level() == 1 ? kclFastest : kclDefault, stream);
  if (!body.open(QIODevice::WriteOnly)) throw EAppError(QStringLiteral("Stream write error"));
  WriteData(body);
  body.Finish();
}

void TSeSkinFilter::ReadData(QIODevice& stream) {
  TSeSkinSource& s = *source_;
  ReadMeta(stream, s);
  const uint32_t images = ReadWord(stream);
  CheckCount(images, kMaxImages);
  for (uint32_t i = 0; i < images; ++i) {
    std::unique_ptr<TteBitmap> image = ReadImageRecord(stream);
    KeyImage(*image);
    s.Bitmaps.Add(std::move(image));
  }
  const TObjectWord word = DecodeObjectWord(ReadWord(stream));
  CheckCount(word.Count, TSeReadLimits::kMaxObjects);
  TSeReadLimits limits;
  for (uint32_t i = 0; i < word.Count; ++i) {
    const QByteArray className = ReadStreamString(stream);
    const QByteArray text = ReadStreamString(stream);
    s.AddRoot(ReadSkinObject(className, text, false, nullptr, limits));
  }
  ReadTables(stream, s, word);
}

void TSeSkinFilter::WriteData(QIODevice& stream) {
  const TSeSkinSource& s = *source_;
  WriteMeta(stream, s);
  WriteInt32LE(stream, s.Bitmaps.Count());
  for (int i = 0; i < s.Bitmaps.Count(); ++i) s.Bitmaps.Items(i)->SaveToStream(stream);
  WriteInt32LE(stream, int32_t(RootWord(s)));
  for (const auto& root : s.Objects) {
    WriteStreamString(stream, root->ClassName());
    WriteStreamString(stream, WriteComponentText(root->ToComponent()));
  }
  WriteTables(stream, s);
}

void TSeSkinFilterMaxCompression::ReadData(QIODevice& stream) {
  TSeSkinSource& s = *source_;
  ReadMeta(stream, s);
  const uint32_t v = ReadWord(stream);
  if ((v & kImagesWithFlags) == kImagesWithFlags) {
    // The word keeps bits 24-31 of a count no writer sets: such a word is damage.
    const uint32_t count = v & 0xFF000FFF;
    CheckCount(count, kMaxImages);
    for (uint32_t i = 0; i < count; ++i) {
      std::unique_ptr<TteBitmap> image = ReadImageRecord(stream);
      image->Transparent = ReadCheckedByte(stream) != 0;
      image->AlphaBlend = ReadCheckedByte(stream) != 0;
      s.Bitmaps.Add(std::move(image));
    }
  } else if ((v & kPlainImages) == kPlainImages) {
    const uint32_t count = v & ~kPlainImages;
    CheckCount(count, ::kMaxImages);
    for (uint32_t i = 0; i < count; ++i) {
      std::unique_ptr<TteBitmap> image = ReadImageRecord(stream);
      KeyImage(*image);
      s.Bitmaps.Add(std::move(image));
    }
  } else {
    CheckCount(v, ::kMaxImages);
    for (uint32_t i = 0; i < v; ++i) s.Bitmaps.Add(ReadLegacyImage(stream));
  }
  const TObjectWord word = DecodeObjectWord(ReadWord(stream));
  CheckCount(word.Count, TSeReadLimits::kMaxObjects);
  TSeReadLimits limits;
  for (uint32_t i = 0; i < word.Count; ++i) {
    const QByteArray className = ReadStreamString(stream);
    const QByteArray form = ReadCheckedBytes(stream, ReadCheckedInt32(stream));
    s.AddRoot(ReadSkinObject(className, form, true, nullptr, limits));
  }
  ReadTables(stream, s, word);
}

void TSeSkinFilterMaxCompression::WriteData(QIODevice& stream) {
  const TSeSkinSource& s = *source_;
  // A larger count would run into the flag bits and read back as another count.
  if (s.Bitmaps.Count() > kMaxImages)
    throw EAppError(QStringLiteral("A maximum compressed skin holds at most %1 images").arg(kMaxImages));
  WriteMeta(stream, s);
  WriteInt32LE(stream, int32_t(uint32_t(s.Bitmaps.Count()) | kImagesWithFlags));
  for (int i = 0; i < s.Bitmaps.Count(); ++i) {
    const TteBitmap& image = *s.Bitmaps.Items(i);
    image.SaveToStream(stream);
    const char flags[2] = {char(image.Transparent), char(image.AlphaBlend)};
    WriteCheckedBytes(stream, flags, 2);
  }
  WriteInt32LE(stream, int32_t(RootWord(s)));
  for (const auto& root : s.Objects) {
    WriteStreamString(stream, root->ClassName());
    const QByteArray form = WriteComponentBinary(root->ToComponent());
    WriteInt32LE(stream, int32_t(form.size()));
    WriteCheckedBytes(stream, form.constData(), form.size());
  }
  WriteTables(stream, s);
}

const TSeSkinFilterClass& TSeSkinFilterUncompressed::Class() {
  return FilterClass<TSeSkinFilterUncompressed>("TSeSkinFilterUncompressed");
}
const TSeSkinFilterClass& TSeSkinFilterCompressed::Class() {
  return FilterClass<TSeSkinFilterCompressed>("TSeSkinFilterCompressed");
}
const TSeSkinFilterClass& TSeSkinFilterUltraCompressed::Class() {
  return FilterClass<TSeSkinFilterUltraCompressed>("TSeSkinFilterUltraCompressed");
}
const TSeSkinFilterClass& TSeSkinFilterMaxCompression::Class() {
  return FilterClass<TSeSkinFilterMaxCompression>("TSeSkinFilterMaxCompression");
}

// ---- registry

namespace {
std::vector<const TSeSkinFilterClass*>& Registry() {
  static std::vector<const TSeSkinFilterClass*> filters{
      &TSeSkinFilterUncompressed::Class(), &TSeSkinFilterCompressed::Class(),
      &TSeSkinFilterUltraCompressed::Class(), &TSeSkinFilterMaxCompression::Class()};
  return filters;
}
}  // namespace

void RegisterSkinFilter(const TSeSkinFilterClass& filterClass) { Registry().push_back(&filterClass); }

void UnregisterSkinFilter(const TSeSkinFilterClass& filterClass) {
  auto& r = Registry();
  r.erase(std::remove(r.begin(), r.end(), &filterClass), r.end());
}

const std::vector<const TSeSkinFilterClass*>& SkinFilters() { return Registry(); }

const TSeSkinFilterClass* FindSkinFilterByFile(const QString& fileName) {
  const QString ext = QFileInfo(fileName).suffix();
  if (ext.isEmpty()) return nullptr;
  for (const TSeSkinFilterClass* cls : Registry())
    if (cls->Create()->GetExtension().compare(ext, Qt::CaseInsensitive) == 0) return cls;
  return nullptr;
}

const TSeSkinFilterClass* FindSkinFilterByStream(QIODevice& stream) {
  const QByteArray head = stream.peek(5);
  if (head.size() < 5) return nullptr;
  for (const TSeSkinFilterClass* cls : Registry())
    if (cls->Create()->Signature() == head) return cls;
  return nullptr;
}

QString SkinFilterString() {
  QStringList items;
  for (const TSeSkinFilterClass* cls : Registry()) {
    const std::unique_ptr<TSeSkinFilter> f = cls->Create();
    items << QStringLiteral("%1 (*.%2)|*.%2").arg(f->GetDescription(), f->GetExtension());
  }
  return items.join(QLatin1Char('|'));
}

// ---- TSeSkinSource

TSeSkinSource::TSeSkinSource() = default;
TSeSkinSource::~TSeSkinSource() = default;

void TSeSkinSource::Clear() {
  Objects.clear();
  Bitmaps.Clear();
}

void TSeSkinSource::Assign(const TSeSkinSource& source) {
  if (&source == this) return;
  Clear();
  SkinName = source.SkinName;
  SkinVersion = source.SkinVersion;
  Author = source.Author;
  AuthorEMail = source.AuthorEMail;
  AuthorURL = source.AuthorURL;
  for (int i = 0; i < source.Bitmaps.Count(); ++i) {
    auto copy = std::make_unique<TteBitmap>();
    copy->Assign(*source.Bitmaps.Items(i));
    Bitmaps.Add(std::move(copy));
  }
  // Clones are bound to this source's images, never to the other's. The images are
  // copies, so the links' transparency flags, copied with them, still hold.
  for (const auto& root : source.Objects) Objects.push_back(root->Clone(nullptr));
  BindSkinTrees(Objects, &Bitmaps, false);
  Fonts.Assign(source.Fonts);
  Colors.Assign(source.Colors);
  SysColors.Assign(source.SysColors);
}

void TSeSkinSource::AddRoot(std::unique_ptr<TSeSkinObject> root) {
  if (root) Objects.push_back(std::move(root));  // null: a record of an unknown class
}

void TSeSkinSource::TakeContent(TSeSkinSource& other) {
  SkinName = other.SkinName;
  SkinVersion = other.SkinVersion;
  Author = other.Author;
  AuthorEMail = other.AuthorEMail;
  AuthorURL = other.AuthorURL;
  Objects = std::move(other.Objects);
  Bitmaps = std::move(other.Bitmaps);
  // The images moved with their list object's contents; bind the trees to ours.
  BindSkinTrees(Objects, &Bitmaps, false);
  Colors.Assign(other.Colors);
  SysColors.Assign(other.SysColors);
  Fonts.Assign(other.Fonts);
}

void TSeSkinSource::Read(QIODevice& stream, const TSeSkinFilterClass& filterClass) {
  TSeSkinSource fresh;
  std::unique_ptr<TSeSkinFilter> filter = filterClass.Create();
  filter->SetSource(&fresh);
  filter->LoadFromStream(stream);
  // Bound and prepared once every image and object is in.
  BindSkinTrees(fresh.Objects, &fresh.Bitmaps, true);
  fresh.ClearClientMasks();
  TakeContent(fresh);
}

void TSeSkinSource::LoadFromStream(QIODevice& stream, const TSeSkinFilterClass& fallback) {
  const TSeSkinFilterClass* cls = FindSkinFilterByStream(stream);
  Read(stream, cls ? *cls : fallback);
}

void TSeSkinSource::SaveToStream(QIODevice& stream, const TSeSkinFilterClass& filterClass) {
  std::unique_ptr<TSeSkinFilter> filter = filterClass.Create();
  filter->SetSource(this);
  filter->SaveToStream(stream);
}

bool TSeSkinSource::LoadFromFile(const QString& fileName) {
  if (fileName.isEmpty()) return false;
  QString path = fileName;
  if (!QFileInfo::exists(path) && !(path.size() > 1 && path[1] == QLatin1Char(':')) &&
      QFileInfo(path).isRelative() && !ThemeManager().ProgramDir.isEmpty())
    path = ThemeManager().ProgramDir + QLatin1Char('/') + fileName;
  const TSeSkinFilterClass* cls = FindSkinFilterByFile(path);
  if (!cls) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  Read(file, *cls);
  return true;
}

void TSeSkinSource::SaveToFile(const QString& fileName, const TSeSkinFilterClass& fallback) {
  const TSeSkinFilterClass* cls = FindSkinFilterByFile(fileName);
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    throw EAppError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
  SaveToStream(file, cls ? *cls : fallback);
  if (!file.commit())
    throw EAppError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, file.errorString()));
}

TSeSkinObject* TSeSkinSource::FindObject(const QString& name) const {
  const qsizetype slash = name.indexOf(QLatin1Char('\\'));
  const QString head = slash >= 0 ? name.left(slash) : name;
  for (const auto& root : Objects) {
    if (root->Name.compare(name, Qt::CaseInsensitive) == 0) return root.get();
    if (slash >= 0 && root->Name.compare(head, Qt::CaseInsensitive) == 0)
      return root->FindChild(name.mid(slash + 1));
  }
  return nullptr;
}

TSeSkinObject* TSeSkinSource::ObjectAt(int index) const {
  return index >= 0 && index < ObjectCount() ? Objects[size_t(index)].get() : nullptr;
}

void TSeSkinSource::SetHue(int delta) {
  for (int i = 0; i < Bitmaps.Count(); ++i) Bitmaps.Items(i)->ChangeHue(delta);
  for (auto& root : Objects) root->ChangeHue(delta);
}

void TSeSkinSource::SetBrightness(int delta) {
  for (int i = 0; i < Bitmaps.Count(); ++i) Bitmaps.Items(i)->ChangeBrightness(delta);
  for (auto& root : Objects) root->ChangeBrightness(delta);
}

void TSeSkinSource::ClearClientMasks() {
  for (auto& root : Objects) {
    for (const auto& child : root->Children()) {
      if (TSeSkinObject* client = child->FindByKind(skClient)) {
        client->Masked = false;
        break;
      }
    }
  }
}

// ---- tables of old skins

void TSeSkinSource::DeriveTables() {
  auto color = [&](const char* name, std::initializer_list<int> entries, TSeKind part = skNone) {
    TSeSkinObject* o = FindObject(QLatin1String(name));
    if (o && part != skNone) o = o->FindByKind(part);
    if (!o) return;
    for (int e : entries) Colors.SetColor(e, o->Color);
  };
  color("form", {kcWindow});
  color("form", {kcCaptionNormal, kcCaptionInactive}, skTitle);
  color("form", {kcWindowBorder}, skLeft);
  color("listbox", {kcList, kcTree});
  color("grid", {kcGrid});
  Colors.SetColor(kcBorder, 0);
  color("container", {kcPanelNormal, kcPanelDisabled});
  color("button", {kcButtonNormal, kcButtonHot, kcButtonPressed, kcButtonFocused, kcButtonDisabled});
  color("edit", {kcEditNormal, kcEditHot, kcEditFocused, kcEditDisabled});
  Colors.SetColor(kcEditSelection, SysColor(13));
  if (TSeSkinObject* hint = FindObject(QStringLiteral("hint")))
    Colors.SetColor(kcHint, hint->Color);
  else
    Colors.SetColor(kcHint, SysColor(24));

  struct TFontSpec {
    int Index, State;
  };
  auto fonts = [&](TSeSkinObject* o, std::initializer_list<TFontSpec> specs) {
    if (!o) return;
    for (const TFontSpec& s : specs) Fonts.GetFont(s.Index) = o->FontForState(uint8_t(s.State)).ToFont();
  };
  auto child = [&](const char* root, const char* name) -> TSeSkinObject* {
    TSeSkinObject* o = FindObject(QLatin1String(root));
    return o ? o->FindChild(QLatin1String(name)) : nullptr;
  };
  TSeSkinObject* form = FindObject(QStringLiteral("form"));
  fonts(form ? form->FindByKind(skTitle) : nullptr,
        {{kfCaptionTextNormal, 7}, {kfCaptionTextInactive, 0}});
  fonts(child("button", "text"), {{kfButtonTextNormal, 0}, {kfButtonTextPressed, 6},
                                  {kfButtonTextHot, 5}, {kfButtonTextFocused, 7},
                                  {kfButtonTextDisabled, 8}});
  fonts(child("checkbox", "text"), {{kfCheckBoxTextNormal, 0}, {kfCheckBoxTextPressed, 6},
                                    {kfCheckBoxTextHot, 5}, {kfCheckBoxTextFocused, 7},
                                    {kfCheckBoxTextDisabled, 8}});
  fonts(child("radiobutton", "text"),
        {{kfRadioButtonTextNormal, 0}, {kfRadioButtonTextPressed, 6}, {kfRadioButtonTextHot, 5},
         {kfRadioButtonTextFocused, 7}, {kfRadioButtonTextDisabled, 8}});
  fonts(child("groupbox", "caption"), {{kfGroupBoxTextNormal, 0}, {kfGroupBoxTextDisabled, 8}});
  for (int i : {kfWindowTextNormal, kfWindowTextDisabled}) {
    TFont& f = Fonts.GetFont(i);
    f = DefaultThemeFont();
    f.Color = clBlack;
  }
  if (TSeSkinObject* text = child("edit", "text")) {
    fonts(text, {{kfEditBoxTextNormal, 0}, {kfEditBoxTextFocused, 7}, {kfEditBoxTextHot, 5},
                 {kfEditBoxTextSelected, 0}, {kfEditBoxTextDisabled, 8}});
    Fonts.GetFont(kfEditBoxTextSelected).Color = clWhite;
  }
  fonts(child("listbox", "item"), {{kfListItemTextNormal, 0}, {kfListItemTextHot, 0},
                                   {kfListItemTextSelected, 7}, {kfListItemTextFocused, 0},
                                   {kfListItemTextDisabled, 8}});
  fonts(child("menubar", "item"), {{kfMenuItemTextNormal, 0}, {kfMenuItemTextHot, 5},
                                   {kfMenuItemTextSelected, 7}, {kfMenuItemTextDisabled, 8}});
  fonts(child("menubar", "toolbaritem"), {{kfToolItemTextNormal, 0}, {kfToolItemTextHot, 5},
                                          {kfToolItemTextSelected, 7}, {kfToolItemTextDisabled, 8}});
  if (TSeSkinObject* item = child("popupmenu", "item")) {
    fonts(item, {{kfPopupMenuItemTextNormal, 0}, {kfPopupMenuItemTextHot, 5},
                 {kfPopupMenuItemTextSelected, 7}, {kfPopupMenuItemTextDisabled, 8}});
    Fonts.GetFont(kfPopupMenuItemTextDisabled).Color = 0x808080;
  }
  Fonts.KeepUnshiftedColors();
}
