#include "skin/window_stream.h"

#include <cstring>

#include "base/error.h"

namespace kv::skin {
namespace {

constexpr char kSignature[] = "KVDWF";
constexpr std::uint8_t kFormat = 1;
// Far beyond any window or skin picture; keeps a corrupt size from asking for
// gigabytes before the missing bytes are noticed.
constexpr std::uint32_t kMaxSide = 16384;
constexpr std::uint32_t kMaxPictures = 8;

bool SamePicture(const Bitmap& a, const Bitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Bits(), b.Bits(), a.SizeBytes()) == 0;
}

bool SamePictures(const std::vector<Bitmap>& a, const std::vector<Bitmap>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!SamePicture(a[i], b[i])) return false;
  return true;
}

class Writer {
 public:
  void Number(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Signed(int v) { Number(static_cast<std::uint32_t>(v)); }
  void Text(const std::string& s) {
    Number(static_cast<std::uint32_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
  }
  void Picture(const Bitmap& b) {
    Signed(b.Width());
    Signed(b.Height());
    out.insert(out.end(), b.Bits(), b.Bits() + b.SizeBytes());
  }
  std::vector<std::uint8_t> out;
};

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint32_t Number() {
    const std::uint8_t* p = Take(4);
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }
  int Signed() { return static_cast<int>(Number()); }
  std::uint32_t Count(std::uint32_t max) {
    const std::uint32_t n = Number();
    if (n > max) Fail();
    return n;
  }
  std::string Text() {
    const std::uint32_t n = Number();
    const std::uint8_t* p = Take(n);
    return std::string(reinterpret_cast<const char*>(p), n);
  }
  Bitmap Picture() {
    const std::uint32_t w = Number(), h = Number();
    if (w > kMaxSide || h > kMaxSide || (w == 0) != (h == 0)) Fail();
    const std::size_t bytes = Bitmap::StrideFor(static_cast<int>(w)) * h;
    const std::uint8_t* p = Take(bytes);
    Bitmap b(static_cast<int>(w), static_cast<int>(h));
    if (bytes) std::memcpy(b.Bits(), p, bytes);
    return b;
  }
  const std::uint8_t* Take(std::size_t n) {
    if (n > size_ - pos_) Fail();
    const std::uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  [[nodiscard]] bool AtEnd() const { return pos_ == size_; }
  [[noreturn]] static void Fail() { throw Error("not a saved window, or a damaged one"); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

bool StreamedControl::operator==(const StreamedControl& o) const {
  return kind == o.kind && name == o.name && hint == o.hint && caption == o.caption &&
         dataString == o.dataString && command == o.command && left == o.left && top == o.top &&
         width == o.width && height == o.height && visible == o.visible &&
         SamePictures(pictures, o.pictures);
}

bool StreamedWindow::operator==(const StreamedWindow& o) const {
  return left == o.left && top == o.top && SamePicture(background, o.background) &&
         controls == o.controls;
}

std::vector<std::uint8_t> WriteWindowStream(const StreamedWindow& window) {
  Writer w;
  w.out.assign(kSignature, kSignature + 5);
  w.out.push_back(kFormat);
  w.Signed(window.left);
  w.Signed(window.top);
  w.Picture(window.background);
  w.Number(static_cast<std::uint32_t>(window.controls.size()));
  for (const StreamedControl& c : window.controls) {
    w.Number(static_cast<std::uint32_t>(c.kind));
    for (const std::string* s : {&c.name, &c.hint, &c.caption, &c.dataString, &c.command})
      w.Text(*s);
    for (int v : {c.left, c.top, c.width, c.height}) w.Signed(v);
    w.Number(c.visible ? 1 : 0);
    w.Number(static_cast<std::uint32_t>(c.pictures.size()));
    for (const Bitmap& b : c.pictures) w.Picture(b);
  }
  return std::move(w.out);
}

StreamedWindow ReadWindowStream(const std::uint8_t* data, std::size_t size) {
  Reader r(data, size);
  const std::uint8_t* head = r.Take(6);
  if (std::memcmp(head, kSignature, 5) != 0 || head[5] != kFormat) Reader::Fail();
  StreamedWindow window;
  window.left = r.Signed();
  window.top = r.Signed();
  window.background = r.Picture();
  // Each control takes at least 52 bytes, which bounds the count by the input.
  const std::uint32_t count = r.Count(static_cast<std::uint32_t>(size / 52));
  window.controls.resize(count);
  for (StreamedControl& c : window.controls) {
    const std::uint32_t kind = r.Number();
    if (kind < 1 || kind > 3) Reader::Fail();
    c.kind = static_cast<StreamedKind>(kind);
    for (std::string* s : {&c.name, &c.hint, &c.caption, &c.dataString, &c.command}) *s = r.Text();
    for (int* v : {&c.left, &c.top, &c.width, &c.height}) *v = r.Signed();
    const std::uint32_t visible = r.Number();
    if (visible > 1) Reader::Fail();
    c.visible = visible == 1;
    c.pictures.resize(r.Count(kMaxPictures));
    for (Bitmap& b : c.pictures) b = r.Picture();
  }
  if (!r.AtEnd()) Reader::Fail();
  return window;
}

}  // namespace kv::skin
