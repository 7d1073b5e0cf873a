// Feeds arbitrary bytes to the bitmap record reader, from a seekable buffer and from a
// pipe-like stream; whatever it accepts must save and load back to the same bitmap.
#include <QBuffer>
#include <cstdint>
#include <cstring>

#include "app_error.h"
#include "te_bitmap.h"

namespace {

class Pipe : public QIODevice {
 public:
  Pipe(const uint8_t* data, size_t size) : data_(data), size_(size) { open(ReadOnly); }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* out, qint64 max) override {
    const qint64 n = std::min<qint64>(max, qint64(size_ - pos_));
    std::memcpy(out, data_ + pos_, size_t(n));
    pos_ += size_t(n);
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

void ReadAll(QIODevice& in) {
  // Several records in a row, as containers store them.
  for (int i = 0; i < 4; ++i) {
    TteBitmap bitmap;
    try {
      bitmap.LoadFromStream(in);
    } catch (const EAppError&) {
      return;
    }
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    bitmap.SaveToStream(out);
    out.seek(0);
    TteBitmap again;
    again.LoadFromStream(out);
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height() ||
        again.Name != bitmap.Name ||
        (!bitmap.Empty() && std::memcmp(again.Bits(), bitmap.Bits(),
                                        size_t(bitmap.Width()) * bitmap.Height() * 4) != 0))
      __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  ReadAll(buffer);
  Pipe pipe(data, size);
  ReadAll(pipe);
  return 0;
}
