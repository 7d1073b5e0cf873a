// Element objects of packed visual-style themes: reading a section's keys, binding
// and preparing the images, choosing a frame or an image, and painting the element.
#include "theme_msuxobjects.h"

#include <QSet>
#include <algorithm>
#include <limits>

namespace {

const char* const kSectionNames[kMsuxSectionCount] = {
    "Window",
    "Window.Caption",
    "Window.FrameLeft",
    "Window.FrameRight",
    "Window.FrameBottom",
    "Window.CloseButton",
    "Window.HelpButton",
    "Window.MaxButton",
    "Window.MinButton",
    "Window.RestoreButton",
    "Window.SmallCaption",
    "Window.SmallFrameLeft",
    "Window.SmallFrameRight",
    "Window.SmallFrameBottom",
    "Window.SmallCloseButton",
    "Window.Caption(Active)",
    "Window.Caption(Inactive)",
    "Window.MDIMinButton",
    "Window.MDICloseButton",
    "Window.MDIRestoreButton",
    "Button.Pushbutton",
    "Button.Pushbutton(Disabled)",
    "Spin.Up",
    "Spin.Down",
    "Spin.Uphorz",
    "Spin.Downhorz",
    "button.checkbox",
    "button.radiobutton",
    "ScrollBar.ArrowBtn",
    "ScrollBar.ThumbBtnHorz",
    "ScrollBar.ThumbBtnVert",
    "ScrollBar.GripperHorz",
    "ScrollBar.GripperVert",
    "ScrollBar.UpperTrackHorz",
    "ScrollBar.UpperTrackVert",
    "Progress",
    "Progress.Bar",
    "Progress.BarVert",
    "Progress.Chunk",
    "Progress.ChunkVert",
    "TrackBar",
    "TrackBar.Thumb",
    "TrackBar.ThumbTop",
    "TrackBar.ThumbBottom",
    "TrackBar.ThumbVert",
    "TrackBar.ThumbLeft",
    "TrackBar.ThumbRight",
    "TrackBar.Track",
    "TrackBar.TrackVert",
    "button.groupbox",
    "edit",
    "edit.edittext(disabled)",
    "edit.edittext(readonly)",
    "combobox",
    "combobox(disabled)",
    "Combobox.DropDownButton",
    "header",
    "header.headeritem",
    "status",
    "status.pane",
    "status.gripperpane",
    "status.gripper",
    "rebar",
    "rebar.gripper",
    "rebar.grippervert",
    "toolbar.button",
    "toolbar.separator",
    "toolbar.dropdownbutton",
    "toolbar.splitbutton",
    "toolbar.splitbuttondropdown",
    "tab",
    "tab.pane",
    "tab.toptabitem",
    "tab.toptabitemleftedge",
    "explorerbar",
    "explorerbar.SpecialGroupBackground",
    "explorerbar.NormalGroupCollapse",
    "explorerbar.NormalGroupExpand",
    "explorerbar.NormalGroupHead",
    "explorerbar.headerclose",
    "listview",
    "Window.SysButton",
    "Button.Pushbutton(Defaulted)",
    "Spin",
    "Button.checkbox(checkeddisabled)",
    "Button.checkbox(mixeddisabled)",
    "Button.radiobutton(checkeddisabled)",
    "ScrollBar.LowerTrackHorz",
    "ScrollBar.LowerTrackVert",
    "TrackBar.Tics",
    "combobox(hot)",
    "rebar.band",
    "rebar.chevron",
    "rebar.chevronvert",
    "toolbar",
    "tab.body",
    "tab.toptabitemrightedge",
};

TRect Rect64(int64_t l, int64_t t, int64_t r, int64_t b) {
  return {ClampToInt32(l), ClampToInt32(t), ClampToInt32(r), ClampToInt32(b)};
}

bool Is(const QString& key, const char* name) {
  return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// An image that has not been keyed yet gets the element's colour key; answers whether
// the image is keyed afterwards.
bool KeyImage(const TteBitmapLink& link, TteColor key) {
  if (!link.IsValid()) return false;
  if (!link.Bitmap->Transparent) link.Bitmap->CheckingTransparent(key);
  return link.Bitmap->Transparent;
}

}  // namespace

const char* MsuxSectionName(int section) {
  return section >= 0 && section < kMsuxSectionCount ? kSectionNames[section] : "";
}

void TmsuxThemeObject::LoadFromIni(const TmsuxIni& ini, const QString& section,
                                   const TmsuxImageStore& store) {
  SectionName = section;
  if (const TmsuxIni::Section* s = ini.FindSection(section)) {
    // Of a key given twice the first entry is the one read, as everywhere in the INI.
    QSet<QString> seen;
    for (const auto& [rawKey, rawValue] : s->Entries) {
      const QString key = rawKey.trimmed();
      const QString name = key.toLower();
      if (seen.contains(name)) continue;
      seen.insert(name);
      QString value = rawValue.trimmed();
      ApplyKey(key, value, store);
      StoreProp(name, value);
    }
  }
  PrepareTransparency();
}

void TmsuxThemeObject::ApplyKey(const QString& key, QString& value, const TmsuxImageStore& store) {
  struct LinkKey {
    const char* Name;
    TteBitmapLink TmsuxThemeObject::*Link;
    bool Background;
  };
  static const LinkKey kLinks[] = {
      {"ImageFile", &TmsuxThemeObject::ImageFile, true},
      {"ImageFile1", &TmsuxThemeObject::ImageFile1, true},
      {"ImageFile2", &TmsuxThemeObject::ImageFile2, true},
      {"ImageFile3", &TmsuxThemeObject::ImageFile3, true},
      {"GlyphImageFile", &TmsuxThemeObject::GlyphImageFile, false},
  };
  for (const LinkKey& k : kLinks)
    if (Is(key, k.Name)) {
      // What the table keeps for an image key is the image name, not the file name.
      value = BindImage(this->*k.Link, value, k.Background, store);
      return;
    }

  if (Is(key, "FillColor")) FillColor = ParseColor(value);
  else if (Is(key, "FillColorHint")) FillColorHint = ParseColor(value);
  else if (Is(key, "TextColor")) TextColor = ParseColor(value);
  else if (Is(key, "BorderColor")) BorderColor = ParseColor(value);
  else if (Is(key, "BorderSize")) BorderSize = ParseInt(value, BorderSize);
  else if (Is(key, "TransparentColor")) TransparentColor = ParseColor(value);
  else if (Is(key, "Transparent")) Transparent = ParseBool(value);
  else if (Is(key, "Bgtype")) BgType = ParseBgType(value);
  else if (Is(key, "ImageCount")) ImageCount = ParseInt(value, ImageCount);
  else if (Is(key, "ImageLayout")) ImageLayoutHorizontal = ParseImageLayoutHorizontal(value);
  else if (Is(key, "ImageSelectType")) ImageSelectType = ParseImageSelectType(value);
  else if (Is(key, "SizingType")) SizingType = ParseSizingType(value);
  else if (Is(key, "SizingMargins")) SizingMargins = ParseMargins(value);
  else if (Is(key, "ContentMargins")) ContentMargins = ParseMargins(value);
  else if (Is(key, "CaptionMargins")) CaptionMargins = ParseMargins(value);
  else if (Is(key, "ContentAlignment")) ContentAlignment = ParseContentAlignment(value);
  else if (Is(key, "GlyphTransparent")) GlyphTransparent = ParseBool(value);
  else if (Is(key, "GlyphType")) GlyphTypeImage = ParseGlyphTypeImage(value);
  else if (Is(key, "TextShadowType")) TextShadowType = ParseTextShadowType(value);
  else if (Is(key, "TextShadowColor")) TextShadowColor = ParseColor(value);
  else if (Is(key, "TextShadowOffset")) TextShadowOffset = ParsePoint(value);
}

void TmsuxThemeObject::StoreProp(const QString& key, const QString& value) {
  if (int(props_.size()) < kMaxProps) props_.push_back({key, value});
}

const TmsuxObjectProp* TmsuxThemeObject::FindProp(const QString& name) const {
  for (const TmsuxObjectProp& p : props_)
    if (p.Name.compare(name, Qt::CaseInsensitive) == 0) return &p;
  return nullptr;
}

QString TmsuxThemeObject::BindImage(TteBitmapLink& link, const QString& fileName, bool background,
                                    const TmsuxImageStore& store) {
  const QString name = ImageFileToName(fileName);
  TteBitmap* image = nullptr;
  if (store.Images) {
    const QString upper = name.toUpper();
    image = store.Images->Find(upper);
    if (!image && store.LoadMissing) {
      // A failed load still adds its (empty) image, so the library is asked only once.
      std::unique_ptr<TteBitmap> loaded = store.LoadMissing(upper);
      if (!loaded) loaded = std::make_unique<TteBitmap>();
      loaded->Name = upper;
      image = loaded.get();
      store.Images->Add(std::move(loaded));
    }
  }
  link.Name = name;
  link.Bitmap = image;
  link.Left = link.Top = 0;
  link.Right = image ? image->Width() : 0;
  link.Bottom = image ? image->Height() : 0;
  if (!link.IsValid()) {
    link.Bitmap = nullptr;
    link.Right = link.Bottom = 0;
  }
  if (background) {
    BgType = kbtImageFile;
    if (image && (image->AlphaBlend || image->Transparent)) {
      Transparent = true;
      ImageTransparency = kitTransparent;
    }
  }
  return name;
}

void TmsuxThemeObject::PrepareTransparency() {
  const TteColor key = ColorToTeColor(TransparentColor, 255);
  if (ImageFile.IsValid()) {
    if (!ImageFile.Bitmap->Transparent && KeyImage(ImageFile, key)) {
      Transparent = true;
      ImageTransparency = kitTransparent;
    }
    if (ImageFile.Bitmap->AlphaBlend) ImageTransparency = kitTransparent;
  }
  if (GlyphTransparent) {
    for (TteBitmapLink* link : {&GlyphImageFile, &ImageFile1, &ImageFile2, &ImageFile3})
      KeyImage(*link, key);
    return;
  }
  for (TteBitmapLink* link : {&ImageFile1, &ImageFile2, &ImageFile3})
    if (link->IsValid() && !link->Bitmap->Transparent && KeyImage(*link, key)) {
      Transparent = true;
      ImageTransparency = kitTransparent;
    }
}

void TmsuxThemeObject::SelectFrame(TteBitmapLink& link, int a) const {
  if (ImageCount <= 0 || a <= 0 || !link.Bitmap) return;
  NarrowToFrame(link, std::min(a, ImageCount));
}

void TmsuxThemeObject::NarrowToFrame(TteBitmapLink& link, int a) const {
  // In 64 bits and clamped: an unclamped frame far past the image must not overflow.
  const int64_t n = ImageCount, w = link.Bitmap->Width(), h = link.Bitmap->Height();
  const TRect frame = ImageLayoutHorizontal ? Rect64(w / n * (a - 1), 0, w / n * a, h)
                                            : Rect64(0, h / n * (a - 1), w, h / n * a);
  link.Left = frame.Left;
  link.Top = frame.Top;
  link.Right = frame.Right;
  link.Bottom = frame.Bottom;
}

TteBitmapLink* TmsuxThemeObject::FrameLink(const TRect& dest, int a) {
  if (BgType != kbtImageFile) return nullptr;
  TteBitmapLink* link =
      ImageSelectType != kistDpi || GlyphTypeImage ? &ImageFile : &SelectBySize(dest);
  if (!link->IsValid()) return nullptr;
  // A frame below 1 shows the first one: leaving the link as the previous paint
  // left it would make the picture depend on history.
  SelectFrame(*link, std::max(a, 1));
  return link;
}

TteBitmapLink& TmsuxThemeObject::SelectBySize(const TRect& dest) {
  TteBitmapLink* chosen = &ImageFile1;
  const int64_t room = int64_t(dest.Width()) - ContentMargins.Left - ContentMargins.Right;
  for (TteBitmapLink* link : {&ImageFile2, &ImageFile3})
    if (link->IsValid() && link->Bitmap->Width() < room) chosen = link;
  return *chosen;
}

// ---- painting

namespace {

// A negative margin would push pieces outside the rectangle being painted.
TmsuxMargins NonNegative(const TmsuxMargins& m) {
  return {std::max(m.Left, 0), std::max(m.Top, 0), std::max(m.Right, 0), std::max(m.Bottom, 0)};
}

bool ClipInside(const TRect& clip, const TRect& dst) {
  return clip.IsEmpty() || (clip.Left >= dst.Left && clip.Top >= dst.Top &&
                            clip.Right <= dst.Right && clip.Bottom <= dst.Bottom);
}

// Images are shared by every element that names them, so a paint that draws one
// opaque for a while must hand it back as it found it, even when a draw raises.
class ImageFlags {
 public:
  explicit ImageFlags(TteBitmap& image)
      : image_(image), alphaBlend_(image.AlphaBlend), transparent_(image.Transparent) {}
  ~ImageFlags() { Restore(); }
  ImageFlags(const ImageFlags&) = delete;
  ImageFlags& operator=(const ImageFlags&) = delete;
  void Restore() {
    image_.AlphaBlend = alphaBlend_;
    image_.Transparent = transparent_;
  }
  void Clear() { image_.AlphaBlend = image_.Transparent = false; }

 private:
  TteBitmap& image_;
  bool alphaBlend_, transparent_;
};

}  // namespace

TRect NineGridPiece(const TRect& r, const TmsuxMargins& margins, int which) {
  const TmsuxMargins m = NonNegative(margins);
  const int64_t cl = int64_t(r.Left) + m.Left, ct = int64_t(r.Top) + m.Top;
  const int64_t cr = int64_t(r.Right) - m.Right, cb = int64_t(r.Bottom) - m.Bottom;
  int64_t left = cl, top = ct, right = cr, bottom = cb;
  switch (which) {
    case kgpLeft: left = r.Left, right = cl; break;
    case kgpTop: top = r.Top, bottom = ct; break;
    case kgpRight: left = cr, right = r.Right; break;
    case kgpBottom: top = cb, bottom = r.Bottom; break;
    case kgpCentre: break;
    default: return {};
  }
  if (right <= left) {
    if (right < r.Right) ++right;
    else if (left > r.Left) --left;
  }
  // Grows upwards only while that stays inside r, as the width does leftwards; a
  // rectangle above the canvas's origin still gets its bottom strip.
  if (bottom <= top) {
    if (bottom < r.Bottom) ++bottom;
    else if (top > r.Top) --top;
  }
  return Rect64(left, top, right, bottom);
}

void TmsuxThemeObject::Paint(TCanvas& canvas, const TRect& dest, int a, const TRect& clip) {
  TRect d = dest;
  switch (BgType) {
    case kbtNone:
      return;
    case kbtUnset:
      FillRectColor(canvas, d, FillColor);
      break;
    case kbtBorderFill:
      // Stops once nothing is left inside, so a huge BorderSize costs nothing extra.
      for (int32_t i = 0; i < BorderSize && !d.IsEmpty(); ++i) {
        DrawRect(canvas, d, BorderColor);
        d = {d.Left + 1, d.Top + 1, d.Right - 1, d.Bottom - 1};
      }
      if (!d.IsEmpty()) FillRectColor(canvas, d, FillColor);
      break;
    case kbtImageFile: {
      TteBitmapLink* link = FrameLink(d, a);
      if (!link) return;
      if (ImageCount > 0 && a > 0) a = std::min(a, ImageCount);
      const TRect s = link->Rect();
      TteBitmap& image = *link->Bitmap;
      ImageFlags flags(image);
      switch (SizingType) {
        case kstTrueSize: {
          if (ImageTransparency == kitOpaque) flags.Clear();
          const TRect box = CenteredBox(d, s.Width(), s.Height());
          const int32_t x = box.Left, y = box.Top;
          if (ClipInside(clip, Rect64(x, y, int64_t(x) + s.Width(), int64_t(y) + s.Height())))
            image.Draw(canvas, x, y, s);
          break;
        }
        case kstTile:
        case kstStretch:
        case kstBorderTileClientStretch:
        case kstBorderStretchClientTile: {
          const TmsuxMargins m = NonNegative(SizingMargins);
          // Pieces never read outside the frame, even when the margins are wider than it.
          auto piece = [&](int which, bool tile) {
            const TRect src = IntersectRect(NineGridPiece(s, m, which), s);
            const TRect dst = NineGridPiece(d, m, which);
            if (src.IsEmpty() || dst.IsEmpty() || !ClipInside(clip, dst)) return;
            if (tile) image.Tile(canvas, dst, src);
            else image.Draw(canvas, dst, src);
          };
          auto corner = [&](int64_t l, int64_t t, int64_t r, int64_t b, int64_t x, int64_t y) {
            const TRect src = Rect64(l, t, r, b);
            const TRect part = IntersectRect(src, s);
            if (part.IsEmpty()) return;
            image.Draw(canvas, ClampToInt32(x + part.Left - src.Left), ClampToInt32(y + part.Top - src.Top),
                       part);
          };
          if (ImageTransparency < kitTransparent) flags.Clear();
          piece(kgpCentre, SizingType == kstTile || SizingType == kstBorderStretchClientTile);
          if (ImageTransparency != kitOpaque) flags.Restore();
          else flags.Clear();
          const bool tileEdges = SizingType == kstTile || SizingType == kstBorderTileClientStretch;
          for (int which : {kgpTop, kgpBottom, kgpLeft, kgpRight}) piece(which, tileEdges);
          const int64_t right = int64_t(dest.Right) - m.Right, bottom = int64_t(dest.Bottom) - m.Bottom;
          corner(s.Left, s.Top, int64_t(s.Left) + m.Left, int64_t(s.Top) + m.Top, dest.Left, dest.Top);
          corner(int64_t(s.Right) - m.Right, s.Top, s.Right, int64_t(s.Top) + m.Top, right, dest.Top);
          corner(s.Left, int64_t(s.Bottom) - m.Bottom, int64_t(s.Left) + m.Left, s.Bottom, dest.Left,
                 bottom);
          corner(int64_t(s.Right) - m.Right, int64_t(s.Bottom) - m.Bottom, s.Right, s.Bottom, right,
                 bottom);
          break;
        }
        case kstTileVertical:
        case kstTileHorizontal:
          break;
      }
      flags.Restore();
      LastLink = link;
      break;
    }
  }
  if (!GlyphTypeImage || ImageCount <= 0 || a <= 0) return;
  auto glyph = [&](TteBitmapLink& link) {
    if (!link.IsValid()) return;
    // Frame a not clamped to the count: a frame past the image lies outside it and
    // draws nothing.
    NarrowToFrame(link, a);
    const TRect f = link.Rect();
    if (GlyphTransparent) link.Bitmap->Transparent = true;
    const TRect box = CenteredBox(d, f.Width(), f.Height());
    link.Bitmap->Draw(canvas, box.Left, box.Top, f);
  };
  glyph(GlyphImageFile);
  if (ImageSelectType == kistDpi || ImageSelectType == kistSize) glyph(SelectBySize(d));
}
