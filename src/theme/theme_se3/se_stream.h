// The component stream that skin objects travel in: the binary form ("TPF0", tagged
// property values) and its text form ("object Name: Class" ... "end"), read into and
// written from one plain record of properties.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

// One tagged value. Strings of every kind are kept as text; identifiers, set members and
// binary data as bytes.
struct TSeValue {
  enum Type : uint8_t {
    kNull = 0, kList = 1, kInt = 2, kExtended = 5, kString = 6, kIdent = 7, kFalse = 8,
    kTrue = 9, kBinary = 10, kSet = 11, kNil = 13, kCollection = 14, kSingle = 15,
    kCurrency = 16, kDate = 17, kWideString = 18, kInt64 = 19, kUtf8String = 20,
  };
  Type Kind = kNull;
  int64_t Int = 0;        // kInt, kInt64, kCurrency (raw)
  double Float = 0;       // kExtended, kSingle, kDate
  QString Text;           // the string kinds
  QByteArray Bytes;       // kIdent, kBinary
  std::vector<QByteArray> Members;  // kSet
  std::vector<TSeValue> Items;      // kList; a collection keeps its items' raw bytes in Bytes

  static TSeValue Integer(int64_t v) { TSeValue r; r.Kind = kInt; r.Int = v; return r; }
  static TSeValue Boolean(bool v) { TSeValue r; r.Kind = v ? kTrue : kFalse; return r; }
  static TSeValue Ident(QByteArray v) { TSeValue r; r.Kind = kIdent; r.Bytes = std::move(v); return r; }
  static TSeValue String(QString v) { TSeValue r; r.Kind = kString; r.Text = std::move(v); return r; }
  static TSeValue Binary(QByteArray v) { TSeValue r; r.Kind = kBinary; r.Bytes = std::move(v); return r; }
  static TSeValue Set(std::vector<QByteArray> v) { TSeValue r; r.Kind = kSet; r.Members = std::move(v); return r; }

  bool IsInteger() const { return Kind == kInt || Kind == kInt64; }
  bool IsString() const { return Kind == kString || Kind == kWideString || Kind == kUtf8String; }
};

struct TSeProperty {
  QByteArray Name;  // nested properties joined with "." (Font.Height)
  TSeValue Value;
};

// One component as the stream holds it. Child components of the stream itself are read
// and dropped: skin objects keep their children in the "Objects" property.
struct TSeComponent {
  QByteArray ClassName;
  QByteArray Name;
  std::vector<TSeProperty> Properties;
  const TSeValue* Find(QByteArrayView name) const;
};

// Malformed data (wrong magic, a length past the end, an unknown tag, bad text syntax)
// raises EAppError; nothing is trusted: every length is checked against what remains,
// and nesting is bounded.
TSeComponent ReadComponentBinary(QByteArrayView data);
QByteArray WriteComponentBinary(const TSeComponent& component);
TSeComponent ReadComponentText(QByteArrayView text);
// The text form with CR LF line ends, as the binary form converted to text gives it.
QByteArray WriteComponentText(const TSeComponent& component);

// Little-endian cursor over bytes held in memory, for readers of nested counted data.
class TSeByteReader {
 public:
  explicit TSeByteReader(QByteArrayView data) : data_(data) {}
  qsizetype Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  uint8_t Byte();
  int32_t Int32();
  QByteArrayView Bytes(qint64 count);
  // A 32-bit count followed by that many bytes.
  QByteArrayView CountedBytes();

 private:
  QByteArrayView data_;
  qsizetype pos_ = 0;
};
