// Range controls: scroll bars (arrows, thumbs, grippers, tracks), progress bars and
// track bars. Vertical parts are their horizontal twins drawn transposed.
#include "parts.h"
#include "shapes.h"

namespace {

const QString kStretch = QStringLiteral("stretch");
const QString kTrueSize = QStringLiteral("truesize");
constexpr int kScrollWidth = 17;

// Arrow buttons: four frames (normal, hot, pressed, disabled) for each direction in
// the order up, down, left, right. Flat on the track until the mouse comes.
void AddScrollArrows(ThemeOutput& out, const ThemeDesign& d) {
  constexpr int n = kScrollWidth, g = 9;
  const QString background = out.AddImage(QStringLiteral("scrollarrow.png"),
                                          Strip(n, n, 16,
                                                [&](int i, QPainter& p) {
                                                  p.fillRect(QRect(0, 0, n, n), d.Track);
                                                  const int state = i % 4;
                                                  if (state == 1 || state == 2)
                                                    Fill(p, RoundedBox(QRectF(2, 2, n - 4, n - 4), 2),
                                                         state == 1 ? d.Hover : d.Pressed);
                                                }),
                                          ImageKind::Alpha);
  const Direction dirs[4] = {Direction::Up, Direction::Down, Direction::Left, Direction::Right};
  const QColor ink[4] = {d.Glyph, d.GlyphHot, d.GlyphHot, d.DisabledText};
  const QString glyph = out.AddImage(
      QStringLiteral("scrollarrow_glyph.png"),
      Strip(g, g, 16,
            [&](int i, QPainter& p) { Triangle(p, QRectF(0, 0, g, g), dirs[i / 4], 7, ink[i % 4]); }),
      ImageKind::Alpha);
  SetGlyph(SetImage(out.AddSection(QStringLiteral("ScrollBar.ArrowBtn")), background, 16, kStretch,
                    Margins(4, 4, 4, 4)),
           glyph);
}

// Thumbs: a slim pill that grows when hot or pressed; frames normal, hot, pressed,
// disabled (no thumb). The gripper marks its middle with three short lines.
void AddScrollThumbs(ThemeOutput& out, const ThemeDesign& d) {
  constexpr int w = kScrollWidth, len = 16;
  const QColor fill[3] = {d.Thumb, d.ThumbHot, d.ThumbPressed};
  // Drawn vertical; the horizontal ones are the same drawn transposed.
  auto thumb = [&](bool horizontal) {
    return [&, horizontal](int i, QPainter& p) {
      if (horizontal) Transpose(p);
      if (i == 3) return;
      const qreal width = i == 0 ? 7 : 9;
      Fill(p, RoundedBox(QRectF((w - width) / 2, 1, width, len - 2), width / 2), fill[i]);
    };
  };
  auto gripper = [&](bool horizontal) {
    return [&, horizontal](int i, QPainter& p) {
      if (horizontal) Transpose(p);
      if (i == 3) return;
      for (int y : {0, 2, 4}) PixelLine(p, 0, y, 2, y, Mix(fill[i], d.Window, 0.6));
    };
  };
  const struct {
    const char* Thumb;
    const char* Gripper;
    const char* ThumbFile;
    const char* GripperFile;
    bool Horizontal;
  } parts[] = {
      {"ScrollBar.ThumbBtnVert", "ScrollBar.GripperVert", "thumbvert.png", "grippervert.png", false},
      {"ScrollBar.ThumbBtnHorz", "ScrollBar.GripperHorz", "thumbhorz.png", "gripperhorz.png", true},
  };
  for (const auto& part : parts) {
    const int tw = part.Horizontal ? len : w, th = part.Horizontal ? w : len;
    const QString margins = part.Horizontal ? Margins(6, 6, 4, 4) : Margins(4, 4, 6, 6);
    SetImage(out.AddSection(QLatin1String(part.Thumb)),
             out.AddImage(QLatin1String(part.ThumbFile), Strip(tw, th, 4, thumb(part.Horizontal)),
                          ImageKind::Alpha),
             4, kStretch, margins);
    const int gw = part.Horizontal ? 5 : 3, gh = part.Horizontal ? 3 : 5;
    SetImage(out.AddSection(QLatin1String(part.Gripper)),
             out.AddImage(QLatin1String(part.GripperFile), Strip(gw, gh, 4, gripper(part.Horizontal)),
                          ImageKind::Alpha),
             4, kTrueSize);
  }
}

void AddScrollTracks(ThemeOutput& out, const ThemeDesign& d) {
  const QImage track = Strip(8, 8, 1, [&](int, QPainter& p) { p.fillRect(QRect(0, 0, 8, 8), d.Track); });
  const QString file = out.AddImage(QStringLiteral("scrolltrack.png"), track, ImageKind::Alpha);
  for (const char* name : {"ScrollBar.UpperTrackHorz", "ScrollBar.UpperTrackVert", "ScrollBar.LowerTrackHorz",
                           "ScrollBar.LowerTrackVert"})
    SetImage(out.AddSection(QLatin1String(name)), file, 1, kStretch);
}

// The frame is painted over the whole control and the filled part inset by two pixels:
// a one-pixel outline, a one-pixel groove gap, then the accent fill.
void AddProgress(ThemeOutput& out, const ThemeDesign& d) {
  out.AddSection(QStringLiteral("Progress")).Set(QStringLiteral("FillColor"), d.Groove);
  const QImage frame = Strip(12, 12, 1, [&](int, QPainter& p) {
    FramedBox(p, QRectF(0, 0, 12, 12), 3, Mix(d.Groove, d.Border, 0.6), d.Groove);
  });
  const QString frameFile = out.AddImage(QStringLiteral("progress.png"), frame, ImageKind::Alpha);
  for (const char* name : {"Progress.Bar", "Progress.BarVert"})
    SetImage(out.AddSection(QLatin1String(name)), frameFile, 1, kStretch, Margins(4, 4, 4, 4));
  auto chunk = [&](bool vertical) {
    return Strip(10, 10, 1, [&, vertical](int, QPainter& p) {
      if (vertical) Transpose(p);
      const QRectF box(0, 0, 10, 10);
      Fill(p, RoundedBox(box, 2), VerticalGradient(box, d.AccentHot, d.Accent));
    });
  };
  SetImage(out.AddSection(QStringLiteral("Progress.Chunk")),
           out.AddImage(QStringLiteral("progresschunk.png"), chunk(false), ImageKind::Alpha), 1, kStretch,
           Margins(3, 3, 3, 3));
  SetImage(out.AddSection(QStringLiteral("Progress.ChunkVert")),
           out.AddImage(QStringLiteral("progresschunkvert.png"), chunk(true), ImageKind::Alpha), 1, kStretch,
           Margins(3, 3, 3, 3));
}

// Track bar knobs in the accent colour; frames normal, hot, pressed, focused, disabled.
// Plain knobs are pills, pointed ones have a tip towards the ticks.
enum class Tip { None, Down, Up };

void AddTrackBar(ThemeOutput& out, const ThemeDesign& d) {
  out.AddSection(QStringLiteral("TrackBar")).Set(QStringLiteral("FillColor"), d.Face);
  const QColor groove = Mix(d.Groove, d.Border, 0.35);
  auto track = [&](bool vertical) {
    return Strip(vertical ? 6 : 12, vertical ? 12 : 6, 1, [&, vertical](int, QPainter& p) {
      if (vertical) Transpose(p);
      FramedBox(p, QRectF(0, 0, 12, 6), 3, groove, d.Groove);
    });
  };
  SetImage(out.AddSection(QStringLiteral("TrackBar.Track")),
           out.AddImage(QStringLiteral("trackbar_track.png"), track(false), ImageKind::Alpha), 1, kStretch,
           Margins(4, 4, 2, 2));
  SetImage(out.AddSection(QStringLiteral("TrackBar.TrackVert")),
           out.AddImage(QStringLiteral("trackbar_trackvert.png"), track(true), ImageKind::Alpha), 1, kStretch,
           Margins(2, 2, 4, 4));

  constexpr int w = 12, h = 20;
  const QColor fill[5] = {d.Accent, d.AccentHot, d.AccentPressed, d.Accent, d.BorderDisabled};
  const QColor edge[5] = {d.AccentPressed, d.AccentPressed, Mix(d.AccentPressed, d.Text, 0.3),
                          d.AccentPressed, Mix(d.BorderDisabled, d.Text, 0.15)};
  // Drawn upright for a horizontal track; the vertical track's knobs are transposed.
  auto knob = [&](Tip tip, bool vertical) {
    return Strip(vertical ? h : w, vertical ? w : h, 5, [&, tip, vertical](int i, QPainter& p) {
      if (vertical) Transpose(p);
      // Half-pixel edges: the one-pixel outline then covers whole pixels.
      const QRectF body(1.5, 1.5, w - 3, h - 3);
      QPainterPath shape;
      if (tip == Tip::None) {
        shape = RoundedBox(body, 3.5);
      } else {
        // A rounded box whose far end narrows to a point; Up is Down turned over.
        if (tip == Tip::Up) {
          p.translate(0, h);
          p.scale(1, -1);
        }
        const qreal r = 3, shoulder = body.bottom() - body.width() / 2;
        shape.moveTo(body.left() + r, body.top());
        shape.lineTo(body.right() - r, body.top());
        shape.arcTo(QRectF(body.right() - 2 * r, body.top(), 2 * r, 2 * r), 90, -90);
        shape.lineTo(body.right(), shoulder);
        shape.lineTo(body.center().x(), body.bottom());
        shape.lineTo(body.left(), shoulder);
        shape.lineTo(body.left(), body.top() + r);
        shape.arcTo(QRectF(body.left(), body.top(), 2 * r, 2 * r), 180, -90);
        shape.closeSubpath();
      }
      if (i == 3) {
        // Focus: a soft accent halo one pixel outside the knob.
        p.setPen(QPen(WithAlpha(d.Accent, 150), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
      }
      p.setPen(QPen(edge[i], 1));
      p.setBrush(fill[i]);
      p.drawPath(shape);
    });
  };
  const struct {
    const char* Section;
    const char* File;
    Tip Point;
    bool Vertical;
  } knobs[] = {
      {"TrackBar.Thumb", "trackbar_thumb.png", Tip::None, false},
      {"TrackBar.ThumbBottom", "trackbar_thumbbottom.png", Tip::Down, false},
      {"TrackBar.ThumbTop", "trackbar_thumbtop.png", Tip::Up, false},
      {"TrackBar.ThumbVert", "trackbar_thumbvert.png", Tip::None, true},
      {"TrackBar.ThumbRight", "trackbar_thumbright.png", Tip::Down, true},
      {"TrackBar.ThumbLeft", "trackbar_thumbleft.png", Tip::Up, true},
  };
  for (const auto& k : knobs)
    SetImage(out.AddSection(QLatin1String(k.Section)),
             out.AddImage(QLatin1String(k.File), knob(k.Point, k.Vertical), ImageKind::Alpha), 5, kTrueSize);
}

}  // namespace

void AddRangeParts(ThemeOutput& out, const ThemeDesign& d) {
  AddScrollArrows(out, d);
  AddScrollThumbs(out, d);
  AddScrollTracks(out, d);
  AddProgress(out, d);
  AddTrackBar(out, d);
}
