// TmsuxThemeObject: one element of a packed visual-style theme (one INI section) with
// its parsed fields and image links, and the fixed list of sections a theme builds.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "te_bitmap.h"
#include "theme_msuxtypes.h"

// The sections every build makes an object for, in build order: first those the
// painting uses, then those only read.
enum TmsuxSection : int {
  kmsWindow,  // Window
  kmsWindowCaption,  // Window.Caption
  kmsWindowFrameLeft,  // Window.FrameLeft
  kmsWindowFrameRight,  // Window.FrameRight
  kmsWindowFrameBottom,  // Window.FrameBottom
  kmsWindowCloseButton,  // Window.CloseButton
  kmsWindowHelpButton,  // Window.HelpButton
  kmsWindowMaxButton,  // Window.MaxButton
  kmsWindowMinButton,  // Window.MinButton
  kmsWindowRestoreButton,  // Window.RestoreButton
  kmsWindowSmallCaption,  // Window.SmallCaption
  kmsWindowSmallFrameLeft,  // Window.SmallFrameLeft
  kmsWindowSmallFrameRight,  // Window.SmallFrameRight
  kmsWindowSmallFrameBottom,  // Window.SmallFrameBottom
  kmsWindowSmallCloseButton,  // Window.SmallCloseButton
  kmsWindowCaptionActive,  // Window.Caption(Active)
  kmsWindowCaptionInactive,  // Window.Caption(Inactive)
  kmsWindowMDIMinButton,  // Window.MDIMinButton
  kmsWindowMDICloseButton,  // Window.MDICloseButton
  kmsWindowMDIRestoreButton,  // Window.MDIRestoreButton
  kmsButtonPushbutton,  // Button.Pushbutton
  kmsButtonPushbuttonDisabled,  // Button.Pushbutton(Disabled)
  kmsSpinUp,  // Spin.Up
  kmsSpinDown,  // Spin.Down
  kmsSpinUphorz,  // Spin.Uphorz
  kmsSpinDownhorz,  // Spin.Downhorz
  kmsButtonCheckbox,  // button.checkbox
  kmsButtonRadiobutton,  // button.radiobutton
  kmsScrollBarArrowBtn,  // ScrollBar.ArrowBtn
  kmsScrollBarThumbBtnHorz,  // ScrollBar.ThumbBtnHorz
  kmsScrollBarThumbBtnVert,  // ScrollBar.ThumbBtnVert
  kmsScrollBarGripperHorz,  // ScrollBar.GripperHorz
  kmsScrollBarGripperVert,  // ScrollBar.GripperVert
  kmsScrollBarUpperTrackHorz,  // ScrollBar.UpperTrackHorz
  kmsScrollBarUpperTrackVert,  // ScrollBar.UpperTrackVert
  kmsProgress,  // Progress
  kmsProgressBar,  // Progress.Bar
  kmsProgressBarVert,  // Progress.BarVert
  kmsProgressChunk,  // Progress.Chunk
  kmsProgressChunkVert,  // Progress.ChunkVert
  kmsTrackBar,  // TrackBar
  kmsTrackBarThumb,  // TrackBar.Thumb
  kmsTrackBarThumbTop,  // TrackBar.ThumbTop
  kmsTrackBarThumbBottom,  // TrackBar.ThumbBottom
  kmsTrackBarThumbVert,  // TrackBar.ThumbVert
  kmsTrackBarThumbLeft,  // TrackBar.ThumbLeft
  kmsTrackBarThumbRight,  // TrackBar.ThumbRight
  kmsTrackBarTrack,  // TrackBar.Track
  kmsTrackBarTrackVert,  // TrackBar.TrackVert
  kmsButtonGroupbox,  // button.groupbox
  kmsEdit,  // edit
  kmsEditEdittextDisabled,  // edit.edittext(disabled)
  kmsEditEdittextReadonly,  // edit.edittext(readonly)
  kmsCombobox,  // combobox
  kmsComboboxDisabled,  // combobox(disabled)
  kmsComboboxDropDownButton,  // Combobox.DropDownButton
  kmsHeader,  // header
  kmsHeaderHeaderitem,  // header.headeritem
  kmsStatus,  // status
  kmsStatusPane,  // status.pane
  kmsStatusGripperpane,  // status.gripperpane
  kmsStatusGripper,  // status.gripper
  kmsRebar,  // rebar
  kmsRebarGripper,  // rebar.gripper
  kmsRebarGrippervert,  // rebar.grippervert
  kmsToolbarButton,  // toolbar.button
  kmsToolbarSeparator,  // toolbar.separator
  kmsToolbarDropdownbutton,  // toolbar.dropdownbutton
  kmsToolbarSplitbutton,  // toolbar.splitbutton
  kmsToolbarSplitbuttondropdown,  // toolbar.splitbuttondropdown
  kmsTab,  // tab
  kmsTabPane,  // tab.pane
  kmsTabToptabitem,  // tab.toptabitem
  kmsTabToptabitemleftedge,  // tab.toptabitemleftedge
  kmsExplorerbar,  // explorerbar
  kmsExplorerbarSpecialGroupBackground,  // explorerbar.SpecialGroupBackground
  kmsExplorerbarNormalGroupCollapse,  // explorerbar.NormalGroupCollapse
  kmsExplorerbarNormalGroupExpand,  // explorerbar.NormalGroupExpand
  kmsExplorerbarNormalGroupHead,  // explorerbar.NormalGroupHead
  kmsExplorerbarHeaderclose,  // explorerbar.headerclose
  kmsListview,  // listview
  kmsWindowSysButton,  // Window.SysButton
  kmsButtonPushbuttonDefaulted,  // Button.Pushbutton(Defaulted)
  kmsSpin,  // Spin
  kmsButtonCheckboxCheckeddisabled,  // Button.checkbox(checkeddisabled)
  kmsButtonCheckboxMixeddisabled,  // Button.checkbox(mixeddisabled)
  kmsButtonRadiobuttonCheckeddisabled,  // Button.radiobutton(checkeddisabled)
  kmsScrollBarLowerTrackHorz,  // ScrollBar.LowerTrackHorz
  kmsScrollBarLowerTrackVert,  // ScrollBar.LowerTrackVert
  kmsTrackBarTics,  // TrackBar.Tics
  kmsComboboxHot,  // combobox(hot)
  kmsRebarBand,  // rebar.band
  kmsRebarChevron,  // rebar.chevron
  kmsRebarChevronvert,  // rebar.chevronvert
  kmsToolbar,  // toolbar
  kmsTabBody,  // tab.body
  kmsTabToptabitemrightedge,  // tab.toptabitemrightedge
};
inline constexpr int kMsuxSectionCount = 97;
// The section's name as the theme writes it (matching ignores case).
const char* MsuxSectionName(int section);

struct TmsuxObjectProp {
  QString Name;  // lower case
  QString Value;
};

// Where an element's links find their images. For a theme read from a resource
// library, LoadMissing supplies an image the list does not have yet (named in upper
// case); packed themes leave it empty.
struct TmsuxImageStore {
  TteBitmapList* Images = nullptr;
  std::function<std::unique_ptr<TteBitmap>(const QString& upperName)> LoadMissing;
};

// The pieces of a nine-grid besides the corners.
enum TmsuxGridPiece : int { kgpLeft = 0, kgpTop = 1, kgpRight = 2, kgpBottom = 3, kgpCentre = 4 };
// Piece which of r cut by the margins m (negative margins count as 0). A piece that
// comes out zero or less wide or high is widened by one pixel inside r where it can
// be, so a zero margin still gives a one-pixel edge strip; the result is clamped to
// 32 bits rather than overflowing.
TRect NineGridPiece(const TRect& r, const TmsuxMargins& m, int which);

class TmsuxThemeObject {
 public:
  static constexpr int kMaxProps = 51;

  QString SectionName;
  TColor FillColor = clNone;
  TColor FillColorHint = 0;
  TColor TextColor = 0;
  TColor BorderColor = 0;
  int32_t BorderSize = 0;
  TColor TransparentColor = RGB(255, 0, 255);
  bool Transparent = false;
  TmsuxBgType BgType = kbtUnset;
  TteBitmapLink ImageFile, ImageFile1, ImageFile2, ImageFile3, GlyphImageFile;
  int32_t ImageCount = 1;
  bool ImageLayoutHorizontal = true;
  TmsuxImageSelectType ImageSelectType = kistNone;
  TmsuxImageTransparency ImageTransparency = kitOpaque;
  TmsuxSizingType SizingType = kstStretch;
  TmsuxMargins SizingMargins, ContentMargins, CaptionMargins;
  TmsuxContentAlignment ContentAlignment = kcaLeft;
  bool GlyphTransparent = false;
  bool GlyphTypeImage = false;
  TmsuxTextShadowType TextShadowType = ktstNone;
  TColor TextShadowColor = RGB(40, 40, 40);
  TmsuxPoint TextShadowOffset;
  const TteBitmapLink* LastLink = nullptr;  // the link the last paint used

  // Reads the section's keys in order (of a repeated key only its first entry), sets
  // the fields, binds the image links and prepares the images for transparency. An
  // absent section leaves the defaults.
  void LoadFromIni(const TmsuxIni& ini, const QString& section, const TmsuxImageStore& store);
  // Defined when the section gave at least one key.
  bool IsDefined() const { return !props_.empty(); }
  // Case-insensitive; null when absent.
  const TmsuxObjectProp* FindProp(const QString& name) const;
  const std::vector<TmsuxObjectProp>& Props() const { return props_; }

  // Binds link to the image named after fileName; answers the image name.
  QString BindImage(TteBitmapLink& link, const QString& fileName, bool background,
                    const TmsuxImageStore& store);
  void PrepareTransparency();
  // Narrows link to frame a (1-based, clamped to ImageCount); nothing for a <= 0 or
  // ImageCount <= 0.
  void SelectFrame(TteBitmapLink& link, int a) const;
  // The image link a paint into dest showing frame a would draw, narrowed to that
  // frame; null when the element draws no image. Paints nothing.
  TteBitmapLink* FrameLink(const TRect& dest, int a);
  // ImageFile1, or the last of ImageFile2 and ImageFile3 whose image is narrower than
  // the destination's content width.
  TteBitmapLink& SelectBySize(const TRect& dest);

  // Paints the element into dest showing frame a (1-based): its background by BgType,
  // an image by SizingType and SizingMargins, then its glyph. With a non-empty clip the
  // centre, edges and true-size image are drawn only when the clip lies wholly inside
  // their destination. Images' flags are changed while painting and put back after.
  void Paint(TCanvas& canvas, const TRect& dest, int a, const TRect& clip = {});

 private:
  void ApplyKey(const QString& key, QString& value, const TmsuxImageStore& store);
  void StoreProp(const QString& key, const QString& value);
  // Frame a (1-based, not clamped; ImageCount > 0) of link's image along the layout.
  void NarrowToFrame(TteBitmapLink& link, int a) const;
  std::vector<TmsuxObjectProp> props_;
};
