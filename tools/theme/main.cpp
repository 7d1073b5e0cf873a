// sonolift-theme: lists the theme kinds, renders any element of a theme to a PNG (one
// operation at a time or all of them on a contact sheet), and packs, unpacks, converts
// and describes theme files.
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <cstdio>
#include <memory>
#include <optional>

#include "app_error.h"
#include "render_ops.h"
#include "te_bitmap.h"
#include "theme_files.h"
#include "theme_manager.h"
#include "window_render.h"

namespace {

constexpr int kFailure = 1;
constexpr int kUsageError = 2;

const char kUsage[] =
    "usage:\n"
    "  sonolift-theme kinds\n"
    "  sonolift-theme render (--builtin KIND | --theme FILE) --op OPERATION [--kind N]\n"
    "                 [--state N] [--part N] [--object NAME] [--size WxH] [--active 0|1]\n"
    "                 [--buttons BITS] [--caption TEXT] [--hue N] [--brightness N] OUT.png\n"
    "  sonolift-theme sheet (--builtin KIND | --theme FILE) [--hue N] [--brightness N] OUT.png\n"
    "  sonolift-theme ops\n"
    "  sonolift-theme window (--builtin KIND | --theme FILE) [--page batch|options]\n"
    "                 [--hue N] [--brightness N] OUT.png\n"
    "  sonolift-theme pack [--name NAME] [--allow-missing] DIR OUT.theme\n"
    "  sonolift-theme unpack FILE DIR\n"
    "  sonolift-theme info [--json] FILE\n"
    "  sonolift-theme convert FILE OUT.theme\n"
    "  sonolift-theme convert SKIN OUT.(uskn|oskn|xskn|mskn)\n";

struct UsageError {
  QString Message;
  bool ShowUsage = true;  // false where the command line itself was well formed
};

void Print(FILE* f, const QString& text) { std::fputs(text.toLocal8Bit().constData(), f); }

struct Options {
  QString Builtin, ThemeFile, Op, Out;
  std::optional<int> Hue, Brightness;
  std::optional<int> Width, Height;
  RenderParams Params;
};

int ParseInt(const QString& option, const QString& value) {
  bool ok = false;
  const int v = value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                    ? value.mid(2).toInt(&ok, 16)
                    : value.toInt(&ok, 10);
  if (!ok) throw UsageError{QStringLiteral("%1 wants a number, not \"%2\"").arg(option, value)};
  return v;
}

Options ParseOptions(const QStringList& args, bool allowRenderOptions) {
  Options o;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!a.startsWith(QLatin1String("--"))) {
      if (!o.Out.isEmpty()) throw UsageError{QStringLiteral("more than one output file")};
      o.Out = a;
      continue;
    }
    if (i + 1 >= args.size()) throw UsageError{QStringLiteral("%1 needs a value").arg(a)};
    const QString v = args[++i];
    const bool renderOnly = a != QLatin1String("--builtin") && a != QLatin1String("--theme") &&
                            a != QLatin1String("--hue") && a != QLatin1String("--brightness");
    if (renderOnly && !allowRenderOptions)
      throw UsageError{QStringLiteral("%1 is an option of render only").arg(a)};
    if (a == QLatin1String("--builtin")) o.Builtin = v;
    else if (a == QLatin1String("--theme")) o.ThemeFile = v;
    else if (a == QLatin1String("--op")) o.Op = v;
    else if (a == QLatin1String("--kind")) o.Params.Kind = ParseInt(a, v);
    else if (a == QLatin1String("--state")) o.Params.State = ParseInt(a, v);
    else if (a == QLatin1String("--part")) o.Params.Part = ParseInt(a, v);
    else if (a == QLatin1String("--object")) o.Params.Object = v;
    else if (a == QLatin1String("--active")) o.Params.Active = ParseInt(a, v) != 0;
    else if (a == QLatin1String("--buttons")) o.Params.Buttons = uint16_t(ParseInt(a, v));
    else if (a == QLatin1String("--caption")) o.Params.Caption = v;
    else if (a == QLatin1String("--hue")) o.Hue = ParseInt(a, v);
    else if (a == QLatin1String("--brightness")) o.Brightness = ParseInt(a, v);
    else if (a == QLatin1String("--size")) {
      const QStringList wh = v.split(QLatin1Char('x'));
      if (wh.size() != 2) throw UsageError{QStringLiteral("--size wants WxH, not \"%1\"").arg(v)};
      o.Width = ParseInt(a, wh[0]);
      o.Height = ParseInt(a, wh[1]);
      if (*o.Width <= 0 || *o.Height <= 0 || *o.Width > 8192 || *o.Height > 8192)
        throw UsageError{QStringLiteral("--size must lie between 1x1 and 8192x8192")};
    } else {
      throw UsageError{QStringLiteral("unknown option %1").arg(a)};
    }
  }
  if (o.Out.isEmpty()) throw UsageError{QStringLiteral("no output file given")};
  if (o.Builtin.isEmpty() == o.ThemeFile.isEmpty())
    throw UsageError{QStringLiteral("give exactly one of --builtin KIND and --theme FILE")};
  return o;
}

std::unique_ptr<TteTheme> MakeTheme(const Options& o) {
  std::unique_ptr<TteTheme> theme;
  TteThemeManager& manager = ThemeManager();
  if (!o.Builtin.isEmpty()) {
    for (int i = 0; i < manager.ThemeClassCount() && !theme; ++i) {
      const TteThemeClass* cls = manager.ThemeClassAt(i);
      if (cls->GetThemeKindName().compare(o.Builtin, Qt::CaseInsensitive) != 0) continue;
      // The base theme needs no file either, though it does not call itself built in.
      if (!cls->GetThemeConfig().BuiltIn && cls != &TteTheme::ThemeClass())
        throw UsageError{QStringLiteral("theme kind \"%1\" needs a file (--theme)").arg(o.Builtin), false};
      theme = cls->Create();
    }
    if (!theme)
      throw UsageError{QStringLiteral("unknown theme kind \"%1\" (see: sonolift-theme kinds)")
                           .arg(o.Builtin), false};
  } else {
    try {
      theme = LoadThemeOrFail(o.ThemeFile);
    } catch (const ToolFailure& f) {
      // A theme to paint with is part of the command line: one that will not load is
      // a usage error here.
      throw UsageError{f.Message, false};
    }
  }
  theme->SetDeltaHueBrightness(o.Hue.value_or(0), o.Brightness.value_or(0));
  return theme;
}

// Paints one operation on a bitmap of the given size filled with background.
QImage RenderCell(TteTheme& theme, const RenderOp& op, const RenderParams& p, TteColor background) {
  TteBitmap bitmap;
  bitmap.SetSize(p.Width, p.Height);
  bitmap.Fill(background);
  op.Paint(theme, bitmap.Canvas(), p);
  return bitmap.AssignTo();
}

int Kinds() {
  TteThemeManager& manager = ThemeManager();
  for (int i = 0; i < manager.ThemeClassCount(); ++i) {
    const TteThemeClass* cls = manager.ThemeClassAt(i);
    const TteThemeConfig c = cls->GetThemeConfig();
    Print(stdout, QStringLiteral("%1\t%2\tbuilt-in=%3 can-load=%4 can-save=%5 extension=%6 filter=%7\n")
                      .arg(cls->GetThemeKindName(), QLatin1String(cls->ClassName))
                      .arg(int(c.BuiltIn))
                      .arg(int(c.CanLoad))
                      .arg(int(c.CanSave))
                      .arg(c.Extension.isEmpty() ? QStringLiteral("-") : c.Extension,
                           c.Filter.isEmpty() ? QStringLiteral("-") : c.Filter));
  }
  return 0;
}

int Ops() {
  for (const RenderOp& op : RenderOps())
    Print(stdout, QStringLiteral("%1\t%2x%3%4\n")
                      .arg(QLatin1String(op.Name))
                      .arg(op.DefaultWidth)
                      .arg(op.DefaultHeight)
                      .arg(*op.PartMeaning ? QStringLiteral("\t--part: ") + op.PartMeaning
                                           : QString()));
  return 0;
}

int Render(const QStringList& args) {
  Options o = ParseOptions(args, true);
  if (o.Op.isEmpty()) throw UsageError{QStringLiteral("render needs --op OPERATION")};
  const RenderOp* op = FindRenderOp(o.Op);
  if (!op)
    throw UsageError{QStringLiteral("unknown operation \"%1\" (see: sonolift-theme ops)").arg(o.Op), false};
  std::unique_ptr<TteTheme> theme = MakeTheme(o);
  o.Params.Width = o.Width.value_or(op->DefaultWidth);
  o.Params.Height = o.Height.value_or(op->DefaultHeight);
  const QImage image = RenderCell(*theme, *op, o.Params, 0x00000000);
  if (!image.save(o.Out, "PNG")) {
    Print(stderr, QStringLiteral("sonolift-theme: cannot write %1\n").arg(o.Out));
    return 1;
  }
  return 0;
}

// The whole main window, as the program shows it with the theme in force.
int Window(QStringList args) {
  bool optionsPage = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] != QLatin1String("--page")) continue;
    if (i + 1 >= args.size()) throw UsageError{QStringLiteral("--page needs a value")};
    const QString page = args[i + 1];
    if (page != QLatin1String("batch") && page != QLatin1String("options"))
      throw UsageError{QStringLiteral("--page wants batch or options, not \"%1\"").arg(page)};
    optionsPage = page == QLatin1String("options");
    args.remove(i, 2);
    --i;
  }
  const Options o = ParseOptions(args, false);
  const QImage image = RenderWindowImage(MakeTheme(o), optionsPage);
  if (!image.save(o.Out, "PNG")) throw ToolFailure{QStringLiteral("cannot write %1").arg(o.Out)};
  return 0;
}

// What a person sees of a cell: drawn twice, over black and over white, the two
// results give each pixel's coverage and colour whether the painting went through
// the canvas (which keeps alpha) or blended a bitmap; shown over a checkerboard.
QImage Visible(TteTheme& theme, const RenderOp& op, const RenderParams& p) {
  const QImage overBlack = RenderCell(theme, op, p, 0x00000000);
  const QImage overWhite = RenderCell(theme, op, p, 0x00FFFFFF);
  QImage out(p.Width, p.Height, QImage::Format_ARGB32);
  for (int y = 0; y < p.Height; ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(overBlack.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(overWhite.constScanLine(y));
    auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < p.Width; ++x) {
      const int gap = ((qRed(b[x]) - qRed(a[x])) + (qGreen(b[x]) - qGreen(a[x])) +
                       (qBlue(b[x]) - qBlue(a[x]))) / 3;
      const int alpha = std::clamp(255 - gap, 0, 255);
      const int check = ((x / 4 + y / 4) & 1) ? 0xCC : 0xF4;
      auto mix = [&](int over) {
        // over = colour * alpha (what the black background kept); add the checker behind.
        return std::clamp(over + check * (255 - alpha) / 255, 0, 255);
      };
      o[x] = qRgb(mix(qRed(a[x])), mix(qGreen(a[x])), mix(qBlue(a[x])));
    }
  }
  return out;
}

int Sheet(const QStringList& args) {
  Options o = ParseOptions(args, false);
  std::unique_ptr<TteTheme> theme = MakeTheme(o);
  constexpr int kLabelWidth = 250, kGap = 8, kCaption = 13, kMinColumn = 52;
  auto column = [&](const RenderOp& op) { return std::max(op.DefaultWidth, kMinColumn) + kGap; };
  struct Row {
    const RenderOp* Op;
    int Kind, Part;
  };
  std::vector<Row> rows;
  int width = 0, height = 0;
  for (const RenderOp& op : RenderOps())
    for (int kind : op.Kinds)
      for (int part : op.Parts) {
        rows.push_back({&op, kind, part});
        width = std::max(width, kLabelWidth + int(op.States.size()) * column(op));
        height += op.DefaultHeight + kCaption + kGap;
      }
  QImage sheet(width + kGap, height + kGap, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  QFont labelFont(QStringLiteral("DejaVu Sans"));
  labelFont.setPixelSize(11);
  painter.setFont(labelFont);
  int y = kGap;
  for (const Row& row : rows) {
    const RenderOp& op = *row.Op;
    QString label = QLatin1String(op.Name);
    if (op.Kinds.size() > 1) label += QStringLiteral(" kind %1").arg(row.Kind);
    if (*op.PartMeaning && op.Parts.size() > 1)
      label += QStringLiteral(" %1 %2").arg(QLatin1String(op.PartMeaning)).arg(row.Part);
    painter.setPen(Qt::black);
    painter.drawText(QRect(kGap, y + kCaption, kLabelWidth - kGap, op.DefaultHeight),
                     Qt::AlignVCenter | Qt::AlignLeft, label);
    int x = kLabelWidth;
    for (int state : op.States) {
      RenderParams p;
      p.Kind = row.Kind;
      p.Part = row.Part;
      p.State = state;
      p.Width = op.DefaultWidth;
      p.Height = op.DefaultHeight;
      if (op.StatesAreActive) p.Active = state != 0;
      painter.setPen(QColor(0x60, 0x60, 0x60));
      painter.drawText(QPoint(x, y + kCaption - 3),
                       op.StatesAreActive ? QStringLiteral("active %1").arg(state)
                       : op.States.size() > 1 ? QStringLiteral("state %1").arg(state)
                                              : QString());
      painter.drawImage(QPoint(x, y + kCaption), Visible(*theme, op, p));
      x += column(op);
    }
    y += op.DefaultHeight + kCaption + kGap;
  }
  painter.end();
  if (!sheet.save(o.Out, "PNG")) {
    Print(stderr, QStringLiteral("sonolift-theme: cannot write %1\n").arg(o.Out));
    return 1;
  }
  return 0;
}

// The command line of a file command: its file names in order and its options.
struct FileCommand {
  QStringList Positional;
  QStringList Flags;
  QList<std::pair<QString, QString>> Values;
};

// Options are the given flags and valued options (anywhere on the line); every other
// argument is a file name, and there must be exactly positionals of them.
FileCommand ParseFileCommand(const QString& command, const QStringList& args, int positionals,
                             const QStringList& flags, const QStringList& valued) {
  FileCommand c;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!a.startsWith(QLatin1String("--"))) {
      c.Positional << a;
    } else if (flags.contains(a)) {
      c.Flags << a;
    } else if (valued.contains(a)) {
      if (i + 1 >= args.size()) throw UsageError{QStringLiteral("%1 needs a value").arg(a)};
      c.Values.append({a, args[++i]});
    } else {
      throw UsageError{QStringLiteral("unknown option %1 for %2").arg(a, command)};
    }
  }
  if (c.Positional.size() != positionals)
    throw UsageError{QStringLiteral("%1 wants %2 file names").arg(command).arg(positionals)};
  return c;
}

void RequireThemeFileName(const QString& out) {
  if (QFileInfo(out).suffix().compare(QLatin1String("theme"), Qt::CaseInsensitive) != 0)
    throw UsageError{QStringLiteral("the output must be a .theme file, not %1").arg(out)};
}

void PrintWarnings(const Warnings& warnings) {
  for (const QString& w : warnings)
    Print(stderr, QStringLiteral("sonolift-theme: warning: %1\n").arg(w));
}

int Pack(const QStringList& args) {
  const FileCommand c =
      ParseFileCommand(QStringLiteral("pack"), args, 2, {QStringLiteral("--allow-missing")},
                       {QStringLiteral("--name")});
  PackOptions o;
  o.Dir = c.Positional[0];
  o.Out = c.Positional[1];
  RequireThemeFileName(o.Out);
  o.AllowMissing = c.Flags.contains(QLatin1String("--allow-missing"));
  if (!c.Values.isEmpty()) o.Name = c.Values.back().second;  // only --name takes a value
  Warnings warnings;
  const int images = PackThemeDir(o, warnings);
  PrintWarnings(warnings);
  Print(stdout, QStringLiteral("packed %1 images into %2\n").arg(images).arg(o.Out));
  return 0;
}

int Unpack(const QStringList& args) {
  const FileCommand c = ParseFileCommand(QStringLiteral("unpack"), args, 2, {}, {});
  Warnings warnings;
  const int images = UnpackThemeFile(c.Positional[0], c.Positional[1], warnings);
  PrintWarnings(warnings);
  Print(stdout,
        QStringLiteral("wrote theme.ini and %1 images into %2\n").arg(images).arg(c.Positional[1]));
  return 0;
}

int Info(const QStringList& args) {
  const FileCommand c =
      ParseFileCommand(QStringLiteral("info"), args, 1, {QStringLiteral("--json")}, {});
  if (c.Flags.contains(QLatin1String("--json"))) {
    const QByteArray json = DescribeThemeFileJson(c.Positional[0]);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
  }
  Print(stdout, DescribeThemeFile(c.Positional[0]));
  return 0;
}

int Convert(const QStringList& args) {
  const FileCommand c = ParseFileCommand(QStringLiteral("convert"), args, 2, {}, {});
  if (!IsSkinFileName(c.Positional[1])) RequireThemeFileName(c.Positional[1]);
  ConvertThemeFile(c.Positional[0], c.Positional[1]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Text needs fonts, and fonts need a GUI application; no display is required.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::unique_ptr<QGuiApplication> app = MakeToolApplication(argc, argv);
  QStringList args = app->arguments().mid(1);
  if (args.isEmpty()) {
    Print(stderr, QLatin1String(kUsage));
    return kUsageError;
  }
  const QString command = args.takeFirst();
  try {
    if (command == QLatin1String("kinds") && args.isEmpty()) return Kinds();
    if (command == QLatin1String("ops") && args.isEmpty()) return Ops();
    if (command == QLatin1String("render")) return Render(args);
    if (command == QLatin1String("sheet")) return Sheet(args);
    if (command == QLatin1String("pack")) return Pack(args);
    if (command == QLatin1String("unpack")) return Unpack(args);
    if (command == QLatin1String("info")) return Info(args);
    if (command == QLatin1String("convert")) return Convert(args);
    if (command == QLatin1String("window")) return Window(args);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
      Print(stdout, QLatin1String(kUsage));
      return 0;
    }
    throw UsageError{QStringLiteral("unknown command \"%1\"").arg(command)};
  } catch (const UsageError& e) {
    Print(stderr, QStringLiteral("sonolift-theme: %1\n%2")
                      .arg(e.Message, e.ShowUsage ? QLatin1String(kUsage) : QLatin1String("")));
    return kUsageError;
  } catch (const ToolFailure& f) {
    Print(stderr, QStringLiteral("sonolift-theme: %1\n").arg(f.Message));
    return kFailure;
  } catch (const std::exception& e) {
    Print(stderr, QStringLiteral("sonolift-theme: %1\n").arg(ExceptionMessage(e)));
    return kUsageError;
  }
}
