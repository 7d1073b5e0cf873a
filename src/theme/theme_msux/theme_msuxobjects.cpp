// Element objects of packed visual-style themes: reading a section's keys, binding
// and preparing the images, and choosing a frame or an image at paint time.
#include "theme_msuxobjects.h"

#include <algorithm>

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
    for (const auto& [rawKey, rawValue] : s->Entries) {
      const QString key = rawKey.trimmed();
      QString value = rawValue.trimmed();
      ApplyKey(key, value, store);
      StoreProp(key.toLower(), value);
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
  for (TmsuxObjectProp& p : props_)
    if (p.Name == key) {
      p.Value = value;
      return;
    }
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
  const int n = ImageCount;
  if (n <= 0 || a <= 0 || !link.Bitmap) return;
  a = std::min(a, n);
  const int32_t width = link.Bitmap->Width(), height = link.Bitmap->Height();
  if (ImageLayoutHorizontal) {
    const int32_t w = width / n;
    link.Left = w * (a - 1);
    link.Top = 0;
    link.Right = w * a;
    link.Bottom = height;
  } else {
    const int32_t h = height / n;
    link.Left = 0;
    link.Top = h * (a - 1);
    link.Right = width;
    link.Bottom = h * a;
  }
}

TteBitmapLink& TmsuxThemeObject::SelectBySize(const TRect& dest) {
  TteBitmapLink* chosen = &ImageFile1;
  const int64_t room = int64_t(dest.Width()) - ContentMargins.Left - ContentMargins.Right;
  for (TteBitmapLink* link : {&ImageFile2, &ImageFile3})
    if (link->IsValid() && link->Bitmap->Width() < room) chosen = link;
  return *chosen;
}
