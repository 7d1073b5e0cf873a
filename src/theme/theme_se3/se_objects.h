// The skin object tree: every window part and control of a skin file is a tree of these
// rectangles that place themselves inside their parent, paint colours, images cut from
// the skin's image list and a caption, and give the window's shape.
#pragma once

#include <QRegion>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "canvas.h"
#include "rect.h"
#include "se_stream.h"
#include "te_bitmap.h"

enum TSeAlign : uint8_t {
  saNone, saLeft, saMostLeft, saTop, saMostTop, saRight, saMostRight, saBottom, saMostBottom,
  saClient, saTopLeft, saTopRight, saBottomLeft, saBottomRight, saCenter, saText,
  saTopRightAngle, saAll,
};
enum TSeKind : uint8_t {
  skNone, skForm, skCaption, skTitle, skTop, skLeft, skRight, skBottom, skTopLeft, skTopRight,
  skBottomLeft, skBottomRight, skSysButton, skClient, skMenuBar, skMenuBarItem,
  skMenuBarItemText, skPopupMenu, skPopupMenuItem, skPopupMenuItemText, skItemText,
  skTranparentOnly, skTranparent, skRoundMask, skNoMask,
};
enum TSeTextAlign : uint8_t {
  taTopLeft, taTopCenter, taTopRight, taLeft, taCenter, taRight, taBottomLeft, taBottomCenter,
  taBottomRight,
};
enum TSeTextEffect : uint8_t { teNone, teShadow };
enum TscTileStyle : uint8_t {
  tsTile, tsStretch, tsCenter, tsVertCenterStretch, tsVertCenterTile, tsHorzCenterStretch,
  tsHorzCenterTile,
};
enum TSeAction : uint8_t {
  sbaNone, sbaClose, sbaHelp, sbaMinimize, sbaMaximize, sbaRestore, sbaRollUp, sbaRollDown,
  sbaTray, sbaSysMenu, sbaRollPanel, sbaCustom,
};
enum TSeRollKind : uint8_t { rkLeft, rkTop, rkRight, rkBottom };

// The identifiers of an enumeration, in value order.
struct TSeEnumNames {
  const char* const* Names;
  int Count;
};
extern const TSeEnumNames kSeAlignNames, kSeKindNames, kSeTextAlignNames, kSeTextEffectNames,
    kSeTileStyleNames, kSeActionNames, kSeRollKindNames;

// A caption font as the stream stores it: the height in pixels (negative: character
// height) rather than points, so that a skin is written back as it was read.
struct TSeFont {
  QString Name = QStringLiteral("Tahoma");
  int32_t Height = -11;  // 8 points at 96 dots per inch
  TColor Color = TColor(0xFF000008);  // clWindowText
  uint8_t Style = 0;  // bold, italic, underline, strike-out
  uint8_t Charset = 1;
  int Size() const;
  void SetSize(int points);
  TFont ToFont() const;
  friend bool operator==(const TSeFont&, const TSeFont&) = default;
};

// Every stored property of a class, in declaration order, base class first. Reading,
// writing, copying, colour shifts and image binding all go through this one list.
class TSePropertyVisitor {
 public:
  virtual ~TSePropertyVisitor() = default;
  virtual void Int(const char* name, int32_t& v) = 0;
  virtual void Bool(const char* name, bool& v) = 0;
  virtual void Enum(const char* name, uint8_t& v, const TSeEnumNames& names) = 0;
  virtual void Color(const char* name, TColor& v) = 0;
  virtual void Font(const char* name, TSeFont& v) = 0;
  virtual void Image(const char* name, TteBitmapLink& v) = 0;
  virtual void String(const char* name, QString& v) = 0;
};

class TSeSkinObject;
class TSeImageIndex;
using TSeObjectList = std::vector<std::unique_ptr<TSeSkinObject>>;

// What a stream read may cost: objects are counted over a whole skin and nesting is
// bounded, so a small hostile file cannot build a huge or deep tree.
struct TSeReadLimits {
  int Objects = 0;
  int Depth = 0;
  static constexpr int kMaxObjects = 1 << 16;
  static constexpr int kMaxDepth = 24;
};

class TSeSkinObject {
 public:
  // The object is appended to the owner's children, which own it.
  explicit TSeSkinObject(TSeSkinObject* owner = nullptr);
  virtual ~TSeSkinObject();
  TSeSkinObject(const TSeSkinObject&) = delete;
  TSeSkinObject& operator=(const TSeSkinObject&) = delete;

  virtual const char* ClassName() const { return "TSeSkinObject"; }

  // ---- stored properties
  QString Name;
  TSeAlign Align = saNone;
  TSeKind Kind = skNone;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  TColor Color = clWhite;
  bool DrawIfOwner = false;
  TSeFont Font;
  bool Masked = true;
  int32_t MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
  TSeTextAlign TextAlign = taLeft;
  TSeTextEffect TextEffect = teNone;
  int32_t TextMarginLeft = 0, TextMarginTop = 0, TextMarginRight = 0;
  bool TextMarginRightStretch = false;
  bool TextShiftSysIton = false;

  // ---- run-time fields
  bool Visible = true;
  bool Active = false;
  uint8_t State = 0;  // 0 normal, 5 hot, 6 pressed, 7 focused, 8 disabled; windows 2, 3, 4
  QString Text;
  QString Text2;
  bool Enabled = true;
  uint8_t BiDiMode = 0;
  uint16_t Buttons = 0;
  int32_t OldLeft = 0, OldTop = 0, OldWidth = 0, OldHeight = 0;
  TteBitmapList* Bitmaps = nullptr;  // not owned

  TSeSkinObject* Parent() const { return parent_; }
  const TSeObjectList& Children() const { return children_; }
  // Takes the child out of this object's children and hands it over.
  std::unique_ptr<TSeSkinObject> TakeChild(TSeSkinObject* child);
  // Puts an object without owner where child was and hands child over.
  std::unique_ptr<TSeSkinObject> ReplaceChild(TSeSkinObject* child, std::unique_ptr<TSeSkinObject> by);
  TRect BoundsRect() const { return Bounds(Left, Top, Width, Height); }

  virtual void VisitProperties(TSePropertyVisitor& v);
  // Reads the stored properties (children included) from a component; unknown
  // properties and values of the wrong type are passed over.
  void ReadProperties(const TSeComponent& component, TSeReadLimits& limits);
  // The component with every stored property; children in binary form.
  TSeComponent ToComponent();

  // ---- layout and look-ups
  void SetBounds(const TRect& r);
  void AlignChildren();
  void AlignTree();
  void SetActive(bool active);
  TSeSkinObject* FindChild(const QString& name);
  TSeSkinObject* FindByKind(TSeKind kind);
  TSeSkinObject* FindByAction(TSeAction action);
  TSeSkinObject* HitTest(TPoint p);
  // The window shape of the subtree; none where the object takes no part in it.
  std::optional<QRegion> Region();
  // Sets Bitmaps on the subtree and binds every image link to the image of that name in
  // list (none when the list lacks it), so no link keeps pointing into another skin.
  void BindBitmapList(TteBitmapList* list);
  std::unique_ptr<TSeSkinObject> Clone(TSeSkinObject* owner) const;
  // Copies stored and run-time properties from an object of the same class.
  virtual void Assign(const TSeSkinObject& source);

  // ---- virtual operations
  virtual const TSeFont& GetFont();
  // The font the object shows in a state (5 hot, 6 pressed, 7 focused, 8 disabled): the
  // class's font for it, else Font.
  virtual const TSeFont& FontForState(uint8_t state);
  virtual void SetButtons(uint16_t buttons);
  virtual void SetState(uint8_t state);
  void Prepare();
  virtual void Paint(TCanvas& canvas, const TRect& clip);
  virtual std::optional<QRegion> CreateRegion();
  void ChangeHue(int delta);
  void ChangeBrightness(int delta);
  void SetCharset(uint8_t charset);

 protected:
  // Fill and caption with the given colour and font, then the children.
  void PaintAs(TCanvas& canvas, const TRect& clip, TColor color, const TSeFont& font);
  void PaintCaption(TCanvas& canvas, const TSeFont& font);
  void PaintChildren(TCanvas& canvas, const TRect& clip);
  // Sets State on the subtree below this object, not on the object itself.
  void SetChildrenState(uint8_t state);
  bool Empty() const { return Width <= 0 || Height <= 0; }
  bool Intersects(const TRect& clip) const;

 private:
  friend void BindSkinTrees(const TSeObjectList&, TteBitmapList*, bool);
  friend std::unique_ptr<TSeSkinObject> ReadSkinObject(QByteArrayView, QByteArrayView, bool,
                                                       TSeSkinObject*, TSeReadLimits&);
  void ShiftColors(TColor (*shift)(TColor, int), int delta);
  void BindTo(TteBitmapList* list, const TSeImageIndex& index);
  void PrepareWith(const TSeImageIndex& index);
  TSeSkinObject* parent_ = nullptr;
  TSeObjectList children_;
};

// Binds every tree to the list's images (as BindBitmapList does) and, with prepare, runs
// the image analysis (as Prepare does), looking names up in one index for all trees.
void BindSkinTrees(const TSeObjectList& roots, TteBitmapList* list, bool prepare);

// Creates a registered skin-object class by its exact name; null for an unknown name.
std::unique_ptr<TSeSkinObject> CreateSkinObject(QByteArrayView className, TSeSkinObject* owner);
// The class names in registration order.
const std::vector<const char*>& SkinObjectClassNames();
// True for an identifier (a letter or underscore, then letters, digits, underscores) and
// for the empty name.
bool IsComponentName(QByteArrayView name);
// The registered class a stored class name stands for: the exact name, else (for names
// longer than 3 characters) with characters 2-3 replaced by "Se", then by "Tw".
QByteArray ResolveSkinClassName(QByteArrayView className);

// One object record of a stream: the class name was read already; the object's form is
// text or binary. An unknown class gives null (the record's bytes are consumed by the
// caller, who counted them). Fonts of the subtree get character set 1.
std::unique_ptr<TSeSkinObject> ReadSkinObject(QByteArrayView className, QByteArrayView form,
                                              bool binary, TSeSkinObject* owner,
                                              TSeReadLimits& limits);

class TSeActiveObject : public TSeSkinObject {
 public:
  using TSeSkinObject::TSeSkinObject;
  const char* ClassName() const override { return "TSeActiveObject"; }
  TColor ActiveColor = clWhite;
  TSeFont ActiveFont, DisabledFont;
  void VisitProperties(TSePropertyVisitor& v) override;
  const TSeFont& GetFont() override;
  const TSeFont& FontForState(uint8_t state) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeBitmapObject : public TSeSkinObject {
 public:
  using TSeSkinObject::TSeSkinObject;
  const char* ClassName() const override { return "TSeBitmapObject"; }
  TteBitmapLink Bitmap;
  TscTileStyle TileStyle = tsTile;
  TscTileStyle BorderTileStyle = tsTile;
  bool MaskedBorder = true;
  bool MaskedAngles = true;
  void VisitProperties(TSePropertyVisitor& v) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
  std::optional<QRegion> CreateRegion() override;

 protected:
  // Paints with image in place of Bitmap (the state swaps of the derived classes).
  void PaintWith(TCanvas& canvas, const TRect& clip, TteBitmapLink& image, const TSeFont& font);
};

class TSeActiveBitmap : public TSeBitmapObject {
 public:
  using TSeBitmapObject::TSeBitmapObject;
  const char* ClassName() const override { return "TSeActiveBitmap"; }
  TteBitmapLink ActiveBitmap;
  TSeFont ActiveFont;
  void VisitProperties(TSePropertyVisitor& v) override;
  const TSeFont& GetFont() override;
  const TSeFont& FontForState(uint8_t state) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeSystemButton : public TSeActiveBitmap {
 public:
  explicit TSeSystemButton(TSeSkinObject* owner = nullptr);
  const char* ClassName() const override { return "TSeSystemButton"; }
  TSeAction Action = sbaNone;
  TteBitmapLink BitmapHot, BitmapPressed;
  uint8_t ButtonState = 0;  // 0 normal, 1 hot, 2 pressed
  void VisitProperties(TSePropertyVisitor& v) override;
  void Assign(const TSeSkinObject& source) override;
  void SetButtons(uint16_t buttons) override;
  void SetState(uint8_t state) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeButtonObject : public TSeBitmapObject {
 public:
  using TSeBitmapObject::TSeBitmapObject;
  const char* ClassName() const override { return "TSeButtonObject"; }
  TteBitmapLink BitmapFocused, BitmapHot, BitmapPressed, BitmapDisabled;
  void VisitProperties(TSePropertyVisitor& v) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeTextObject : public TSeSkinObject {
 public:
  using TSeSkinObject::TSeSkinObject;
  const char* ClassName() const override { return "TSeTextObject"; }
  TSeFont FontHot, FontFocused, FontPressed, FontDisabled;
  void VisitProperties(TSePropertyVisitor& v) override;
  const TSeFont& GetFont() override;
  const TSeFont& FontForState(uint8_t state) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeLinkSkinObject : public TSeSkinObject {
 public:
  using TSeSkinObject::TSeSkinObject;
  const char* ClassName() const override { return "TSeLinkSkinObject"; }
  QString LinkControl;
  void VisitProperties(TSePropertyVisitor& v) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeActiveSkinObject : public TSeSkinObject {
 public:
  using TSeSkinObject::TSeSkinObject;
  const char* ClassName() const override { return "TSeActiveSkinObject"; }
  TColor ActiveColor = clWhite;
  TSeFont ActiveFont;
  void VisitProperties(TSePropertyVisitor& v) override;
  const TSeFont& FontForState(uint8_t state) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeBitmapSkinObject : public TSeSkinObject {
 public:
  using TSeSkinObject::TSeSkinObject;
  const char* ClassName() const override { return "TSeBitmapSkinObject"; }
  TteBitmapLink Bitmap;
  TscTileStyle TileStyle = tsTile;
  void VisitProperties(TSePropertyVisitor& v) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;

 protected:
  void PaintWith(TCanvas& canvas, TteBitmapLink& image);
};

class TSeFormBitmapSkinObject : public TSeBitmapSkinObject {
 public:
  using TSeBitmapSkinObject::TSeBitmapSkinObject;
  const char* ClassName() const override { return "TSeFormBitmapSkinObject"; }
  TteBitmapLink InactiveBitmap;
  void VisitProperties(TSePropertyVisitor& v) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeSysButtonSkinObject : public TSeBitmapSkinObject {
 public:
  using TSeBitmapSkinObject::TSeBitmapSkinObject;
  const char* ClassName() const override { return "TSeSysButtonSkinObject"; }
  TSeAction Action = sbaNone;
  TteBitmapLink BitmapDown, BitmapHover;
  QString RollPanel;
  uint8_t ButtonState = 0;  // 0 normal, 1 hover, 2 down
  void VisitProperties(TSePropertyVisitor& v) override;
  void Assign(const TSeSkinObject& source) override;
  void SetButtons(uint16_t buttons) override;
  void SetState(uint8_t state) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeColorButtonObject : public TSeSkinObject {
 public:
  using TSeSkinObject::TSeSkinObject;
  const char* ClassName() const override { return "TSeColorButtonObject"; }
  TColor HotColor = clWhite, PressedColor = clWhite, FocusedColor = clWhite,
         DisabledColor = clWhite;
  TSeFont HotFont, PressedFont, FocusedFont, DisabledFont;
  void VisitProperties(TSePropertyVisitor& v) override;
  const TSeFont& FontForState(uint8_t state) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeBitmapBoxObject : public TSeBitmapSkinObject {
 public:
  using TSeBitmapSkinObject::TSeBitmapSkinObject;
  const char* ClassName() const override { return "TSeBitmapBoxObject"; }
  TscTileStyle BorderTileStyle = tsTile;
  void VisitProperties(TSePropertyVisitor& v) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;

 protected:
  void PaintBox(TCanvas& canvas, TteBitmapLink& image);
};

class TSeActiveBitmapBoxObject : public TSeBitmapBoxObject {
 public:
  using TSeBitmapBoxObject::TSeBitmapBoxObject;
  const char* ClassName() const override { return "TSeActiveBitmapBoxObject"; }
  TteBitmapLink FocusedBitmap;
  void VisitProperties(TSePropertyVisitor& v) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeButtonBitmapBoxObject : public TSeBitmapBoxObject {
 public:
  using TSeBitmapBoxObject::TSeBitmapBoxObject;
  const char* ClassName() const override { return "TSeButtonBitmapBoxObject"; }
  TteBitmapLink FocusedBitmap, HotBitmap, PressedBitmap, DisabledBitmap;
  void VisitProperties(TSePropertyVisitor& v) override;
  void Paint(TCanvas& canvas, const TRect& clip) override;
};

class TSeRollPanelObject : public TSeSkinObject {
 public:
  using TSeSkinObject::TSeSkinObject;
  const char* ClassName() const override { return "TSeRollPanelObject"; }
  TSeRollKind RollKind = rkLeft;
  int32_t RollValue = 0;
  void VisitProperties(TSePropertyVisitor& v) override;
};
