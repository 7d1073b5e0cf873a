// The component stream of skin objects: binary and text forms.
#include "se_stream.h"

#include <QtEndian>
#include <array>
#include <cmath>
#include <cstring>

#include "app_error.h"

namespace {

// Skin objects nest their children in a binary property, never in the stream's own
// child list or in lists; real files stay a few levels deep, so this only guards the stack.
constexpr int kMaxNesting = 32;

[[noreturn]] void Malformed(const char* what) {
  throw EAppError(QStringLiteral("Invalid component stream: %1").arg(QLatin1String(what)));
}

}  // namespace

// ---- TSeByteReader

uint8_t TSeByteReader::Byte() {
  if (Remaining() < 1) Malformed("data ends early");
  return uint8_t(data_[pos_++]);
}

int32_t TSeByteReader::Int32() {
  const QByteArrayView b = Bytes(4);
  return qFromLittleEndian<int32_t>(b.data());
}

QByteArrayView TSeByteReader::Bytes(qint64 count) {
  if (count < 0 || count > Remaining()) Malformed("a length runs past the data");
  const QByteArrayView out = data_.sliced(pos_, qsizetype(count));
  pos_ += qsizetype(count);
  return out;
}

QByteArrayView TSeByteReader::CountedBytes() { return Bytes(Int32()); }

const TSeValue* TSeComponent::Find(QByteArrayView name) const {
  for (const TSeProperty& p : Properties)
    if (QByteArrayView(p.Name).compare(name, Qt::CaseInsensitive) == 0) return &p.Value;
  return nullptr;
}

// ---- binary form

namespace {

// The 80-bit extended float: 64-bit mantissa with explicit integer bit, 15-bit exponent
// biased by 16383, sign in the top bit.
double ExtendedToDouble(const char* b) {
  const uint64_t mantissa = qFromLittleEndian<uint64_t>(b);
  const uint16_t se = qFromLittleEndian<uint16_t>(b + 8);
  const int exponent = se & 0x7FFF;
  if (exponent == 0 && mantissa == 0) return (se & 0x8000) ? -0.0 : 0.0;
  if (exponent == 0x7FFF) return (se & 0x8000) ? -HUGE_VAL : HUGE_VAL;
  const double v = std::ldexp(double(mantissa), exponent - 16383 - 63);
  return (se & 0x8000) ? -v : v;
}

void DoubleToExtended(double v, char* b) {
  uint64_t mantissa = 0;
  uint16_t se = std::signbit(v) ? 0x8000 : 0;
  v = std::fabs(v);
  if (v != 0 && std::isfinite(v)) {
    int e = 0;
    const double m = std::frexp(v, &e);  // v = m * 2^e, 0.5 <= m < 1
    mantissa = uint64_t(std::ldexp(m, 64));
    se |= uint16_t(e - 1 + 16383);
  } else if (!std::isfinite(v)) {
    se |= 0x7FFF;
    mantissa = uint64_t(1) << 63;
  }
  qToLittleEndian(mantissa, b);
  qToLittleEndian(se, b + 8);
}

class TBinaryReader {
 public:
  explicit TBinaryReader(QByteArrayView data) : r_(data), data_(data) {}

  TSeComponent Component(int depth) {
    if (depth > kMaxNesting) Malformed("nested too deeply");
    TSeComponent c;
    if ((Peek() & 0xF0) == 0xF0) {
      const uint8_t flags = r_.Byte() & 0x0F;
      // A child position follows when the form was written for an inherited component.
      if (flags & 0x02) Value(depth + 1);
    }
    c.ClassName = ShortString().toByteArray();
    c.Name = ShortString().toByteArray();
    while (Peek() != 0) {
      TSeProperty p;
      p.Name = ShortString().toByteArray();
      p.Value = Value(depth + 1);
      c.Properties.push_back(std::move(p));
    }
    r_.Byte();
    while (Peek() != 0) Component(depth + 1);
    r_.Byte();
    return c;
  }

  TSeValue Value(int depth) {
    if (depth > kMaxNesting) Malformed("nested too deeply");
    TSeValue v;
    const uint8_t tag = r_.Byte();
    v.Kind = TSeValue::Type(tag);
    switch (tag) {
      case TSeValue::kNull: case TSeValue::kFalse: case TSeValue::kTrue: case TSeValue::kNil:
        break;
      case TSeValue::kList:
        while (Peek() != 0) v.Items.push_back(Value(depth + 1));
        r_.Byte();
        break;
      case 2: v.Kind = TSeValue::kInt; v.Int = int8_t(r_.Byte()); break;
      case 3: v.Kind = TSeValue::kInt; v.Int = qFromLittleEndian<int16_t>(r_.Bytes(2).data()); break;
      case 4: v.Kind = TSeValue::kInt; v.Int = r_.Int32(); break;
      case TSeValue::kExtended: v.Float = ExtendedToDouble(r_.Bytes(10).data()); break;
      case TSeValue::kString: v.Text = QString::fromLatin1(ShortString()); break;
      case TSeValue::kIdent: v.Bytes = ShortString().toByteArray(); break;
      case TSeValue::kBinary: v.Bytes = r_.CountedBytes().toByteArray(); break;
      case TSeValue::kSet:
        for (;;) {
          QByteArrayView member = ShortString();
          if (member.isEmpty()) break;
          v.Members.push_back(member.toByteArray());
        }
        break;
      case 12: v.Kind = TSeValue::kString; v.Text = QString::fromLatin1(r_.CountedBytes()); break;
      case TSeValue::kCollection:
        while (Peek() != 0) {
          if (Peek() >= 2 && Peek() <= 4) Value(depth + 1);
          if (r_.Byte() != TSeValue::kList) Malformed("collection item without its list");
          while (Peek() != 0) {
            ShortString();
            Value(depth + 1);
          }
          r_.Byte();
        }
        r_.Byte();
        break;
      case TSeValue::kSingle: {
        const uint32_t bits = qFromLittleEndian<uint32_t>(r_.Bytes(4).data());
        float f;
        std::memcpy(&f, &bits, 4);
        v.Float = f;
        break;
      }
      case TSeValue::kCurrency: v.Int = qFromLittleEndian<int64_t>(r_.Bytes(8).data()); break;
      case TSeValue::kDate: {
        const uint64_t bits = qFromLittleEndian<uint64_t>(r_.Bytes(8).data());
        std::memcpy(&v.Float, &bits, 8);
        break;
      }
      case TSeValue::kWideString: {
        const int32_t chars = r_.Int32();
        if (chars < 0 || int64_t(chars) * 2 > r_.Remaining()) Malformed("a length runs past the data");
        const QByteArrayView b = r_.Bytes(int64_t(chars) * 2);
        QString s(chars, Qt::Uninitialized);
        for (int32_t i = 0; i < chars; ++i)
          s[i] = QChar(qFromLittleEndian<uint16_t>(b.data() + 2 * i));
        v.Text = s;
        break;
      }
      case TSeValue::kInt64: v.Int = qFromLittleEndian<int64_t>(r_.Bytes(8).data()); break;
      case TSeValue::kUtf8String: v.Text = QString::fromUtf8(r_.CountedBytes()); break;
      default: Malformed("unknown value tag");
    }
    return v;
  }

  QByteArrayView ShortString() { return r_.Bytes(r_.Byte()); }
  uint8_t Peek() {
    if (r_.AtEnd()) Malformed("data ends early");
    return uint8_t(data_[data_.size() - r_.Remaining()]);
  }
  TSeByteReader& Reader() { return r_; }

 private:
  TSeByteReader r_;
  QByteArrayView data_;
};

void PutShort(QByteArray& out, QByteArrayView s) {
  const qsizetype n = std::min<qsizetype>(s.size(), 255);
  out.append(char(n));
  out.append(s.first(n));
}

void PutInt32(QByteArray& out, int32_t v) {
  char b[4];
  qToLittleEndian(v, b);
  out.append(b, 4);
}

void PutValue(QByteArray& out, const TSeValue& v) {
  switch (v.Kind) {
    case TSeValue::kInt:
    case TSeValue::kInt64:
      // The smallest of the three sizes that holds the value.
      if (v.Int >= INT8_MIN && v.Int <= INT8_MAX) {
        out.append(char(2)).append(char(int8_t(v.Int)));
      } else if (v.Int >= INT16_MIN && v.Int <= INT16_MAX) {
        char b[2];
        qToLittleEndian(int16_t(v.Int), b);
        out.append(char(3)).append(b, 2);
      } else if (v.Int >= INT32_MIN && v.Int <= INT32_MAX) {
        out.append(char(4));
        PutInt32(out, int32_t(v.Int));
      } else {
        char b[8];
        qToLittleEndian(v.Int, b);
        out.append(char(TSeValue::kInt64)).append(b, 8);
      }
      break;
    case TSeValue::kString:
    case TSeValue::kWideString:
    case TSeValue::kUtf8String: {
      bool latin1 = true;
      for (QChar c : v.Text) latin1 = latin1 && c.unicode() < 256;
      if (!latin1) {
        out.append(char(TSeValue::kWideString));
        PutInt32(out, int32_t(v.Text.size()));
        for (QChar c : v.Text) {
          char b[2];
          qToLittleEndian(c.unicode(), b);
          out.append(b, 2);
        }
        break;
      }
      const QByteArray bytes = v.Text.toLatin1();
      if (bytes.size() <= 255) {
        out.append(char(TSeValue::kString));
        PutShort(out, bytes);
      } else {
        out.append(char(12));
        PutInt32(out, int32_t(bytes.size()));
        out.append(bytes);
      }
      break;
    }
    case TSeValue::kIdent:
      out.append(char(TSeValue::kIdent));
      PutShort(out, v.Bytes);
      break;
    case TSeValue::kBinary:
      out.append(char(TSeValue::kBinary));
      PutInt32(out, int32_t(v.Bytes.size()));
      out.append(v.Bytes);
      break;
    case TSeValue::kSet:
      out.append(char(TSeValue::kSet));
      for (const QByteArray& m : v.Members) PutShort(out, m);
      out.append(char(0));
      break;
    case TSeValue::kList:
      out.append(char(TSeValue::kList));
      for (const TSeValue& item : v.Items) PutValue(out, item);
      out.append(char(0));
      break;
    case TSeValue::kExtended:
    case TSeValue::kSingle:
    case TSeValue::kDate: {
      char b[10];
      DoubleToExtended(v.Float, b);
      out.append(char(TSeValue::kExtended)).append(b, 10);
      break;
    }
    case TSeValue::kCurrency: {
      char b[8];
      qToLittleEndian(v.Int, b);
      out.append(char(TSeValue::kCurrency)).append(b, 8);
      break;
    }
    case TSeValue::kCollection:
      out.append(char(TSeValue::kCollection)).append(char(0));
      break;
    default:
      out.append(char(v.Kind));
      break;
  }
}

}  // namespace

TSeComponent ReadComponentBinary(QByteArrayView data) {
  TBinaryReader reader(data);
  if (reader.Reader().Bytes(4) != QByteArrayView("TPF0")) Malformed("no TPF0 signature");
  return reader.Component(0);
}

QByteArray WriteComponentBinary(const TSeComponent& component) {
  QByteArray out("TPF0");
  PutShort(out, component.ClassName);
  PutShort(out, component.Name);
  for (const TSeProperty& p : component.Properties) {
    PutShort(out, p.Name);
    PutValue(out, p.Value);
  }
  out.append(char(0)).append(char(0));
  return out;
}

// ---- text form

namespace {

// Hexadecimal digit values; blanks and line breaks (at or below the space) are skipped.
constexpr int kBlank = -2;
constexpr auto kHexDigit = [] {
  std::array<int, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[size_t(c)] = c <= ' ' ? kBlank
                   : c >= '0' && c <= '9' ? c - '0'
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
  return t;
}();

class TTextReader {
 public:
  explicit TTextReader(QByteArrayView text) : s_(text) {}

  TSeComponent Object(int depth) {
    if (depth > kMaxNesting) Malformed("nested too deeply");
    const QByteArray word = Word();
    if (word.compare("object", Qt::CaseInsensitive) != 0 &&
        word.compare("inherited", Qt::CaseInsensitive) != 0 &&
        word.compare("inline", Qt::CaseInsensitive) != 0)
      Malformed("text form does not start with object");
    TSeComponent c;
    QByteArray first = Word();
    SkipBlanks();
    if (Next() == ':') {
      ++pos_;
      c.Name = first;
      c.ClassName = Word();
    } else {
      c.ClassName = first;
    }
    SkipBlanks();
    if (Next() == '[') {  // an inherited child's position
      ++pos_;
      Word();
      Expect(']');
    }
    for (;;) {
      SkipBlanks();
      const qsizetype save = pos_;
      const QByteArray name = Word();
      if (name.compare("end", Qt::CaseInsensitive) == 0) return c;
      if (name.compare("object", Qt::CaseInsensitive) == 0 ||
          name.compare("inherited", Qt::CaseInsensitive) == 0 ||
          name.compare("inline", Qt::CaseInsensitive) == 0) {
        pos_ = save;
        Object(depth + 1);  // child components of the stream are not kept
        continue;
      }
      Expect('=');
      TSeProperty p;
      p.Name = name;
      p.Value = Value(depth + 1);
      c.Properties.push_back(std::move(p));
    }
  }

 private:
  char Next() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
  bool AtEnd() const { return pos_ >= s_.size(); }
  void SkipBlanks() {
    while (!AtEnd() && uint8_t(s_[pos_]) <= ' ') ++pos_;
  }
  void Expect(char c) {
    SkipBlanks();
    if (Next() != c) Malformed("unexpected character in text form");
    ++pos_;
  }
  static bool IsWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '.';
  }
  // An identifier; dots join the parts of a nested property name.
  QByteArray Word() {
    SkipBlanks();
    const qsizetype start = pos_;
    if (AtEnd() || !IsWordChar(Next()) || (Next() >= '0' && Next() <= '9'))
      Malformed("identifier expected in text form");
    while (!AtEnd() && IsWordChar(Next())) ++pos_;
    return s_.sliced(start, pos_ - start).toByteArray();
  }

  TSeValue Value(int depth) {
    if (depth > kMaxNesting) Malformed("nested too deeply");
    SkipBlanks();
    const char c = Next();
    if (c == '\'' || c == '#') return TSeValue::String(String());
    if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9')) return Number();
    if (c == '[') {
      ++pos_;
      std::vector<QByteArray> members;
      SkipBlanks();
      if (Next() != ']') {
        for (;;) {
          members.push_back(Word());
          SkipBlanks();
          if (Next() == ']') break;
          Expect(',');
        }
      }
      ++pos_;
      return TSeValue::Set(std::move(members));
    }
    if (c == '(') {
      ++pos_;
      TSeValue v;
      v.Kind = TSeValue::kList;
      for (;;) {
        SkipBlanks();
        if (Next() == ')') break;
        if (AtEnd()) Malformed("list without its end");
        v.Items.push_back(Value(depth + 1));
      }
      ++pos_;
      return v;
    }
    if (c == '{') {
      // Hexadecimal digits in pairs, with line breaks and blanks anywhere between them.
      const qsizetype end = s_.indexOf('}', pos_ + 1);
      if (end < 0) Malformed("binary value without its end");
      QByteArray bytes(qsizetype((end - pos_) / 2), Qt::Uninitialized);
      char* out = bytes.data();
      int nibble = -1;
      for (qsizetype i = pos_ + 1; i < end; ++i) {
        const int d = kHexDigit[uchar(s_[i])];
        if (d == kBlank) continue;
        if (d < 0) Malformed("bad hexadecimal digit in binary value");
        if (nibble < 0) {
          nibble = d;
        } else {
          *out++ = char(nibble << 4 | d);
          nibble = -1;
        }
      }
      if (nibble >= 0) Malformed("odd number of hexadecimal digits");
      bytes.truncate(out - bytes.data());
      pos_ = end + 1;
      return TSeValue::Binary(bytes);
    }
    if (c == '<') {
      // Collections: items "item ... end" up to ">"; skin objects have none, so they
      // are checked for shape and dropped.
      ++pos_;
      for (;;) {
        SkipBlanks();
        if (Next() == '>') break;
        if (Next() == '[') {
          ++pos_;
          Value(depth + 1);
          Expect(']');
        }
        if (Word().compare("item", Qt::CaseInsensitive) != 0) Malformed("collection item expected");
        for (;;) {
          const QByteArray w = Word();
          if (w.compare("end", Qt::CaseInsensitive) == 0) break;
          Expect('=');
          Value(depth + 1);
        }
      }
      ++pos_;
      TSeValue v;
      v.Kind = TSeValue::kCollection;
      return v;
    }
    const QByteArray word = Word();
    if (word.compare("True", Qt::CaseInsensitive) == 0) return TSeValue::Boolean(true);
    if (word.compare("False", Qt::CaseInsensitive) == 0) return TSeValue::Boolean(false);
    if (word.compare("nil", Qt::CaseInsensitive) == 0) {
      TSeValue v;
      v.Kind = TSeValue::kNil;
      return v;
    }
    if (word.compare("Null", Qt::CaseInsensitive) == 0) return TSeValue();
    return TSeValue::Ident(word);
  }

  // 'quoted' runs (a doubled quote stands for one) and #nn characters, joined by "+"
  // across lines.
  QString String() {
    QString out;
    for (;;) {
      SkipBlanks();
      if (Next() == '\'') {
        ++pos_;
        for (;;) {
          if (AtEnd() || Next() == '\r' || Next() == '\n') Malformed("string without its closing quote");
          const char ch = s_[pos_++];
          if (ch == '\'') {
            if (Next() != '\'') break;
            ++pos_;
          }
          out.append(QChar(uchar(ch)));
        }
      } else if (Next() == '#') {
        ++pos_;
        const TSeValue code = Number();
        if (code.Kind != TSeValue::kInt || code.Int < 0 || code.Int > 0xFFFF)
          Malformed("bad character code in string");
        out.append(QChar(char16_t(code.Int)));
      } else {
        break;
      }
      SkipBlanks();
      if (Next() == '+') {
        ++pos_;
        SkipBlanks();
        if (Next() != '\'' && Next() != '#') Malformed("string expected after +");
      }
    }
    return out;
  }

  TSeValue Number() {
    SkipBlanks();
    const qsizetype start = pos_;
    if (Next() == '-' || Next() == '+') ++pos_;
    if (Next() == '$') {
      ++pos_;
      const qsizetype digits = pos_;
      while (!AtEnd() && std::isxdigit(uchar(Next()))) ++pos_;
      bool ok = false;
      const QByteArray text = s_.sliced(digits, pos_ - digits).toByteArray();
      const int64_t v = int64_t(text.toULongLong(&ok, 16));
      if (!ok || text.size() > 16) Malformed("bad hexadecimal number");
      return TSeValue::Integer(s_[start] == '-' ? -v : v);
    }
    bool isFloat = false;
    while (!AtEnd()) {
      const char c = Next();
      if (c >= '0' && c <= '9') {
        ++pos_;
      } else if (c == '.' || c == 'e' || c == 'E' ||
                 ((c == '-' || c == '+') && (s_[pos_ - 1] == 'e' || s_[pos_ - 1] == 'E'))) {
        isFloat = true;
        ++pos_;
      } else {
        break;
      }
    }
    const QByteArray text = s_.sliced(start, pos_ - start).toByteArray();
    bool ok = false;
    if (isFloat) {
      TSeValue v;
      v.Kind = TSeValue::kExtended;
      v.Float = text.toDouble(&ok);
      if (!ok) Malformed("bad number");
      return v;
    }
    const qlonglong v = text.toLongLong(&ok);
    if (!ok) Malformed("bad number");
    return TSeValue::Integer(v);
  }

  QByteArrayView s_;
  qsizetype pos_ = 0;
};

void PutTextString(QByteArray& out, const QString& s) {
  if (s.isEmpty()) {
    out.append("''");
    return;
  }
  bool quoted = false;
  for (QChar ch : s) {
    const char16_t u = ch.unicode();
    const bool plain = u >= 32 && u != '\'' && u < 256;
    if (plain != quoted) {
      out.append('\'');
      quoted = plain;
    }
    if (plain) out.append(char(u));
    else out.append('#').append(QByteArray::number(u));
  }
  if (quoted) out.append('\'');
}

void PutTextValue(QByteArray& out, const TSeValue& v, const QByteArray& indent) {
  switch (v.Kind) {
    case TSeValue::kInt: case TSeValue::kInt64: out.append(QByteArray::number(v.Int)); break;
    case TSeValue::kString: case TSeValue::kWideString: case TSeValue::kUtf8String:
      PutTextString(out, v.Text);
      break;
    case TSeValue::kIdent: out.append(v.Bytes); break;
    case TSeValue::kFalse: out.append("False"); break;
    case TSeValue::kTrue: out.append("True"); break;
    case TSeValue::kNil: out.append("nil"); break;
    case TSeValue::kNull: out.append("Null"); break;
    case TSeValue::kSet: {
      out.append('[');
      for (size_t i = 0; i < v.Members.size(); ++i) {
        if (i) out.append(", ");
        out.append(v.Members[i]);
      }
      out.append(']');
      break;
    }
    case TSeValue::kBinary: {
      out.append("{");
      const QByteArray hex = v.Bytes.toHex().toUpper();
      for (qsizetype i = 0; i < hex.size(); i += 64)
        out.append("\r\n").append(indent).append("  ").append(hex.mid(i, 64));
      out.append('}');
      break;
    }
    case TSeValue::kList:
      out.append('(');
      for (const TSeValue& item : v.Items) {
        out.append("\r\n").append(indent).append("  ");
        PutTextValue(out, item, indent + "  ");
      }
      out.append(')');
      break;
    case TSeValue::kCollection: out.append("<>"); break;
    default: out.append(QByteArray::number(v.Float, 'g', 17)); break;
  }
}

}  // namespace

TSeComponent ReadComponentText(QByteArrayView text) { return TTextReader(text).Object(0); }

QByteArray WriteComponentText(const TSeComponent& component) {
  QByteArray out("object ");
  if (!component.Name.isEmpty()) out.append(component.Name).append(": ");
  out.append(component.ClassName).append("\r\n");
  for (const TSeProperty& p : component.Properties) {
    out.append("  ").append(p.Name).append(" = ");
    PutTextValue(out, p.Value, "  ");
    out.append("\r\n");
  }
  out.append("end\r\n");
  return out;
}
