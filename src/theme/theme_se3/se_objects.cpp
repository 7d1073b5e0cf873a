// Skin objects: stored properties, reading and writing them, copying, look-ups and the
// class registry. Layout, painting and regions are in se_objects_paint.cpp.
#include "se_objects.h"

#include <QHash>
#include <QtEndian>
#include <cctype>
#include <functional>
#include <variant>

#include "app_error.h"
#include "te_compress.h"
#include "theme_tables.h"

namespace {

constexpr const char* kAlign[] = {
    "saNone", "saLeft", "saMostLeft", "saTop", "saMostTop", "saRight", "saMostRight",
    "saBottom", "saMostBottom", "saClient", "saTopLeft", "saTopRight", "saBottomLeft",
    "saBottomRight", "saCenter", "saText", "saTopRightAngle", "saAll"};
constexpr const char* kKind[] = {
    "skNone", "skForm", "skCaption", "skTitle", "skTop", "skLeft", "skRight", "skBottom",
    "skTopLeft", "skTopRight", "skBottomLeft", "skBottomRight", "skSysButton", "skClient",
    "skMenuBar", "skMenuBarItem", "skMenuBarItemText", "skPopupMenu", "skPopupMenuItem",
    "skPopupMenuItemText", "skItemText", "skTranparentOnly", "skTranparent", "skRoundMask",
    "skNoMask"};
constexpr const char* kTextAlign[] = {"taTopLeft", "taTopCenter", "taTopRight",
                                      "taLeft", "taCenter", "taRight",
                                      "taBottomLeft", "taBottomCenter", "taBottomRight"};
constexpr const char* kTextEffect[] = {"teNone", "teShadow"};
constexpr const char* kTile[] = {"tsTile", "tsStretch", "tsCenter", "tsVertCenterStretch",
                                 "tsVertCenterTile", "tsHorzCenterStretch", "tsHorzCenterTile"};
constexpr const char* kAction[] = {"sbaNone", "sbaClose", "sbaHelp", "sbaMinimize",
                                   "sbaMaximize", "sbaRestore", "sbaRollUp", "sbaRollDown",
                                   "sbaTray", "sbaSysMenu", "sbaRollPanel", "sbaCustom"};
constexpr const char* kRollKind[] = {"rkLeft", "rkTop", "rkRight", "rkBottom"};
constexpr const char* kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

template <size_t N>
constexpr TSeEnumNames Names(const char* const (&names)[N]) {
  return {names, int(N)};
}

// The word that announces children in binary form: the count OR this.
constexpr uint32_t kBinaryChildren = 0xF0000;

}  // namespace

const TSeEnumNames kSeAlignNames = Names(kAlign), kSeKindNames = Names(kKind),
                   kSeTextAlignNames = Names(kTextAlign), kSeTextEffectNames = Names(kTextEffect),
                   kSeTileStyleNames = Names(kTile), kSeActionNames = Names(kAction),
                   kSeRollKindNames = Names(kRollKind);

// ---- TSeFont

int TSeFont::Size() const {
  return Height < 0 ? -MulDiv(Height, 72, kThemeFontDpi) : MulDiv(Height, 72, kThemeFontDpi);
}

void TSeFont::SetSize(int points) { Height = -MulDiv(points, kThemeFontDpi, 72); }

TFont TSeFont::ToFont() const {
  TFont f = DefaultThemeFont();
  f.setFamily(Name);
  SetFontSize(f, std::max(1, Size()));
  f.Color = Color;
  f.setBold(Style & 1);
  f.setItalic(Style & 2);
  f.setUnderline(Style & 4);
  f.setStrikeOut(Style & 8);
  return f;
}

// ---- the property visitors

namespace {

TColor ColorFromValue(const TSeValue& v, bool& ok) {
  ok = true;
  if (v.IsInteger()) return TColor(uint32_t(v.Int));
  if (v.Kind == TSeValue::kIdent) {
    try {
      return StringToColor(QString::fromLatin1(v.Bytes));
    } catch (const EAppError&) {
    }
  }
  ok = false;
  return clNone;
}

TSeValue ColorValue(TColor c) {
  const QString name = ColorToString(c);
  if (!name.startsWith(QLatin1Char('$'))) return TSeValue::Ident(name.toLatin1());
  return TSeValue::Integer(int32_t(c));
}

// Applies the properties of one component; lookups go through a hash of the names in
// lower case, so a class reads its few dozen properties in linear time.
class TReadVisitor : public TSePropertyVisitor {
 public:
  explicit TReadVisitor(const TSeComponent& c) {
    // The names, lower-cased, in one buffer that the hash's keys look into.
    qsizetype total = 0;
    for (const TSeProperty& p : c.Properties) total += p.Name.size();
    lower_.resize(total);
    props_.reserve(qsizetype(c.Properties.size()));
    qsizetype at = 0;
    for (const TSeProperty& p : c.Properties) {
      for (qsizetype i = 0; i < p.Name.size(); ++i) lower_[at + i] = char(std::tolower(uchar(p.Name[i])));
      props_.insert(QByteArrayView(lower_.constData() + at, p.Name.size()), &p.Value);
      at += p.Name.size();
    }
  }
  const TSeValue* Get(const char* name, const char* sub = nullptr) const {
    // The key is put together lower-cased on the stack; property names are short.
    char key[96];
    qsizetype n = 0;
    auto put = [&](const char* part) {
      for (; *part && n < qsizetype(sizeof key); ++part) key[n++] = char(std::tolower(uchar(*part)));
    };
    put(name);
    if (sub) {
      put(".");
      put(sub);
    }
    return props_.value(QByteArrayView(key, n), nullptr);
  }
  void Int(const char* name, int32_t& v) override {
    if (const TSeValue* p = Get(name); p && p->IsInteger()) v = int32_t(p->Int);
  }
  void Bool(const char* name, bool& v) override {
    if (const TSeValue* p = Get(name); p && (p->Kind == TSeValue::kTrue || p->Kind == TSeValue::kFalse))
      v = p->Kind == TSeValue::kTrue;
  }
  void Enum(const char* name, uint8_t& v, const TSeEnumNames& names) override {
    const TSeValue* p = Get(name);
    if (!p) return;
    if (p->Kind == TSeValue::kIdent) {
      for (int i = 0; i < names.Count; ++i)
        if (p->Bytes.compare(names.Names[i], Qt::CaseInsensitive) == 0) v = uint8_t(i);
    } else if (p->IsInteger() && p->Int >= 0 && p->Int < names.Count) {
      v = uint8_t(p->Int);
    }
  }
  void Color(const char* name, TColor& v) override {
    if (const TSeValue* p = Get(name)) {
      bool ok = false;
      const TColor c = ColorFromValue(*p, ok);
      if (ok) v = c;
    }
  }
  void Font(const char* name, TSeFont& f) override {
    if (const TSeValue* p = Get(name, "Charset"); p && p->IsInteger()) f.Charset = uint8_t(p->Int);
    Color((QByteArray(name) + ".Color").constData(), f.Color);
    if (const TSeValue* p = Get(name, "Height"); p && p->IsInteger()) f.Height = int32_t(p->Int);
    if (const TSeValue* p = Get(name, "Size"); p && p->IsInteger()) f.SetSize(int32_t(p->Int));
    if (const TSeValue* p = Get(name, "Name"); p && p->IsString()) f.Name = p->Text;
    if (const TSeValue* p = Get(name, "Style"); p && p->Kind == TSeValue::kSet) {
      f.Style = 0;
      for (const QByteArray& m : p->Members)
        for (int i = 0; i < 4; ++i)
          if (m.compare(kFontStyles[i], Qt::CaseInsensitive) == 0) f.Style |= uint8_t(1 << i);
    }
  }
  void Image(const char* name, TteBitmapLink& link) override {
    if (const TSeValue* p = Get(name, "Name"); p && p->IsString()) link.Name = p->Text;
    int32_t* edges[] = {&link.Left, &link.Top, &link.Right, &link.Bottom};
    const char* subs[] = {"Left", "Top", "Right", "Bottom"};
    for (int i = 0; i < 4; ++i)
      if (const TSeValue* p = Get(name, subs[i]); p && p->IsInteger()) *edges[i] = int32_t(p->Int);
  }
  void String(const char* name, QString& v) override {
    if (const TSeValue* p = Get(name); p && p->IsString()) v = p->Text;
  }

 private:
  QByteArray lower_;
  QHash<QByteArrayView, const TSeValue*> props_;
};

class TWriteVisitor : public TSePropertyVisitor {
 public:
  explicit TWriteVisitor(TSeComponent& c) : c_(c) {}
  void Put(QByteArray name, TSeValue v) { c_.Properties.push_back({std::move(name), std::move(v)}); }
  void Int(const char* name, int32_t& v) override { Put(name, TSeValue::Integer(v)); }
  void Bool(const char* name, bool& v) override { Put(name, TSeValue::Boolean(v)); }
  void Enum(const char* name, uint8_t& v, const TSeEnumNames& names) override {
    if (v < names.Count) Put(name, TSeValue::Ident(names.Names[v]));
  }
  void Color(const char* name, TColor& v) override { Put(name, ColorValue(v)); }
  void Font(const char* name, TSeFont& f) override {
    const QByteArray n(name);
    Put(n + ".Charset", TSeValue::Integer(f.Charset));
    Put(n + ".Color", ColorValue(f.Color));
    Put(n + ".Height", TSeValue::Integer(f.Height));
    Put(n + ".Name", TSeValue::String(f.Name));
    std::vector<QByteArray> styles;
    for (int i = 0; i < 4; ++i)
      if (f.Style & (1 << i)) styles.emplace_back(kFontStyles[i]);
    Put(n + ".Style", TSeValue::Set(std::move(styles)));
  }
  void Image(const char* name, TteBitmapLink& link) override {
    if (link.Name.isEmpty()) return;  // an unset image is not written
    const QByteArray n(name);
    Put(n + ".Name", TSeValue::String(link.Name));
    Put(n + ".Left", TSeValue::Integer(link.Left));
    Put(n + ".Top", TSeValue::Integer(link.Top));
    Put(n + ".Right", TSeValue::Integer(link.Right));
    Put(n + ".Bottom", TSeValue::Integer(link.Bottom));
  }
  void String(const char* name, QString& v) override { Put(name, TSeValue::String(v)); }

 private:
  TSeComponent& c_;
};

// Collects pointers to every property, so two objects of one class copy pairwise.
class TCollectVisitor : public TSePropertyVisitor {
 public:
  // TColor is an integer type too; colours travel wrapped so every kind stays distinct.
  struct ColorRef {
    TColor* Value;
  };
  using Ref = std::variant<int32_t*, bool*, uint8_t*, ColorRef, TSeFont*, TteBitmapLink*, QString*>;
  std::vector<Ref> Refs;
  void Int(const char*, int32_t& v) override { Refs.emplace_back(&v); }
  void Bool(const char*, bool& v) override { Refs.emplace_back(&v); }
  void Enum(const char*, uint8_t& v, const TSeEnumNames&) override { Refs.emplace_back(&v); }
  void Color(const char*, TColor& v) override { Refs.emplace_back(ColorRef{&v}); }
  void Font(const char*, TSeFont& v) override { Refs.emplace_back(&v); }
  void Image(const char*, TteBitmapLink& v) override { Refs.emplace_back(&v); }
  void String(const char*, QString& v) override { Refs.emplace_back(&v); }
};

// Runs one function on every colour (fonts' included) or every image or every font.
class TEachVisitor : public TSePropertyVisitor {
 public:
  std::function<void(TColor&)> OnColor;
  std::function<void(TSeFont&)> OnFont;
  std::function<void(TteBitmapLink&)> OnImage;
  void Int(const char*, int32_t&) override {}
  void Bool(const char*, bool&) override {}
  void Enum(const char*, uint8_t&, const TSeEnumNames&) override {}
  void Color(const char*, TColor& v) override {
    if (OnColor) OnColor(v);
  }
  void Font(const char*, TSeFont& v) override {
    if (OnFont) OnFont(v);
    if (OnColor) OnColor(v.Color);
  }
  void Image(const char*, TteBitmapLink& v) override {
    if (OnImage) OnImage(v);
  }
  void String(const char*, QString&) override {}
};

template <typename E>
uint8_t& Byte(E& e) {
  static_assert(sizeof(E) == 1);
  return reinterpret_cast<uint8_t&>(e);
}

}  // namespace

// ---- TSeSkinObject

TSeSkinObject::TSeSkinObject(TSeSkinObject* owner) : parent_(owner) {
  if (owner) owner->children_.emplace_back(this);
}

TSeSkinObject::~TSeSkinObject() {
  // Children are destroyed with the vector; they must not detach from a dying parent.
  for (auto& child : children_) child->parent_ = nullptr;
}

std::unique_ptr<TSeSkinObject> TSeSkinObject::TakeChild(TSeSkinObject* child) {
  for (auto it = children_.begin(); it != children_.end(); ++it) {
    if (it->get() != child) continue;
    std::unique_ptr<TSeSkinObject> out = std::move(*it);
    children_.erase(it);
    out->parent_ = nullptr;
    return out;
  }
  return nullptr;
}

std::unique_ptr<TSeSkinObject> TSeSkinObject::ReplaceChild(TSeSkinObject* child,
                                                           std::unique_ptr<TSeSkinObject> by) {
  for (auto& slot : children_) {
    if (slot.get() != child) continue;
    by->parent_ = this;
    std::swap(slot, by);
    by->parent_ = nullptr;
    return by;
  }
  return nullptr;
}

void TSeSkinObject::VisitProperties(TSePropertyVisitor& v) {
  v.Enum("Align", Byte(Align), kSeAlignNames);
  v.Enum("Kind", Byte(Kind), kSeKindNames);
  v.Int("Left", Left);
  v.Int("Top", Top);
  v.Int("Width", Width);
  v.Int("Height", Height);
  v.Color("Color", Color);
  v.Bool("DrawIfOwner", DrawIfOwner);
  v.Font("Font", Font);
  v.Bool("Masked", Masked);
  v.Int("MarginLeft", MarginLeft);
  v.Int("MarginTop", MarginTop);
  v.Int("MarginRight", MarginRight);
  v.Int("MarginBottom", MarginBottom);
  v.Enum("TextAlign", Byte(TextAlign), kSeTextAlignNames);
  v.Enum("TextEffect", Byte(TextEffect), kSeTextEffectNames);
  v.Int("TextMarginLeft", TextMarginLeft);
  v.Int("TextMarginTop", TextMarginTop);
  v.Int("TextMarginRight", TextMarginRight);
  v.Bool("TextMarginRightStretch", TextMarginRightStretch);
  v.Bool("TextShiftSysIton", TextShiftSysIton);
}

namespace {

// The children of an "Objects" value: a word (count OR 0xF0000 for binary records, the
// plain count for text records), then the records.
void ReadChildren(TSeSkinObject& parent, QByteArrayView value, TSeReadLimits& limits) {
  TSeByteReader r(value);
  const uint32_t word = uint32_t(r.Int32());
  const bool binary = (word & kBinaryChildren) == kBinaryChildren;
  const uint32_t count = binary ? word & ~kBinaryChildren : word;
  // Every record takes at least its two 32-bit counts.
  if (count > uint64_t(r.Remaining()) / 8) StreamReadError();
  for (uint32_t i = 0; i < count; ++i) {
    const QByteArrayView className = r.CountedBytes();
    const QByteArrayView form = r.CountedBytes();
    ReadSkinObject(className, form, binary, &parent, limits);
  }
}

}  // namespace

void TSeSkinObject::ReadProperties(const TSeComponent& component, TSeReadLimits& limits) {
  TReadVisitor reader(component);
  if (const TSeValue* name = reader.Get("Name"); name && name->IsString()) Name = name->Text;
  VisitProperties(reader);
  if (Width < 0) Width = 0;
  if (Height < 0) Height = 0;
  OldLeft = Left;
  OldTop = Top;
  OldWidth = Width;
  OldHeight = Height;
  if (const TSeValue* objects = reader.Get("Objects"); objects && objects->Kind == TSeValue::kBinary)
    ReadChildren(*this, objects->Bytes, limits);
}

TSeComponent TSeSkinObject::ToComponent() {
  TSeComponent c;
  c.ClassName = ClassName();
  c.Name = Name.toLatin1();
  TWriteVisitor writer(c);
  VisitProperties(writer);
  QByteArray children;
  char word[4];
  qToLittleEndian(uint32_t(children_.size()) | kBinaryChildren, word);
  children.append(word, 4);
  for (const auto& child : children_) {
    const QByteArray className(child->ClassName());
    const QByteArray form = WriteComponentBinary(child->ToComponent());
    char n[4];
    qToLittleEndian(int32_t(className.size()), n);
    children.append(n, 4).append(className);
    qToLittleEndian(int32_t(form.size()), n);
    children.append(n, 4).append(form);
  }
  c.Properties.push_back({"Objects", TSeValue::Binary(children)});
  return c;
}

void TSeSkinObject::Assign(const TSeSkinObject& source) {
  if (std::string_view(source.ClassName()) == ClassName()) {
    TCollectVisitor mine, theirs;
    VisitProperties(mine);
    const_cast<TSeSkinObject&>(source).VisitProperties(theirs);
    for (size_t i = 0; i < mine.Refs.size(); ++i)
      std::visit(
          [&](auto dst) {
            const auto src = std::get<decltype(dst)>(theirs.Refs[i]);
            if constexpr (std::is_same_v<decltype(dst), TCollectVisitor::ColorRef>) *dst.Value = *src.Value;
            else if constexpr (std::is_same_v<decltype(dst), TteBitmapLink*>) dst->Assign(*src);
            else *dst = *src;
          },
          mine.Refs[i]);
  }
  Name = source.Name;
  Visible = source.Visible;
  Active = source.Active;
  State = source.State;
  Text = source.Text;
  Text2 = source.Text2;
  Enabled = source.Enabled;
  BiDiMode = source.BiDiMode;
  Buttons = source.Buttons;
  OldLeft = source.OldLeft;
  OldTop = source.OldTop;
  OldWidth = source.OldWidth;
  OldHeight = source.OldHeight;
  Bitmaps = source.Bitmaps;
}

void TSeSystemButton::Assign(const TSeSkinObject& source) {
  TSeActiveBitmap::Assign(source);
  if (auto* s = dynamic_cast<const TSeSystemButton*>(&source)) ButtonState = s->ButtonState;
}

void TSeSysButtonSkinObject::Assign(const TSeSkinObject& source) {
  TSeBitmapSkinObject::Assign(source);
  if (auto* s = dynamic_cast<const TSeSysButtonSkinObject*>(&source)) ButtonState = s->ButtonState;
}

std::unique_ptr<TSeSkinObject> TSeSkinObject::Clone(TSeSkinObject* owner) const {
  std::unique_ptr<TSeSkinObject> copy = CreateSkinObject(ClassName(), nullptr);
  copy->Assign(*this);
  for (const auto& child : children_) child->Clone(copy.get()).release();
  if (owner) {
    copy->parent_ = owner;
    owner->children_.emplace_back(copy.get());
    return std::unique_ptr<TSeSkinObject>(copy.release());
  }
  return copy;
}

void TSeSkinObject::SetActive(bool active) {
  if (Active == active) return;
  Active = active;
  for (auto& child : children_) child->SetActive(active);
}

namespace {
bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }
}  // namespace

TSeSkinObject* TSeSkinObject::FindChild(const QString& name) {
  if (SameName(Name, name)) return this;
  // Below the first level only a path's first segment is looked for.
  const qsizetype slash = name.indexOf(QLatin1Char('\\'));
  const QString key = slash >= 0 ? name.left(slash) : name;
  for (auto& child : children_)
    if (TSeSkinObject* hit = child->FindChild(key)) return hit;
  return nullptr;
}

TSeSkinObject* TSeSkinObject::FindByKind(TSeKind kind) {
  if (Kind == kind) return this;
  for (auto& child : children_)
    if (TSeSkinObject* hit = child->FindByKind(kind)) return hit;
  return nullptr;
}

TSeSkinObject* TSeSkinObject::FindByAction(TSeAction action) {
  if (auto* b = dynamic_cast<TSeSystemButton*>(this); b && b->Action == action) return this;
  if (auto* b = dynamic_cast<TSeSysButtonSkinObject*>(this); b && b->Action == action) return this;
  for (auto& child : children_)
    if (TSeSkinObject* hit = child->FindByAction(action)) return hit;
  return nullptr;
}

TSeSkinObject* TSeSkinObject::HitTest(TPoint p) {
  if (!Visible || !BoundsRect().Contains(p.X, p.Y) || Kind == skTranparent) return nullptr;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it)
    if (TSeSkinObject* hit = (*it)->HitTest(p)) return hit;
  return this;
}

// Images by name without regard to case, the first of a name winning as in the list's
// own look-up; built once for a whole tree, so binding is not a scan per link.
class TSeImageIndex {
 public:
  explicit TSeImageIndex(const TteBitmapList* list) {
    for (int i = 0; list && i < list->Count(); ++i) {
      const QString key = list->Items(i)->Name.toLower();
      if (!byName_.contains(key)) byName_.insert(key, list->Items(i));
    }
  }
  TteBitmap* Find(const QString& name) const {
    return name.isEmpty() ? nullptr : byName_.value(name.toLower(), nullptr);
  }

 private:
  QHash<QString, TteBitmap*> byName_;
};

void TSeSkinObject::BindBitmapList(TteBitmapList* list) { BindTo(list, TSeImageIndex(list)); }

void BindSkinTrees(const TSeObjectList& roots, TteBitmapList* list, bool prepare) {
  const TSeImageIndex index(list);
  for (const auto& root : roots) {
    root->BindTo(list, index);
    if (prepare) root->PrepareWith(index);
  }
}

void TSeSkinObject::BindTo(TteBitmapList* list, const TSeImageIndex& index) {
  Bitmaps = list;
  TEachVisitor each;
  each.OnImage = [&index](TteBitmapLink& link) { link.Bitmap = index.Find(link.Name); };
  VisitProperties(each);
  for (auto& child : children_) child->BindTo(list, index);
}

const TSeFont& TSeSkinObject::GetFont() { return Font; }

void TSeSkinObject::SetButtons(uint16_t buttons) {
  Buttons = buttons;
  for (auto& child : children_) child->SetButtons(buttons);
}

void TSeSkinObject::SetState(uint8_t state) {
  State = state;
  for (auto& child : children_) child->SetState(state);
}

void TSeSkinObject::SetChildrenState(uint8_t state) {
  for (auto& child : children_) child->SetState(state);
}

void TSeSkinObject::Prepare() {
  if (Bitmaps) PrepareWith(TSeImageIndex(Bitmaps));
}

void TSeSkinObject::PrepareWith(const TSeImageIndex& index) {
  for (auto& child : children_) child->PrepareWith(index);
  if (!Bitmaps) return;
  TEachVisitor each;
  each.OnImage = [&](TteBitmapLink& link) {
    TteBitmap* image = index.Find(link.Name);
    if (!image) return;  // the old link stays
    link.Bitmap = image;
    link.Name = image->Name;
    // A rectangle outside its image draws nothing; its size comes from the file, so
    // it is not walked pixel by pixel either.
    const TRect r = link.Rect(), bounds = image->BoundsRect();
    if (r.Left >= 0 && r.Top >= 0 && r.Right <= bounds.Right && r.Bottom <= bounds.Bottom)
      link.CheckTransparency(MarginLeft, MarginTop, MarginRight, MarginBottom);
    else
      link.MarginTransparent = link.CornerTransparent = link.CenterTransparent = false;
  };
  VisitProperties(each);
}

void TSeSkinObject::ShiftColors(TColor (*shift)(TColor, int), int delta) {
  if (delta == 0) return;  // colours, system colours included, stay exactly as stored
  TEachVisitor each;
  each.OnColor = [&](TColor& c) {
    if (c != clNone) c = shift(c, delta);
  };
  VisitProperties(each);
  for (auto& child : children_) child->ShiftColors(shift, delta);
}

// A colour goes through the 32-bit pixel form, opaque, and back.
namespace {
TColor HueOf(TColor c, int delta) { return TeColorToColor(::ChangeHue(ColorToTeColor(c, 255), delta)); }
TColor BrightnessOf(TColor c, int delta) {
  return TeColorToColor(::ChangeBrightness(ColorToTeColor(c, 255), delta));
}
}  // namespace

void TSeSkinObject::ChangeHue(int delta) { ShiftColors(&HueOf, delta); }
void TSeSkinObject::ChangeBrightness(int delta) { ShiftColors(&BrightnessOf, delta); }

void TSeSkinObject::SetCharset(uint8_t charset) {
  TEachVisitor each;
  each.OnFont = [charset](TSeFont& f) { f.Charset = charset; };
  VisitProperties(each);
  for (auto& child : children_) child->SetCharset(charset);
}

// ---- the classes' extra properties

void TSeActiveObject::VisitProperties(TSePropertyVisitor& v) {
  TSeSkinObject::VisitProperties(v);
  v.Color("ActiveColor", ActiveColor);
  v.Font("ActiveFont", ActiveFont);
  v.Font("DisabledFont", DisabledFont);
}

void TSeBitmapObject::VisitProperties(TSePropertyVisitor& v) {
  TSeSkinObject::VisitProperties(v);
  v.Image("Bitmap", Bitmap);
  v.Enum("TileStyle", Byte(TileStyle), kSeTileStyleNames);
  v.Enum("BorderTileStyle", Byte(BorderTileStyle), kSeTileStyleNames);
  v.Bool("MaskedBorder", MaskedBorder);
  v.Bool("MaskedAngles", MaskedAngles);
}

void TSeActiveBitmap::VisitProperties(TSePropertyVisitor& v) {
  TSeBitmapObject::VisitProperties(v);
  v.Image("ActiveBitmap", ActiveBitmap);
  v.Font("ActiveFont", ActiveFont);
}

TSeSystemButton::TSeSystemButton(TSeSkinObject* owner) : TSeActiveBitmap(owner) { Kind = skSysButton; }

void TSeSystemButton::VisitProperties(TSePropertyVisitor& v) {
  TSeActiveBitmap::VisitProperties(v);
  v.Enum("Action", Byte(Action), kSeActionNames);
  v.Image("BitmapHot", BitmapHot);
  v.Image("BitmapPressed", BitmapPressed);
}

void TSeButtonObject::VisitProperties(TSePropertyVisitor& v) {
  TSeBitmapObject::VisitProperties(v);
  v.Image("BitmapFocused", BitmapFocused);
  v.Image("BitmapHot", BitmapHot);
  v.Image("BitmapPressed", BitmapPressed);
  v.Image("BitmapDisabled", BitmapDisabled);
}

void TSeTextObject::VisitProperties(TSePropertyVisitor& v) {
  TSeSkinObject::VisitProperties(v);
  v.Font("FontHot", FontHot);
  v.Font("FontFocused", FontFocused);
  v.Font("FontPressed", FontPressed);
  v.Font("FontDisabled", FontDisabled);
}

void TSeLinkSkinObject::VisitProperties(TSePropertyVisitor& v) {
  TSeSkinObject::VisitProperties(v);
  v.String("LinkControl", LinkControl);
}

void TSeActiveSkinObject::VisitProperties(TSePropertyVisitor& v) {
  TSeSkinObject::VisitProperties(v);
  v.Color("ActiveColor", ActiveColor);
  v.Font("ActiveFont", ActiveFont);
}

void TSeBitmapSkinObject::VisitProperties(TSePropertyVisitor& v) {
  TSeSkinObject::VisitProperties(v);
  v.Image("Bitmap", Bitmap);
  v.Enum("TileStyle", Byte(TileStyle), kSeTileStyleNames);
}

void TSeFormBitmapSkinObject::VisitProperties(TSePropertyVisitor& v) {
  TSeBitmapSkinObject::VisitProperties(v);
  v.Image("InactiveBitmap", InactiveBitmap);
}

void TSeSysButtonSkinObject::VisitProperties(TSePropertyVisitor& v) {
  TSeBitmapSkinObject::VisitProperties(v);
  v.Enum("Action", Byte(Action), kSeActionNames);
  v.Image("BitmapDown", BitmapDown);
  v.Image("BitmapHover", BitmapHover);
  v.String("RollPanel", RollPanel);
}

void TSeColorButtonObject::VisitProperties(TSePropertyVisitor& v) {
  TSeSkinObject::VisitProperties(v);
  v.Color("HotColor", HotColor);
  v.Font("HotFont", HotFont);
  v.Color("PressedColor", PressedColor);
  v.Font("PressedFont", PressedFont);
  v.Color("FocusedColor", FocusedColor);
  v.Font("FocusedFont", FocusedFont);
  v.Color("DisabledColor", DisabledColor);
  v.Font("DisabledFont", DisabledFont);
}

void TSeBitmapBoxObject::VisitProperties(TSePropertyVisitor& v) {
  TSeBitmapSkinObject::VisitProperties(v);
  v.Enum("BorderTileStyle", Byte(BorderTileStyle), kSeTileStyleNames);
}

void TSeActiveBitmapBoxObject::VisitProperties(TSePropertyVisitor& v) {
  TSeBitmapBoxObject::VisitProperties(v);
  v.Image("FocusedBitmap", FocusedBitmap);
}

void TSeButtonBitmapBoxObject::VisitProperties(TSePropertyVisitor& v) {
  TSeBitmapBoxObject::VisitProperties(v);
  v.Image("FocusedBitmap", FocusedBitmap);
  v.Image("HotBitmap", HotBitmap);
  v.Image("PressedBitmap", PressedBitmap);
  v.Image("DisabledBitmap", DisabledBitmap);
}

void TSeRollPanelObject::VisitProperties(TSePropertyVisitor& v) {
  TSeSkinObject::VisitProperties(v);
  v.Enum("RollKind", Byte(RollKind), kSeRollKindNames);
  v.Int("RollValue", RollValue);
}

// ---- fonts by state

namespace {
// The font of a state among a class's four state fonts.
const TSeFont& ByState(uint8_t state, const TSeFont& normal, const TSeFont& hot,
                       const TSeFont& pressed, const TSeFont& focused, const TSeFont& disabled) {
  switch (state) {
    case 5: return hot;
    case 6: return pressed;
    case 7: return focused;
    case 8: return disabled;
    default: return normal;
  }
}
}  // namespace

const TSeFont& TSeSkinObject::FontForState(uint8_t) { return Font; }

const TSeFont& TSeActiveObject::FontForState(uint8_t state) {
  return ByState(state, Font, ActiveFont, ActiveFont, ActiveFont, DisabledFont);
}
const TSeFont& TSeActiveObject::GetFont() { return State == 8 ? Font : FontForState(State); }

const TSeFont& TSeActiveBitmap::FontForState(uint8_t state) {
  return ByState(state, Font, ActiveFont, ActiveFont, ActiveFont, Font);
}
const TSeFont& TSeActiveBitmap::GetFont() { return Active ? ActiveFont : FontForState(State); }

const TSeFont& TSeTextObject::FontForState(uint8_t state) {
  return ByState(state, Font, FontHot, FontPressed, FontFocused, FontDisabled);
}
const TSeFont& TSeTextObject::GetFont() { return FontForState(State); }

const TSeFont& TSeActiveSkinObject::FontForState(uint8_t state) {
  return ByState(state, Font, ActiveFont, Font, ActiveFont, Font);
}

const TSeFont& TSeColorButtonObject::FontForState(uint8_t state) {
  return ByState(state, Font, HotFont, PressedFont, FocusedFont, DisabledFont);
}

// ---- registry

namespace {

template <typename T>
std::unique_ptr<TSeSkinObject> Make(TSeSkinObject* owner) {
  T* object = new T(owner);
  // An owned object is held by its owner's children; the caller gets a view of it.
  return owner ? std::unique_ptr<TSeSkinObject>() : std::unique_ptr<TSeSkinObject>(object);
}

struct TClassEntry {
  const char* Name;
  std::unique_ptr<TSeSkinObject> (*Create)(TSeSkinObject*);
};

const TClassEntry kClasses[] = {
    {"TSeSkinObject", &Make<TSeSkinObject>},
    {"TSeActiveObject", &Make<TSeActiveObject>},
    {"TSeBitmapObject", &Make<TSeBitmapObject>},
    {"TSeActiveBitmap", &Make<TSeActiveBitmap>},
    {"TSeSystemButton", &Make<TSeSystemButton>},
    {"TSeButtonObject", &Make<TSeButtonObject>},
    {"TSeTextObject", &Make<TSeTextObject>},
    {"TSeLinkSkinObject", &Make<TSeLinkSkinObject>},
    {"TSeBitmapSkinObject", &Make<TSeBitmapSkinObject>},
    {"TSeFormBitmapSkinObject", &Make<TSeFormBitmapSkinObject>},
    {"TSeSysButtonSkinObject", &Make<TSeSysButtonSkinObject>},
    {"TSeActiveSkinObject", &Make<TSeActiveSkinObject>},
    {"TSeColorButtonObject", &Make<TSeColorButtonObject>},
    {"TSeBitmapBoxObject", &Make<TSeBitmapBoxObject>},
    {"TSeActiveBitmapBoxObject", &Make<TSeActiveBitmapBoxObject>},
    {"TSeButtonBitmapBoxObject", &Make<TSeButtonBitmapBoxObject>},
    {"TSeRollPanelObject", &Make<TSeRollPanelObject>},
};

const TClassEntry* FindClass(QByteArrayView name) {
  for (const TClassEntry& e : kClasses)
    if (name == QByteArrayView(e.Name)) return &e;
  return nullptr;
}

}  // namespace

const std::vector<const char*>& SkinObjectClassNames() {
  static const std::vector<const char*> names = [] {
    std::vector<const char*> out;
    for (const TClassEntry& e : kClasses) out.push_back(e.Name);
    return out;
  }();
  return names;
}

bool IsComponentName(QByteArrayView name) {
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

QByteArray ResolveSkinClassName(QByteArrayView className) {
  if (FindClass(className)) return className.toByteArray();
  if (className.size() > 3) {
    for (const char* prefix : {"Se", "Tw"}) {
      QByteArray alias = className.toByteArray();
      alias[1] = prefix[0];
      alias[2] = prefix[1];
      if (FindClass(alias)) return alias;
    }
  }
  return {};
}

std::unique_ptr<TSeSkinObject> CreateSkinObject(QByteArrayView className, TSeSkinObject* owner) {
  const TClassEntry* entry = FindClass(className);
  return entry ? entry->Create(owner) : nullptr;
}

std::unique_ptr<TSeSkinObject> ReadSkinObject(QByteArrayView className, QByteArrayView form,
                                              bool binary, TSeSkinObject* owner,
                                              TSeReadLimits& limits) {
  const QByteArray resolved = ResolveSkinClassName(className);
  if (resolved.isEmpty()) return nullptr;
  if (++limits.Objects > TSeReadLimits::kMaxObjects || limits.Depth >= TSeReadLimits::kMaxDepth)
    throw EAppError(QStringLiteral("Skin object tree too large"));
  const TSeComponent component = binary ? ReadComponentBinary(form) : ReadComponentText(form);
  // Names are identifiers (or empty), as the text form can only write those; a binary
  // record with another name would not survive being saved as text.
  if (!IsComponentName(component.Name))
    throw EAppError(QStringLiteral("\"%1\" is not a valid component name").arg(QString::fromLatin1(component.Name)));
  // Created only once its form has parsed, so a malformed record adds no empty object.
  std::unique_ptr<TSeSkinObject> root = CreateSkinObject(resolved, nullptr);
  TSeSkinObject* object = root.get();
  if (owner) {
    object->parent_ = owner;
    owner->children_.emplace_back(root.release());
  }
  object->Name = QString::fromLatin1(component.Name);
  ++limits.Depth;
  try {
    object->ReadProperties(component, limits);
  } catch (...) {
    --limits.Depth;
    throw;
  }
  --limits.Depth;
  object->SetCharset(1);
  return root;
}
