// The whole theme from a design: SysMetrics (metrics, system colours, fonts) and the
// element families, plus the INI keys the families share.
#include "parts.h"

namespace {

QString FontValue(const QString& face, int size) { return QStringLiteral("%1, %2").arg(face).arg(size); }

void AddSysMetrics(ThemeOutput& out, const ThemeDesign& d) {
  ThemeOutput::Section& s = out.AddSection(QStringLiteral("SysMetrics"));
  s.Set(QStringLiteral("CaptionBarHeight"), d.CaptionBarHeight)
      .Set(QStringLiteral("SMCaptionBarHeight"), d.SmallCaptionBarHeight)
      .Set(QStringLiteral("BorderWidth"), d.BorderWidth)
      .Set(QStringLiteral("SMBorderWidth"), d.SmallBorderWidth)
      .Set(QStringLiteral("Window"), d.Window)
      .Set(QStringLiteral("BtnFace"), d.Face)
      .Set(QStringLiteral("Highlight"), d.Highlight)
      .Set(QStringLiteral("HighlightText"), d.HighlightText)
      // Disabled text is drawn in the button shadow colour.
      .Set(QStringLiteral("BtnShadow"), d.DisabledText)
      .Set(QStringLiteral("Menu"), d.Menu)
      .Set(QStringLiteral("MenuBar"), d.Face)
      .Set(QStringLiteral("MenuHilight"), d.MenuHilight)
      .Set(QStringLiteral("CaptionFont"), FontValue(d.FontFace, d.CaptionFontSize))
      .Set(QStringLiteral("CaptionText"), d.CaptionText)
      .Set(QStringLiteral("InactiveCaptionText"), d.CaptionTextInactive)
      .Set(QStringLiteral("MenuFont"), FontValue(d.FontFace, d.TextFontSize))
      .Set(QStringLiteral("StatusFont"), FontValue(d.FontFace, d.TextFontSize))
      .Set(QStringLiteral("MsgBoxFont"), FontValue(d.FontFace, d.TextFontSize));
}

}  // namespace

ThemeOutput Generate(const ThemeDesign& d) {
  ThemeOutput out;
  AddSysMetrics(out, d);
  AddWindowParts(out, d);
  AddControlParts(out, d);
  AddRangeParts(out, d);
  AddBarParts(out, d);
  return out;
}

ThemeOutput::Section& SetImage(ThemeOutput::Section& s, const QString& file, int frames,
                               const QString& sizing, const QString& margins) {
  s.Set(QStringLiteral("ImageFile"), file)
      .Set(QStringLiteral("ImageCount"), frames)
      .Set(QStringLiteral("ImageLayout"), QStringLiteral("vertical"))
      .Set(QStringLiteral("SizingType"), sizing);
  if (!margins.isEmpty()) s.Set(QStringLiteral("SizingMargins"), margins);
  return s;
}

ThemeOutput::Section& SetGlyph(ThemeOutput::Section& s, const QString& file) {
  // GlyphTransparent lets a glyph without soft pixels be keyed; soft ones are blended
  // either way.
  return s.Set(QStringLiteral("GlyphImageFile"), file)
      .Set(QStringLiteral("GlyphType"), QStringLiteral("imageglyph"))
      .Set(QStringLiteral("GlyphTransparent"), QStringLiteral("true"));
}
