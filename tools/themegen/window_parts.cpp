// Window frames: the caption band with rounded top corners cut out by the colour key,
// thin borders, and caption buttons whose glyph is picked by the button's size.
#include <array>

#include "parts.h"
#include "shapes.h"

namespace {

using Section = ThemeOutput::Section;

// A normal or a tool window's frame.
struct FrameStyle {
  QString SectionPrefix;  // "Window." or "Window.Small"
  QString FilePrefix;     // of the image names
  int CaptionHeight, Border, Radius;
};

// The caption band's left and right margins hold the rounded corner whole.
int CornerMargin(const FrameStyle& f) { return f.Radius + 2; }

void AddCaption(ThemeOutput& out, const ThemeDesign& d, const FrameStyle& f) {
  // The band is as high as the caption bar plus the top border: the theme paints it
  // over the whole top of the window.
  const int h = f.CaptionHeight + f.Border, m = CornerMargin(f), w = 2 * m + 4;
  const qreal r = f.Radius;
  const QImage image = Strip(w, h, 2, [&](int i, QPainter& p) {
    const bool active = i == 0;
    const QRectF box(0, 0, w, h);
    // Outline on the top and the sides; below the band the borders carry it on.
    Fill(p, RoundedBox(box, r, r, 0, 0), active ? d.FrameActive : d.FrameInactive);
    const QRectF inner(1, 1, w - 2, h);
    Fill(p, RoundedBox(inner, r - 1, r - 1, 0, 0),
         active ? QBrush(VerticalGradient(inner, d.CaptionActiveTop, d.CaptionActive))
                : QBrush(d.CaptionInactive));
    // An inactive caption is close to the window face; a faint rule keeps them apart.
    if (!active) PixelLine(p, 1, h - 1, w - 2, h - 1, Mix(d.CaptionInactive, d.FrameInactive, 0.5));
  });
  Section& s = out.AddSection(f.SectionPrefix + QStringLiteral("Caption"));
  SetImage(s, out.AddImage(f.FilePrefix + QStringLiteral("caption.png"), image, ImageKind::Keyed), 2,
           QStringLiteral("stretch"), Margins(m, m, m, 2))
      .Set(QStringLiteral("Transparent"), QStringLiteral("true"))
      .Set(QStringLiteral("TransparentColor"), QStringLiteral("255 0 255"))
      .Set(QStringLiteral("CaptionMargins"), Margins(6, 6, 0, 0))
      .Set(QStringLiteral("ContentAlignment"), QStringLiteral("left"))
      .Set(QStringLiteral("TextShadowColor"), d.FrameActive);
}

void AddBorders(ThemeOutput& out, const ThemeDesign& d, const FrameStyle& f) {
  // Outline outside, window face inside: the border melts into the client area, which
  // is the same face, and the window reads as a one-pixel frame.
  const int b = f.Border, len = 8;
  auto outline = [&](int i) { return i == 0 ? d.FrameActive : d.FrameInactive; };
  const QImage left = Strip(b, len, 2, [&](int i, QPainter& p) {
    p.fillRect(QRect(0, 0, b, len), d.Face);
    PixelLine(p, 0, 0, 0, len - 1, outline(i));
  });
  const QImage right = Strip(b, len, 2, [&](int i, QPainter& p) {
    p.fillRect(QRect(0, 0, b, len), d.Face);
    PixelLine(p, b - 1, 0, b - 1, len - 1, outline(i));
  });
  const QImage bottom = Strip(2 * b + len, b, 2, [&](int i, QPainter& p) {
    const int w = 2 * b + len;
    p.fillRect(QRect(0, 0, w, b), d.Face);
    PixelLine(p, 0, 0, 0, b - 1, outline(i));
    PixelLine(p, w - 1, 0, w - 1, b - 1, outline(i));
    PixelLine(p, 0, b - 1, w - 1, b - 1, outline(i));
  });
  const QString stretch = QStringLiteral("stretch");
  SetImage(out.AddSection(f.SectionPrefix + QStringLiteral("FrameLeft")),
           out.AddImage(f.FilePrefix + QStringLiteral("frameleft.png"), left, ImageKind::Keyed), 2, stretch,
           Margins(1, 0, 0, 0));
  SetImage(out.AddSection(f.SectionPrefix + QStringLiteral("FrameRight")),
           out.AddImage(f.FilePrefix + QStringLiteral("frameright.png"), right, ImageKind::Keyed), 2, stretch,
           Margins(0, 1, 0, 0));
  SetImage(out.AddSection(f.SectionPrefix + QStringLiteral("FrameBottom")),
           out.AddImage(f.FilePrefix + QStringLiteral("framebottom.png"), bottom, ImageKind::Keyed), 2,
           stretch, Margins(b, b, 0, 1));
}

struct GlyphSet {
  CaptionGlyph Glyph;
  const char* Name;
};
constexpr GlyphSet kGlyphs[] = {
    {CaptionGlyph::Close, "close"},     {CaptionGlyph::Minimize, "min"}, {CaptionGlyph::Maximize, "max"},
    {CaptionGlyph::Restore, "restore"}, {CaptionGlyph::Help, "help"},
};
// Glyph sizes for ImageFile1..3. With content margins of 4 a button picks the largest
// glyph narrower than its width less 8: a tool window's 18-pixel button gets 8, a
// 20-pixel one 10, and the normal caption's 21 pixels and more get 12.
constexpr std::array<int, 3> kGlyphSizes = {8, 10, 12};
constexpr int kGlyphContentMargin = 4;

QString GlyphFile(const char* prefix, const GlyphSet& g, int n) {
  return QStringLiteral("%1_%2_%3.png").arg(QLatin1String(prefix), QLatin1String(g.Name)).arg(n);
}

// Frames by button state: normal, hot, pressed, inactive window.
void AddCaptionButtons(ThemeOutput& out, const ThemeDesign& d) {
  auto background = [&](const QColor& hot, const QColor& pressed) {
    return Strip(16, 16, 4, [&](int i, QPainter& p) {
      if (i == 1 || i == 2) Fill(p, RoundedBox(QRectF(0, 0, 16, 16), 4), i == 1 ? hot : pressed);
    });
  };
  const QString plain =
      out.AddImage(QStringLiteral("captionbutton.png"),
                   background(d.CaptionButtonHot, d.CaptionButtonPressed), ImageKind::Alpha);
  const QString close = out.AddImage(QStringLiteral("closebutton.png"),
                                     background(d.CloseHot, d.ClosePressed), ImageKind::Alpha);

  const QColor colors[4] = {d.CaptionText, d.CaptionText, d.CaptionText, d.CaptionTextInactive};
  for (const GlyphSet& g : kGlyphs)
    for (int n : kGlyphSizes)
      out.AddImage(GlyphFile("caption", g, n),
                   Strip(n, n, 4, [&](int i, QPainter& p) { DrawCaptionGlyph(p, g.Glyph, n, colors[i]); }),
                   ImageKind::Alpha);

  struct Button {
    const char* Section;
    const GlyphSet& Glyph;
  };
  const Button buttons[] = {
      {"Window.CloseButton", kGlyphs[0]},   {"Window.HelpButton", kGlyphs[4]},
      {"Window.MaxButton", kGlyphs[2]},     {"Window.MinButton", kGlyphs[1]},
      {"Window.RestoreButton", kGlyphs[3]}, {"Window.SmallCloseButton", kGlyphs[0]},
  };
  for (const Button& b : buttons) {
    const bool isClose = &b.Glyph == &kGlyphs[0];
    Section& s = out.AddSection(QLatin1String(b.Section));
    SetImage(s, isClose ? close : plain, 4, QStringLiteral("stretch"), Margins(5, 5, 5, 5))
        .Set(QStringLiteral("GlyphType"), QStringLiteral("imageglyph"))
        .Set(QStringLiteral("GlyphTransparent"), QStringLiteral("true"))
        .Set(QStringLiteral("ImageSelectType"), QStringLiteral("size"))
        .Set(QStringLiteral("ContentMargins"),
             Margins(kGlyphContentMargin, kGlyphContentMargin, kGlyphContentMargin, kGlyphContentMargin));
    for (int k = 0; k < 3; ++k)
      s.Set(QStringLiteral("ImageFile%1").arg(k + 1), GlyphFile("caption", b.Glyph, kGlyphSizes[k]));
  }
}

// Buttons of a maximised child window, drawn on the menu bar: frames normal, hot,
// disabled.
void AddMdiButtons(ThemeOutput& out, const ThemeDesign& d) {
  const QString background =
      out.AddImage(QStringLiteral("mdibutton.png"),
                   Strip(16, 16, 3,
                         [&](int i, QPainter& p) {
                           if (i == 1) FramedBox(p, QRectF(0, 0, 16, 16), d.ControlRadius, d.Border, d.Hover);
                         }),
                   ImageKind::Alpha);
  const QColor colors[3] = {d.Text, d.Text, d.DisabledText};
  const struct {
    const char* Section;
    const GlyphSet& Glyph;
  } buttons[] = {
      {"Window.MDIMinButton", kGlyphs[1]},
      {"Window.MDICloseButton", kGlyphs[0]},
      {"Window.MDIRestoreButton", kGlyphs[3]},
  };
  constexpr int n = 8;
  for (const auto& b : buttons) {
    const QString glyph = out.AddImage(
        GlyphFile("mdi", b.Glyph, n),
        Strip(n, n, 3, [&](int i, QPainter& p) { DrawCaptionGlyph(p, b.Glyph.Glyph, n, colors[i]); }),
        ImageKind::Alpha);
    SetImage(out.AddSection(QLatin1String(b.Section)), background, 3, QStringLiteral("stretch"),
             Margins(4, 4, 4, 4))
        .Set(QStringLiteral("GlyphType"), QStringLiteral("imageglyph"))
        .Set(QStringLiteral("GlyphTransparent"), QStringLiteral("true"))
        .Set(QStringLiteral("ImageSelectType"), QStringLiteral("size"))
        .Set(QStringLiteral("ImageFile1"), glyph);
  }
}

}  // namespace

void AddWindowParts(ThemeOutput& out, const ThemeDesign& d) {
  out.AddSection(QStringLiteral("Window")).Set(QStringLiteral("FillColor"), d.Face);
  const FrameStyle normal{QStringLiteral("Window."), QString(), d.CaptionBarHeight, d.BorderWidth,
                          d.CaptionRadius};
  const FrameStyle tool{QStringLiteral("Window.Small"), QStringLiteral("small"), d.SmallCaptionBarHeight,
                        d.SmallBorderWidth, d.SmallCaptionRadius};
  for (const FrameStyle& f : {normal, tool}) {
    AddCaption(out, d, f);
    AddBorders(out, d, f);
  }
  // No shadow behind caption text: the flat caption colours give it contrast enough.
  for (const char* name : {"Window.Caption(Active)", "Window.Caption(Inactive)"})
    out.AddSection(QLatin1String(name)).Set(QStringLiteral("TextShadowType"), QStringLiteral("none"));
  AddCaptionButtons(out, d);
  AddMdiButtons(out, d);
}
