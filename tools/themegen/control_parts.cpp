// Buttons and boxes: push button, check box, radio button, spin buttons, group box, and
// the edit, combo and list boxes.
#include "parts.h"
#include "shapes.h"

namespace {

using Section = ThemeOutput::Section;

const QString kStretch = QStringLiteral("stretch");
const QString kTrueSize = QStringLiteral("truesize");

// The face of a push or spin button in one of its frames: normal, hot, pressed,
// disabled, focused (the normal face with an accent outline).
void ButtonFace(QPainter& p, const QRectF& box, qreal r, const ThemeDesign& d, int frame) {
  const QBrush normal(VerticalGradient(box, d.ButtonTop, d.ButtonBottom));
  switch (frame) {
    case 1:
      FramedBox(p, box, r, d.BorderHot, VerticalGradient(box, d.ButtonHotTop, d.ButtonHotBottom));
      break;
    case 2:
      FramedBox(p, box, r, d.BorderHot, d.ButtonPressed);
      break;
    case 3:
      FramedBox(p, box, r, d.BorderDisabled, d.ButtonDisabled);
      break;
    case 4:
      FramedBox(p, box, r, d.Accent, normal);
      break;
    default:
      FramedBox(p, box, r, d.Border, normal);
      break;
  }
}

// Frames: normal, hot, pressed, disabled, focused (also the default button).
void AddPushButton(ThemeOutput& out, const ThemeDesign& d) {
  constexpr int w = 18, h = 24, m = 4;
  const qreal r = d.ControlRadius;
  const QImage image = Strip(w, h, 5, [&](int i, QPainter& p) {
    const QRectF box(0, 0, w, h);
    ButtonFace(p, box, r, d, i);
    // The focused frame doubles the accent outline with a faint inner ring: seen at a
    // glance, not loud.
    if (i == 4) Ring(p, box.adjusted(1, 1, -1, -1), r - 1, WithAlpha(d.Accent, 90));
  });
  Section& s = out.AddSection(QStringLiteral("Button.Pushbutton"));
  SetImage(s, out.AddImage(QStringLiteral("button.png"), image, ImageKind::Alpha), 5, kStretch,
           Margins(m, m, m, m))
      .Set(QStringLiteral("ContentMargins"), Margins(m, m, m, m))
      .Set(QStringLiteral("TextColor"), d.Text)
      .Set(QStringLiteral("FillColorHint"), d.ButtonBottom);
  out.AddSection(QStringLiteral("Button.Pushbutton(Disabled)"))
      .Set(QStringLiteral("TextColor"), d.DisabledText);
}

// Check box and radio button frames: unchecked, checked and mixed, each normal, hot,
// pressed, disabled. Both are 13 pixels square, the size controls reserve for them.
enum class Mark { None, Check, Mixed };

void AddCheckAndRadio(ThemeOutput& out, const ThemeDesign& d) {
  constexpr int n = 13;
  const QRectF box(0, 0, n, n);
  auto draw = [&](bool round, int i, QPainter& p) {
    const Mark mark = Mark(i / 4);
    const int state = i % 4;
    const qreal r = round ? n / 2.0 : 2.5;
    if (mark == Mark::None) {
      const QColor border[4] = {d.BorderStrong, d.Accent, d.AccentPressed,
                                Mix(d.BorderDisabled, d.DisabledText, 0.35)};
      const QColor fill[4] = {d.Window, Mix(d.Window, d.Accent, 0.08), Mix(d.Window, d.Accent, 0.2), d.Face};
      FramedBox(p, box, r, border[state], fill[state]);
      return;
    }
    // Disabled marks stay legible: greyed, not washed out.
    const QColor face[4] = {d.Accent, d.AccentHot, d.AccentPressed,
                            Mix(d.BorderDisabled, d.DisabledText, 0.5)};
    const QColor ink = state == 3 ? d.Window : d.AccentText;
    Fill(p, RoundedBox(box, r), face[state]);
    if (mark == Mark::Mixed) {
      p.fillRect(QRectF(3.5, 5.75, 6, 1.5), ink);
    } else if (round) {
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(box.center(), 2.5, 2.5);
    } else {
      CheckMark(p, box, 1.7, ink);
    }
  };
  Section& check = out.AddSection(QStringLiteral("button.checkbox"));
  SetImage(check,
           out.AddImage(QStringLiteral("checkbox.png"),
                        Strip(n, n, 12, [&](int i, QPainter& p) { draw(false, i, p); }), ImageKind::Alpha),
           12, kTrueSize);
  Section& radio = out.AddSection(QStringLiteral("button.radiobutton"));
  SetImage(radio,
           out.AddImage(QStringLiteral("radiobutton.png"),
                        Strip(n, n, 12, [&](int i, QPainter& p) { draw(true, i, p); }), ImageKind::Alpha),
           12, kTrueSize);
}

// Spin buttons: small buttons with an arrow, frames as the push button's.
void AddSpin(ThemeOutput& out, const ThemeDesign& d) {
  constexpr int w = 12, h = 10, m = 3;
  const qreal r = 2;
  const QString background = out.AddImage(
      QStringLiteral("spinbutton.png"),
      Strip(w, h, 5,
            [&](int i, QPainter& p) { ButtonFace(p, QRectF(0, 0, w, h), r, d, i == 4 ? 0 : i); }),
      ImageKind::Alpha);
  const QColor ink[5] = {d.Glyph, d.GlyphHot, d.GlyphHot, d.DisabledText, d.Glyph};
  const struct {
    const char* Section;
    const char* File;
    Direction Dir;
  } spins[] = {
      {"Spin.Up", "spin_up.png", Direction::Up},
      {"Spin.Down", "spin_down.png", Direction::Down},
      // The horizontal pair counts up to the right.
      {"Spin.Uphorz", "spin_right.png", Direction::Right},
      {"Spin.Downhorz", "spin_left.png", Direction::Left},
  };
  for (const auto& s : spins) {
    const QString glyph = out.AddImage(
        QLatin1String(s.File),
        Strip(7, 7, 5, [&](int i, QPainter& p) { Triangle(p, QRectF(0, 0, 7, 7), s.Dir, 5, ink[i]); }),
        ImageKind::Alpha);
    SetGlyph(SetImage(out.AddSection(QLatin1String(s.Section)), background, 5, kStretch, Margins(m, m, m, m)),
             glyph);
  }
}

void AddGroupBox(ThemeOutput& out, const ThemeDesign& d) {
  constexpr int n = 12, m = 5;
  const QImage image = Strip(n, n, 1, [&](int, QPainter& p) { Ring(p, QRectF(0, 0, n, n), 4, d.Border); });
  SetImage(out.AddSection(QStringLiteral("button.groupbox")),
           out.AddImage(QStringLiteral("groupbox.png"), image, ImageKind::Alpha), 1, kStretch,
           Margins(m, m, m, m))
      .Set(QStringLiteral("Transparent"), QStringLiteral("true"));
}

// Edit, combo and list boxes are a one-pixel outline around a fill: the theme swaps
// the fill colour for the disabled and read-only states, which only this kind of
// background shows.
Section& SetBorderFill(Section& s, const QColor& border, const QColor& fill) {
  return s.Set(QStringLiteral("Bgtype"), QStringLiteral("borderfill"))
      .Set(QStringLiteral("BorderSize"), 1)
      .Set(QStringLiteral("BorderColor"), border)
      .Set(QStringLiteral("FillColor"), fill);
}

void AddTextBoxes(ThemeOutput& out, const ThemeDesign& d) {
  const QColor readOnly = Mix(d.Window, d.Face, 0.5);
  SetBorderFill(out.AddSection(QStringLiteral("edit")), d.Border, d.Window)
      .Set(QStringLiteral("TextColor"), d.Text);
  out.AddSection(QStringLiteral("edit.edittext(disabled)")).Set(QStringLiteral("FillColor"), d.Face);
  out.AddSection(QStringLiteral("edit.edittext(readonly)")).Set(QStringLiteral("FillColor"), readOnly);
  SetBorderFill(out.AddSection(QStringLiteral("combobox")), d.Border, d.Window)
      .Set(QStringLiteral("TextColor"), d.Text);
  out.AddSection(QStringLiteral("combobox(disabled)")).Set(QStringLiteral("FillColor"), d.Face);
  SetBorderFill(out.AddSection(QStringLiteral("listview")), d.Border, d.Window)
      .Set(QStringLiteral("TextColor"), d.Text);

  // The drop-down button lies inside the combo box's outline: flat until the mouse
  // comes. Frames: normal, hot, pressed, disabled.
  constexpr int n = 16, g = 9;
  const QString background =
      out.AddImage(QStringLiteral("dropdown.png"),
                   Strip(n, n, 4,
                         [&](int i, QPainter& p) {
                           if (i == 1 || i == 2)
                             Fill(p, RoundedBox(QRectF(0, 0, n, n), 2), i == 1 ? d.Hover : d.Pressed);
                         }),
                   ImageKind::Alpha);
  const QColor ink[4] = {d.Glyph, d.GlyphHot, d.GlyphHot, d.DisabledText};
  const QString glyph = out.AddImage(
      QStringLiteral("dropdown_glyph.png"),
      Strip(g, g, 4,
            [&](int i, QPainter& p) { Chevron(p, QRectF(0, 0, g, g), Direction::Down, 6, 3, 1.4, ink[i]); }),
      ImageKind::Alpha);
  SetGlyph(SetImage(out.AddSection(QStringLiteral("Combobox.DropDownButton")), background, 4, kStretch,
                    Margins(4, 4, 4, 4)),
           glyph);
}

}  // namespace

void AddControlParts(ThemeOutput& out, const ThemeDesign& d) {
  AddPushButton(out, d);
  AddCheckAndRadio(out, d);
  AddSpin(out, d);
  AddGroupBox(out, d);
  AddTextBoxes(out, d);
}
