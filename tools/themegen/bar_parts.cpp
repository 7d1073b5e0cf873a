// Bars and their items: list header, status bar, rebar and tool bar, tabs, and the
// explorer bar's collapsible groups.
#include "parts.h"
#include "shapes.h"

namespace {

using Section = ThemeOutput::Section;

const QString kStretch = QStringLiteral("stretch");
const QString kTrueSize = QStringLiteral("truesize");

// A flat band with a one-pixel line on one edge (bottom or top).
QImage Band(const QColor& fill, const QColor& line, bool lineAtTop) {
  return Strip(8, 8, 1, [&](int, QPainter& p) {
    p.fillRect(QRect(0, 0, 8, 8), fill);
    const int y = lineAtTop ? 0 : 7;
    PixelLine(p, 0, y, 7, y, line);
  });
}

// Column headers on the list's own background, separated by short lines; frames
// normal, hot, pressed.
void AddHeader(ThemeOutput& out, const ThemeDesign& d) {
  SetImage(out.AddSection(QStringLiteral("header")),
           out.AddImage(QStringLiteral("header.png"), Band(d.Window, d.Border, false), ImageKind::Alpha), 1,
           kStretch, Margins(0, 0, 0, 1));
  constexpr int w = 12, h = 20;
  const QColor fill[3] = {d.Window, d.Hover, d.Pressed};
  const QImage item = Strip(w, h, 3, [&](int i, QPainter& p) {
    p.fillRect(QRect(0, 0, w, h), fill[i]);
    PixelLine(p, w - 1, 4, w - 1, h - 5, Mix(d.Border, fill[i], 0.25));
    PixelLine(p, 0, h - 1, w - 1, h - 1, d.Border);
  });
  SetImage(out.AddSection(QStringLiteral("header.headeritem")),
           out.AddImage(QStringLiteral("headeritem.png"), item, ImageKind::Alpha), 3, kStretch,
           Margins(2, 2, 5, 5));
}

void AddStatusBar(ThemeOutput& out, const ThemeDesign& d) {
  SetImage(out.AddSection(QStringLiteral("status")),
           out.AddImage(QStringLiteral("status.png"), Band(d.Face, d.Border, true), ImageKind::Alpha), 1,
           kStretch, Margins(0, 0, 1, 0));
  // Panes lie on the bar and end in a short separator; the last pane, which holds
  // the size grip, has none.
  const QImage pane = Strip(12, 12, 1, [&](int, QPainter& p) { PixelLine(p, 11, 3, 11, 8, d.Border); });
  SetImage(out.AddSection(QStringLiteral("status.pane")),
           out.AddImage(QStringLiteral("statuspane.png"), pane, ImageKind::Alpha), 1, kStretch,
           Margins(2, 2, 3, 3));
  out.AddSection(QStringLiteral("status.gripperpane")).Set(QStringLiteral("Bgtype"), QStringLiteral("none"));
  // Six dots stacked into a triangle towards the bottom-right corner.
  const QColor dot = Mix(d.Border, d.Text, 0.3);
  const QImage grip = Strip(11, 11, 1, [&](int, QPainter& p) {
    for (int row = 0; row < 3; ++row)
      for (int col = 2 - row; col < 3; ++col) p.fillRect(QRect(1 + 4 * col, 1 + 4 * row, 2, 2), dot);
  });
  SetImage(out.AddSection(QStringLiteral("status.gripper")),
           out.AddImage(QStringLiteral("statusgripper.png"), grip, ImageKind::Alpha), 1, kTrueSize);
}

// The dock behind tool bars, and the dotted grips of its bands.
void AddRebar(ThemeOutput& out, const ThemeDesign& d) {
  SetImage(out.AddSection(QStringLiteral("rebar")),
           out.AddImage(QStringLiteral("rebar.png"), Band(d.Face, d.Border, false), ImageKind::Alpha), 1,
           kStretch, Margins(0, 0, 0, 1));
  const QColor dot = Mix(d.Border, d.Text, 0.3);
  auto grip = [&](bool vertical) {
    return Strip(vertical ? 14 : 2, vertical ? 2 : 14, 1, [&, vertical](int, QPainter& p) {
      if (vertical) Transpose(p);
      for (int y : {0, 4, 8, 12}) p.fillRect(QRect(0, y, 2, 2), dot);
    });
  };
  SetImage(out.AddSection(QStringLiteral("rebar.gripper")),
           out.AddImage(QStringLiteral("rebargripper.png"), grip(false), ImageKind::Alpha), 1, kTrueSize);
  SetImage(out.AddSection(QStringLiteral("rebar.grippervert")),
           out.AddImage(QStringLiteral("rebargrippervert.png"), grip(true), ImageKind::Alpha), 1, kTrueSize);
}

// Tool buttons are flat until the mouse comes; frames normal, hot, pressed, disabled,
// checked, hot and checked.
void AddToolBar(ThemeOutput& out, const ThemeDesign& d) {
  const qreal r = d.ControlRadius;
  const QColor checkedEdge = Mix(d.Checked, d.Accent, 0.45);
  // One button background in any shape: radii pick the rounded corners.
  auto background = [&](QPainter& p, const QRectF& box, const qreal(&radii)[4], int i) {
    switch (i) {
      case 1:
        Fill(p, RoundedBox(box, radii[0], radii[1], radii[2], radii[3]), d.Hover);
        break;
      case 2:
        Fill(p, RoundedBox(box, radii[0], radii[1], radii[2], radii[3]), d.Pressed);
        break;
      case 4:
        FramedBox(p, box, radii, checkedEdge, d.Checked);
        break;
      case 5:
        FramedBox(p, box, radii, checkedEdge, Mix(d.Checked, d.Accent, 0.15));
        break;
      default:
        break;
    }
  };
  const QColor ink[6] = {d.Glyph, d.GlyphHot, d.GlyphHot, d.DisabledText, d.Glyph, d.GlyphHot};
  const qreal round[4] = {r, r, r, r}, leftRound[4] = {r, 0, 0, r}, rightRound[4] = {0, r, r, 0};

  SetImage(out.AddSection(QStringLiteral("toolbar.button")),
           out.AddImage(
               QStringLiteral("toolbutton.png"),
               Strip(16, 16, 6, [&](int i, QPainter& p) { background(p, QRectF(0, 0, 16, 16), round, i); }),
               ImageKind::Alpha),
           6, kStretch, Margins(4, 4, 4, 4));

  SetImage(out.AddSection(QStringLiteral("toolbar.separator")),
           out.AddImage(QStringLiteral("toolseparator.png"),
                        Strip(7, 16, 6, [&](int, QPainter& p) { PixelLine(p, 3, 0, 3, 15, d.Border); }),
                        ImageKind::Alpha),
           6, kTrueSize);

  // The drop-down arrow lives in the right margin, so it keeps its place and size
  // however wide the button grows.
  constexpr int dw = 28, dh = 22;
  SetImage(out.AddSection(QStringLiteral("toolbar.dropdownbutton")),
           out.AddImage(QStringLiteral("tooldropdown.png"),
                        Strip(dw, dh, 6,
                              [&](int i, QPainter& p) {
                                background(p, QRectF(0, 0, dw, dh), round, i);
                                Chevron(p, QRectF(dw - 11, 0, 7, dh), Direction::Down, 6, 3, 1.3, ink[i]);
                              }),
                        ImageKind::Alpha),
           6, kStretch, Margins(4, 12, 4, 4));

  SetImage(out.AddSection(QStringLiteral("toolbar.splitbutton")),
           out.AddImage(QStringLiteral("toolsplit.png"),
                        Strip(16, dh, 6,
                              [&](int i, QPainter& p) { background(p, QRectF(0, 0, 16, dh), leftRound, i); }),
                        ImageKind::Alpha),
           6, kStretch, Margins(4, 4, 4, 4));

  const QString dropGlyph = out.AddImage(
      QStringLiteral("toolsplitdrop_glyph.png"),
      Strip(
          7, 7, 6,
          [&](int i, QPainter& p) { Chevron(p, QRectF(0, 0, 7, 7), Direction::Down, 5, 2.5, 1.3, ink[i]); }),
      ImageKind::Alpha);
  const QImage drop = Strip(12, dh, 6, [&](int i, QPainter& p) {
    background(p, QRectF(0, 0, 12, dh), rightRound, i);
    // A divider from the main part wherever the pair shows a background.
    if (i == 1 || i == 2 || i >= 4) PixelLine(p, 0, 3, 0, dh - 4, WithAlpha(d.Border, 200));
  });
  SetGlyph(SetImage(out.AddSection(QStringLiteral("toolbar.splitbuttondropdown")),
                    out.AddImage(QStringLiteral("toolsplitdrop.png"), drop, ImageKind::Alpha), 6, kStretch,
                    Margins(4, 4, 4, 4)),
           dropGlyph);
}

// Tabs on top of a page. Frames: inactive, hot, hot again (not asked for by the
// controls), disabled, selected; the selected tab opens into the page and wears an
// accent line.
void AddTabs(ThemeOutput& out, const ThemeDesign& d) {
  out.AddSection(QStringLiteral("tab")).Set(QStringLiteral("FillColor"), d.Page);
  const qreal r = d.ControlRadius;
  const qreal pageRadii[4] = {0, 0, r, r}, tabRadii[4] = {r, r, 0, 0};
  SetImage(out.AddSection(QStringLiteral("tab.pane")),
           out.AddImage(QStringLiteral("tabpane.png"),
                        Strip(12, 12, 1,
                              [&](int, QPainter& p) {
                                FramedBox(p, QRectF(0, 0, 12, 12), pageRadii, d.Border, d.Page);
                              }),
                        ImageKind::Alpha),
           1, kStretch, Margins(4, 4, 4, 4));
  constexpr int w = 16, h = 22;
  const QColor inactive = Mix(d.Face, d.Border, 0.25);
  const QImage tab = Strip(w, h, 5, [&](int i, QPainter& p) {
    const QRectF box(0, 0, w, h);
    switch (i) {
      case 0:
        FramedBox(p, box, tabRadii, d.Border, inactive);
        break;
      case 1:
      case 2:
        FramedBox(p, box, tabRadii, d.Border, Mix(inactive, d.Page, 0.6));
        break;
      case 3:
        FramedBox(p, box, tabRadii, d.BorderDisabled, d.Face);
        break;
      case 4:
        // One pixel taller than the frame: its bottom outline falls outside and the
        // tab runs into the page.
        FramedBox(p, box.adjusted(0, 0, 0, 1), tabRadii, d.Border, d.Page);
        Fill(p, RoundedBox(QRectF(1, 1, w - 2, 2), r - 1, r - 1, 0, 0), d.Accent);
        break;
    }
  });
  const QString tabFile = out.AddImage(QStringLiteral("tabitem.png"), tab, ImageKind::Alpha);
  for (const char* name : {"tab.toptabitem", "tab.toptabitemleftedge"})
    SetImage(out.AddSection(QLatin1String(name)), tabFile, 5, kStretch, Margins(4, 4, 4, 3));
}

// Collapsible groups: a head with rounded top corners over a body; round expand and
// collapse buttons and a close button, each normal, hot, pressed.
void AddExplorerBar(ThemeOutput& out, const ThemeDesign& d) {
  out.AddSection(QStringLiteral("explorerbar")).Set(QStringLiteral("FillColor"), d.Face);
  const qreal bodyRadii[4] = {0, 0, 4, 4}, headRadii[4] = {4, 4, 0, 0};
  SetImage(out.AddSection(QStringLiteral("explorerbar.SpecialGroupBackground")),
           out.AddImage(QStringLiteral("explorerbody.png"),
                        Strip(12, 12, 1,
                              [&](int, QPainter& p) {
                                FramedBox(p, QRectF(0, 0, 12, 12), bodyRadii, d.Border, d.Page);
                              }),
                        ImageKind::Alpha),
           1, kStretch, Margins(5, 5, 5, 5));
  const QRectF head(0, 0, 16, 24);
  SetImage(out.AddSection(QStringLiteral("explorerbar.NormalGroupHead")),
           out.AddImage(QStringLiteral("explorerhead.png"),
                        Strip(16, 24, 1,
                              [&](int, QPainter& p) {
                                FramedBox(p, head, headRadii, d.Border,
                                          VerticalGradient(head, Mix(d.Page, d.Accent, 0.04),
                                                           Mix(d.Page, d.Accent, 0.12)));
                              }),
                        ImageKind::Alpha),
           1, kStretch, Margins(5, 5, 5, 3))
      .Set(QStringLiteral("Transparent"), QStringLiteral("true"));

  const QColor fill[3] = {d.Window, d.Hover, d.Pressed};
  const QColor ink[3] = {d.Glyph, d.GlyphHot, d.GlyphHot};
  auto roundButton = [&](Direction dir) {
    return Strip(16, 16, 3, [&, dir](int i, QPainter& p) {
      FramedBox(p, QRectF(0, 0, 16, 16), 8, d.Border, fill[i]);
      Chevron(p, QRectF(0, 0, 16, 16), dir, 6, 3, 1.4, ink[i]);
    });
  };
  SetImage(out.AddSection(QStringLiteral("explorerbar.NormalGroupCollapse")),
           out.AddImage(QStringLiteral("explorercollapse.png"), roundButton(Direction::Up), ImageKind::Alpha),
           3, kTrueSize);
  SetImage(out.AddSection(QStringLiteral("explorerbar.NormalGroupExpand")),
           out.AddImage(QStringLiteral("explorerexpand.png"), roundButton(Direction::Down), ImageKind::Alpha),
           3, kTrueSize);
  const QImage close = Strip(16, 16, 3, [&](int i, QPainter& p) {
    if (i > 0) Fill(p, RoundedBox(QRectF(0, 0, 16, 16), 3), fill[i]);
    p.translate(4, 4);
    DrawCaptionGlyph(p, CaptionGlyph::Close, 8, ink[i]);
  });
  SetImage(out.AddSection(QStringLiteral("explorerbar.headerclose")),
           out.AddImage(QStringLiteral("explorerclose.png"), close, ImageKind::Alpha), 3, kTrueSize);
}

}  // namespace

void AddBarParts(ThemeOutput& out, const ThemeDesign& d) {
  AddHeader(out, d);
  AddStatusBar(out, d);
  AddRebar(out, d);
  AddToolBar(out, d);
  AddTabs(out, d);
  AddExplorerBar(out, d);
}
