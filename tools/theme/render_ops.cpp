// The table of paint operations the theme tool renders: every operation whose info
// record the options can fill (glyph operations that need a caller's bitmap are left out).
#include "render_ops.h"

#include <algorithm>

namespace {

using P = RenderParams;

TRect Box(const P& p) { return {0, 0, p.Width, p.Height}; }
uint8_t B(int v) { return uint8_t(v); }

// Captions are laid out centred on one line in the font the theme keeps for them.
TteTextInfo Text(const P& p) {
  return TextInfo(Box(p), p.Caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
void UseFont(TteTheme& t, TCanvas& c, int index, const P& p) {
  c.Font = t.Fonts().GetObjectFont(index, p.Object);
}

std::vector<int> Range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

const std::vector<int> kNone{0};

std::vector<RenderOp> MakeOps() {
  const std::vector<int> buttonStates{0, 1, 2, 3, 4, 6};
  const std::vector<int> checkStates{0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13};
  const std::vector<int> editStates{0, 1, 2, 4, 5, 6};
  const std::vector<int> four = Range(0, 3);
  std::vector<RenderOp> ops = {
      {"PaintText", 120, 40, "orientation", kNone, {0, 1, 2}, Range(0, 8),
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfStaticTextNormal, p);
         TteTextInfo ti = Text(p);
         ti.Options = ktoSingleLine;
         ti.Alignment = B(p.State);  // --state picks the alignment here
         ti.Orientation = B(p.Part);
         t.PaintText(c, ti);
       }},
      {"PaintWindow", 200, 120, "", {0, 1, 2, 4, 6}, kNone, {0, 1},
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintWindow(B(p.Kind), c, WindowInfo(Box(p), p.Active, p.Buttons, p.Caption), p.Object);
       },
       true},
      {"PaintWindowClient", 80, 40, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintWindowClient(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintWindowCaption", 160, 24, "", kNone, kNone, {0, 1},
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintWindowCaption(B(p.Kind), c, WindowInfo(Box(p), p.Active, p.Buttons, p.Caption),
                              Box(p), p.Object);
       },
       true},
      {"PaintWindowButton", 22, 18, "button", kNone, Range(0, 9), four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintWindowButton(B(p.Kind), c, WindowButtonInfo(Box(p), B(p.Part), B(p.State), nullptr),
                             p.Object);
       }},
      {"PaintWindowGripper", 20, 20, "", kNone, kNone, {0, 1},
       [](TteTheme& t, TCanvas& c, const P& p) {
         // --state 1 shows the grip mark.
         t.PaintWindowGripper(B(p.Kind), c, GripInfo(Box(p), p.State != 0), p.Object);
       }},
      {"PaintHint", 80, 30, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintHint(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintLabelText", 80, 24, "", kNone, kNone, {0, 2},
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, p.State == klsDisabled ? kfStaticTextDisabled : kfStaticTextNormal, p);
         t.PaintLabelText(B(p.Kind), c, B(p.State), Text(p), p.Object);
       }},
      {"PaintPanel", 80, 40, "", {0, 1}, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintPanel(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintPanelPart", 40, 24, "part", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintPanelPart(B(p.Kind), c, StateWordInfo(Box(p), B(p.State), B(p.Part)), p.Object);
       }},
      {"PaintPanelText", 80, 24, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfPanelTextNormal, p);
         t.PaintPanelText(B(p.Kind), c, Box(p), Text(p), p.Object);
       }},
      {"PaintButton", 75, 25, "", {0, 2, 4, 5, 6, 7}, kNone, buttonStates,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintButton(B(p.Kind), c, ButtonInfo(Box(p), B(p.State)), p.Object);
       }},
      {"PaintButtonText", 75, 25, "", kNone, kNone, buttonStates,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, p.State == kbsDisabled ? kfButtonTextDisabled : kfButtonTextNormal, p);
         t.PaintButtonText(B(p.Kind), c, ButtonInfo(Box(p), B(p.State)), Text(p), p.Object);
       }},
      {"PaintCheckBox", 13, 13, "", {0, 1}, kNone, checkStates,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintCheckBox(B(p.Kind), c, CheckBoxInfo(Box(p), B(p.State)), p.Object);
       }},
      {"PaintCheckBoxText", 80, 20, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfCheckBoxTextNormal, p);
         t.PaintCheckBoxText(B(p.Kind), c, CheckBoxInfo(Box(p), B(p.State)), Text(p), p.Object);
       }},
      {"PaintSplitter", 8, 40, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintSplitter(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintScrollBar", 17, 60, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintScrollBar(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintScrollBarPart", 17, 17, "part", kNone, {0, 1, 4, 5, 8, 9}, four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintScrollBarPart(B(p.Kind), c, ScrollPartInfo(Box(p), B(p.State), B(p.Part)), p.Object);
       }},
      {"PaintScrollBarTrack", 17, 40, "track", kNone, {0, 1}, four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintScrollBarTrack(B(p.Kind), c, ScrollPartInfo(Box(p), B(p.State), B(p.Part)),
                               p.Object);
       }},
      {"PaintProgressBar", 100, 18, "part", kNone, Range(0, 5), kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintProgressBar(B(p.Kind), c, ProgressInfo(Box(p), B(p.Part)), p.Object);
       }},
      {"PaintTrackBar", 100, 30, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintTrackBar(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintTrackBarTrack", 100, 8, "direction", kNone, {0, 1}, {0, 1},
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintTrackBarTrack(B(p.Kind), c, StateWordInfo(Box(p), B(p.Part), B(p.State)), p.Object);
       }},
      {"PaintTrackBarThumb", 11, 20, "thumb", kNone, Range(0, 5), Range(0, 4),
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintTrackBarThumb(B(p.Kind), c, StateWordInfo(Box(p), B(p.Part), B(p.State)), p.Object);
       }},
      {"PaintHeader", 120, 20, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintHeader(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintHeaderSection", 60, 20, "position", kNone, {0, 1, 2}, Range(0, 6),
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintHeaderSection(B(p.Kind), c, HeaderSectionInfo(Box(p), B(p.Part), B(p.State)),
                              p.Object);
       }},
      {"PaintHeaderSectionText", 60, 20, "position", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfHeaderSectionTextNormal, p);
         t.PaintHeaderSectionText(B(p.Kind), c, HeaderSectionInfo(Box(p), B(p.Part), B(p.State)),
                                  Text(p), p.Object);
       }},
      {"PaintStatusBar", 160, 20, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintStatusBar(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintStatusPanel", 60, 20, "panel kind", kNone, {0, 2, 3}, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintStatusPanel(B(p.Kind), c, StatusPanelInfo(Box(p), B(p.Part)), p.Object);
       }},
      {"PaintStatusPanelText", 60, 20, "panel kind", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfStatusPanelTextNormal, p);
         t.PaintStatusPanelText(B(p.Kind), c, StatusPanelInfo(Box(p), B(p.Part)), Text(p), p.Object);
       }},
      {"PaintEdit", 80, 21, "", {0, 5, 6}, kNone, editStates,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintEdit(B(p.Kind), c, EditInfo(Box(p), B(p.State)), p.Object);
       }},
      {"PaintEditButton", 17, 17, "glyph", kNone, {0, 2, 3}, {0, 1, 2, 4},
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintEditButton(B(p.Kind), c, EditButtonInfo(Box(p), B(p.State), B(p.Part)), p.Object);
       }},
      {"PaintGroupBox", 100, 60, "", kNone, kNone, {0, 1},
       [](TteTheme& t, TCanvas& c, const P& p) {
         // The erase rectangle is the caption's gap in the frame, kept as it was.
         const TRect box = Box(p);
         const TRect gap{box.Left + 8, box.Top, std::min(box.Left + 48, box.Right), box.Top + 4};
         t.PaintGroupBox(B(p.Kind), c, GroupBoxInfo(box, gap, B(p.State)), p.Object);
       }},
      {"PaintGroupBoxText", 100, 20, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfGroupBoxTextNormal, p);
         t.PaintGroupBoxText(B(p.Kind), c, GroupBoxInfo(Box(p), Box(p), B(p.State)), Text(p),
                             p.Object);
       }},
      {"PaintTextArea", 80, 40, "", kNone, kNone, Range(0, 5),
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintTextArea(B(p.Kind), c, TteRectByteInfo{Box(p), B(p.State)}, p.Object);
       }},
      {"PaintTextAreaPart", 40, 20, "part", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintTextAreaPart(B(p.Kind), c, TteRectByteInfo{Box(p), B(p.Part)}, p.Object);
       }},
      {"PaintMenu", 100, 60, "", {0, 1}, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintMenu(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintMenuItem", 80, 20, "item kind", kNone, {0, 1, 3, 4, 7, 8, 9}, four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintMenuItem(B(p.Kind), c, MenuItemInfo(Box(p), B(p.Part), B(p.State)), p.Object);
       }},
      {"PaintMenuItemText", 80, 20, "item kind", kNone, kNone, four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, p.State == kmisDisabled ? kfMenuItemTextDisabled : kfMenuItemTextNormal, p);
         t.PaintMenuItemText(B(p.Kind), c, MenuItemInfo(Box(p), B(p.Part), B(p.State)), Text(p),
                             p.Object);
       }},
      {"PaintMenuItemGlyph", 20, 20, "glyph kind", kNone, {0, 1, 2}, four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfMenuItemTextNormal, p);
         t.PaintMenuItemGlyph(B(p.Kind), c, MenuItemInfo(Box(p), kmikItem, B(p.State)),
                              ItemGlyphInfo(Box(p), nullptr, B(p.State), B(p.Part)), p.Object);
       }},
      {"PaintDock", 120, 30, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintDock(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintTool", 120, 30, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintTool(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintToolButton", 24, 22, "button kind", kNone, {0, 1, 3, 4, 5, 8, 10, 11, 12, 13, 14},
       {0, 1, 2, 3, 5, 6},
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintToolButton(B(p.Kind), c, ToolButtonInfo(Box(p), B(p.Part), B(p.State)), p.Object);
       }},
      {"PaintToolButtonText", 60, 22, "button kind", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfToolItemTextNormal, p);
         t.PaintToolButtonText(B(p.Kind), c, ToolButtonInfo(Box(p), B(p.Part), B(p.State)), Text(p),
                               p.Object);
       }},
      {"PaintToolButtonGlyph", 20, 20, "glyph kind", kNone, {0, 1, 2}, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfToolItemTextNormal, p);
         t.PaintToolButtonGlyph(B(p.Kind), c, ToolButtonInfo(Box(p), 0, B(p.State)),
                                ItemGlyphInfo(Box(p), nullptr, B(p.State), B(p.Part)), p.Object);
       }},
      {"PaintScrollBox", 80, 40, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintScrollBox(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintCollapsePanel", 100, 60, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintCollapsePanel(B(p.Kind), c, Box(p), p.Object);
       }},
      {"PaintCollapsePanelCaption", 100, 20, "", kNone, kNone, four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintCollapsePanelCaption(B(p.Kind), c, TteRectByteInfo{Box(p), B(p.State)}, p.Object);
       }},
      {"PaintCollapsePanelButton", 16, 16, "button", kNone, {1, 2, 3}, four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintCollapsePanelButton(B(p.Kind), c, StateWordInfo(Box(p), B(p.Part), B(p.State)),
                                    p.Object);
       }},
      {"PaintCollapsePanelPart", 40, 20, "part", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintCollapsePanelPart(B(p.Kind), c, StateWordInfo(Box(p), B(p.Part), B(p.State)),
                                  p.Object);
       }},
      {"PaintCollapsePanelText", 100, 20, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfPanelTextNormal, p);
         t.PaintCollapsePanelText(B(p.Kind), c, Text(p), p.Object);
       }},
      {"PaintTabPage", 120, 60, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintTabPage(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintTab", 60, 22, "tab kind", kNone, Range(0, 11), Range(0, 5),
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintTab(B(p.Kind), c, TabInfo(Box(p), B(p.Part), B(p.State)), p.Object);
       }},
      {"PaintTabScrollButton", 16, 16, "glyph", kNone, Range(0, 4), four,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintTabScrollButton(B(p.Kind), c, StateWordInfo(Box(p), B(p.Part), B(p.State)),
                                p.Object);
       }},
      {"PaintTabText", 60, 22, "tab kind", kNone, kNone, Range(0, 5),
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfTabTextInactiveNormal + std::min(p.State, 5), p);
         t.PaintTabText(B(p.Kind), c, TabInfo(Box(p), B(p.Part), B(p.State)), Text(p), p.Object);
       }},
      {"PaintList", 100, 60, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintList(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintListPart", 100, 20, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintListPart(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintListItem", 100, 18, "", kNone, kNone, Range(0, 4),
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintListItem(B(p.Kind), c, ListItemInfo(Box(p), B(p.State)), p.Object);
       }},
      {"PaintListItemText", 100, 18, "", kNone, kNone, Range(0, 4),
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfListItemTextNormal + std::min(p.State, 4), p);
         t.PaintListItemText(B(p.Kind), c, ListItemInfo(Box(p), B(p.State)), Text(p), p.Object);
       }},
      {"PaintListItemCheck", 20, 20, "check kind", kNone, {0, 1, 2}, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintListItemCheck(B(p.Kind), c, ListItemInfo(Box(p), B(p.State)),
                              ListCheckInfo(Box(p), B(p.Part)), p.Object);
       }},
      {"PaintTree", 100, 60, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintTree(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintTreeItem", 100, 18, "", kNone, kNone, Range(0, 4),
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintTreeItem(B(p.Kind), c, ListItemInfo(Box(p), B(p.State)), p.Object);
       }},
      {"PaintTreeItemText", 100, 18, "", kNone, kNone, Range(0, 4),
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfListItemTextNormal + std::min(p.State, 4), p);
         t.PaintTreeItemText(B(p.Kind), c, ListItemInfo(Box(p), B(p.State)), Text(p), p.Object);
       }},
      {"PaintGrid", 100, 60, "", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) { t.PaintGrid(B(p.Kind), c, Box(p), p.Object); }},
      {"PaintGridCell", 60, 18, "fixed", kNone, {0, 1}, Range(0, 4),
       [](TteTheme& t, TCanvas& c, const P& p) {
         t.PaintGridCell(B(p.Kind), c, StateWordInfo(Box(p), B(p.State), B(p.Part)), p.Object);
       }},
      {"PaintGridCellText", 60, 18, "fixed", kNone, kNone, kNone,
       [](TteTheme& t, TCanvas& c, const P& p) {
         UseFont(t, c, kfStaticTextNormal, p);
         t.PaintGridCellText(B(p.Kind), c, StateWordInfo(Box(p), B(p.State), B(p.Part)), Text(p),
                             p.Object);
       }},
  };
  return ops;
}

}  // namespace

const std::vector<RenderOp>& RenderOps() {
  static const std::vector<RenderOp> ops = MakeOps();
  return ops;
}

const RenderOp* FindRenderOp(const QString& name) {
  for (const RenderOp& op : RenderOps())
    if (name.compare(QLatin1String(op.Name), Qt::CaseInsensitive) == 0) return &op;
  return nullptr;
}

std::vector<SheetCell> MakeSheetCells() {
  std::vector<SheetCell> cells;
  for (const RenderOp& op : RenderOps())
    for (int kind : op.Kinds)
      for (int part : op.Parts)
        for (int s : op.States) {
          RenderParams p;
          p.Kind = kind;
          p.Part = part;
          p.State = s;
          p.Width = op.DefaultWidth;
          p.Height = op.DefaultHeight;
          if (op.StatesAreActive) p.Active = s != 0;
          auto bitmap = std::make_unique<TteBitmap>();
          bitmap->SetSize(p.Width, p.Height);
          cells.push_back({&op, p, std::move(bitmap)});
        }
  return cells;
}

void PaintSheetCells(TteTheme& theme, std::vector<SheetCell>& cells) {
  for (SheetCell& c : cells) {
    c.Bitmap->Fill(0);
    c.Op->Paint(theme, c.Bitmap->Canvas(), c.Params);
  }
}
