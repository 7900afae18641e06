#include "formats/ClipStreams.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "core/ComponentError.h"

namespace {

// The magic of each form: a length byte 5 and five characters.
constexpr std::uint8_t kPcp11[6] = {5, 'P', 'C', 'P', '1', '1'};
constexpr std::uint8_t kPcp10[6] = {5, 'P', 'C', 'P', '1', '0'};
constexpr std::uint8_t kPcl11[6] = {5, 'P', 'C', 'L', '1', '1'};
constexpr std::uint8_t kPcl10[6] = {5, 'P', 'C', 'L', '1', '0'};
// Old forms carry a 256-byte block after their magic that nothing reads.
constexpr std::size_t kOldFormGap = 256;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> b) : b_(b) {}
  std::span<const std::uint8_t> Take(std::size_t n) {
    if (n > b_.size() - at_) throw EComponentError(kStreamReadError);
    auto s = b_.subspan(at_, n);
    at_ += n;
    return s;
  }
  std::uint16_t U16() {
    auto s = Take(2);
    return static_cast<std::uint16_t>(s[0] | (s[1] << 8));
  }
  std::uint32_t U32() {
    auto s = Take(4);
    return static_cast<std::uint32_t>(s[0]) | (static_cast<std::uint32_t>(s[1]) << 8) |
           (static_cast<std::uint32_t>(s[2]) << 16) | (static_cast<std::uint32_t>(s[3]) << 24);
  }
  std::size_t Left() const { return b_.size() - at_; }
  std::size_t Position() const { return at_; }

 private:
  std::span<const std::uint8_t> b_;
  std::size_t at_ = 0;
};

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

bool Is(std::span<const std::uint8_t> got, const std::uint8_t (&magic)[6]) {
  return std::memcmp(got.data(), magic, 6) == 0;
}

std::int32_t AsInt32(std::uint32_t v) {
  return v <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
             ? static_cast<std::int32_t>(v)
             : -static_cast<std::int32_t>(~v) - 1;
}

// A bitmap file image: 24-bit rows from the bottom, each padded to 4 bytes.
std::vector<std::uint8_t> BitmapFileImage(const TClipPicture& p) {
  const std::size_t row = (static_cast<std::size_t>(p.Width) * 3 + 3) & ~std::size_t{3};
  const std::size_t data = row * static_cast<std::size_t>(p.Height);
  std::vector<std::uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + data);
  out.push_back('B'), out.push_back('M');
  PutU32(out, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + data));
  PutU32(out, 0);
  PutU32(out, kFileHeaderSize + kInfoHeaderSize);
  PutU32(out, kInfoHeaderSize);
  PutU32(out, static_cast<std::uint32_t>(p.Width));
  PutU32(out, static_cast<std::uint32_t>(p.Height));
  PutU16(out, 1);   // planes
  PutU16(out, 24);  // bits per pixel
  PutU32(out, 0);   // uncompressed
  PutU32(out, static_cast<std::uint32_t>(data));
  PutU32(out, 2835), PutU32(out, 2835);  // 72 dots per inch
  PutU32(out, 0), PutU32(out, 0);
  for (int y = p.Height - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    for (int x = 0; x < p.Width; ++x) {
      const std::uint32_t c = p.At(x, y);
      out.push_back(static_cast<std::uint8_t>(c));        // blue
      out.push_back(static_cast<std::uint8_t>(c >> 8));   // green
      out.push_back(static_cast<std::uint8_t>(c >> 16));  // red
    }
    out.resize(start + row, 0);
  }
  return out;
}

// Reads uncompressed 24- and 32-bit images, bottom-up or top-down.
TClipPicture ReadBitmapFileImage(std::span<const std::uint8_t> image) {
  Reader r(image);
  auto invalid = [] { return EComponentError(kInvalidBitmap); };
  try {
    auto magic = r.Take(2);
    if (magic[0] != 'B' || magic[1] != 'M') throw invalid();
    r.Take(8);
    const std::uint32_t offset = r.U32();
    const std::uint32_t headerSize = r.U32();
    if (headerSize < kInfoHeaderSize) throw invalid();
    const std::int64_t width = AsInt32(r.U32());
    const std::int64_t height = AsInt32(r.U32());
    const std::uint16_t planes = r.U16();
    const std::uint16_t bits = r.U16();
    const std::uint32_t compression = r.U32();
    if (planes != 1 || (bits != 24 && bits != 32) || compression != 0) throw invalid();
    const std::int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0 || width > kMaxPictureSide || rows > kMaxPictureSide ||
        width * rows > kMaxPicturePixels)
      throw invalid();
    const std::int64_t bytesPerPixel = bits / 8;
    const std::int64_t row = (width * bytesPerPixel + 3) & ~std::int64_t{3};
    if (offset < kFileHeaderSize + headerSize || offset > image.size() ||
        static_cast<std::int64_t>(image.size() - offset) < row * rows)
      throw invalid();
    TClipPicture p;
    p.Width = static_cast<int>(width);
    p.Height = static_cast<int>(rows);
    p.Pixels.resize(static_cast<std::size_t>(width * rows));
    for (std::int64_t y = 0; y < rows; ++y) {
      const std::uint8_t* src = image.data() + offset + y * row;
      const std::int64_t destY = height < 0 ? y : rows - 1 - y;
      std::uint32_t* dest = p.Pixels.data() + destY * width;
      for (std::int64_t x = 0; x < width; ++x, src += bytesPerPixel)
        dest[x] = static_cast<std::uint32_t>(src[0]) | (static_cast<std::uint32_t>(src[1]) << 8) |
                  (static_cast<std::uint32_t>(src[2]) << 16);
    }
    return p;
  } catch (const EComponentError& e) {
    if (std::string(e.what()) == kStreamReadError) throw invalid();
    throw;
  }
}

void ReadCells(Reader& r, TClipContent& clip) {
  clip.Rows = r.U16();
  clip.Columns = r.U16();
}

void ReadPicture(Reader& r, TClipPicture& picture) {
  const std::uint32_t size = r.U32();
  picture = size == 0 ? TClipPicture{} : ReadBitmapFileImage(r.Take(size));
}

}  // namespace

void WritePictureStream(std::vector<std::uint8_t>& out, const TClipPicture& picture) {
  if (picture.Empty()) return PutU32(out, 0);
  if (picture.Width > kMaxPictureSide || picture.Height > kMaxPictureSide ||
      static_cast<std::int64_t>(picture.Width) * picture.Height > kMaxPicturePixels)
    throw EComponentError(kInvalidBitmap);
  const std::vector<std::uint8_t> image = BitmapFileImage(picture);
  PutU32(out, static_cast<std::uint32_t>(image.size()));
  out.insert(out.end(), image.begin(), image.end());
}

void WriteClipStream(std::vector<std::uint8_t>& out, const TClipContent& clip) {
  out.insert(out.end(), std::begin(kPcp11), std::end(kPcp11));
  PutU16(out, clip.Rows);
  PutU16(out, clip.Columns);
  WritePictureStream(out, clip.Bitmap);
}

void WriteAniClipStream(std::vector<std::uint8_t>& out, const TAniClipContent& clip) {
  // The frame count is 16-bit; a larger list cannot be written truthfully.
  if (clip.Frames.size() > 65535) throw EComponentError("Too many frames");
  out.insert(out.end(), std::begin(kPcl11), std::end(kPcl11));
  PutU16(out, static_cast<std::uint32_t>(clip.Frames.size()));
  for (const TZRWFrame& f : clip.Frames) {
    const std::size_t n = std::min(f.Name.size(), TZRWFrame::kMaxName);
    PutU32(out, static_cast<std::uint32_t>(n));
    out.insert(out.end(), f.Name.begin(), f.Name.begin() + static_cast<std::ptrdiff_t>(n));
    PutU16(out, f.Index);
    PutU16(out, f.FirstCell);
    PutU16(out, f.LastCell);
  }
  PutU16(out, clip.Clip.Rows);
  PutU16(out, clip.Clip.Columns);
  WritePictureStream(out, clip.Clip.Bitmap);
}

std::size_t ReadPictureStream(std::span<const std::uint8_t> bytes, TClipPicture& picture) {
  Reader r(bytes);
  ReadPicture(r, picture);
  return r.Position();
}

std::size_t ReadClipStream(std::span<const std::uint8_t> bytes, TClipContent& clip) {
  clip = {};
  Reader r(bytes);
  auto magic = r.Take(6);
  const bool old = Is(magic, kPcp10);
  if (!old && !Is(magic, kPcp11)) throw EComponentError(kClipInvalidFile);
  if (old) r.Take(kOldFormGap);
  ReadCells(r, clip);
  ReadPicture(r, clip.Bitmap);
  return r.Position();
}

std::size_t ReadAniClipStream(std::span<const std::uint8_t> bytes, TAniClipContent& clip) {
  clip = {};
  Reader r(bytes);
  auto magic = r.Take(6);
  const bool old = Is(magic, kPcl10);
  if (!old && !Is(magic, kPcl11)) throw EComponentError(kAniClipInvalidFile);
  if (old) r.Take(kOldFormGap);
  const std::uint16_t count = r.U16();
  for (std::uint16_t i = 0; i < count; ++i) {
    // A name length is taken from the file: Take refuses one that runs past
    // the end before anything is allocated for it.
    const std::uint32_t length = old ? r.Take(1)[0] : r.U32();
    auto name = r.Take(length);
    TZRWFrame f;
    f.Name.assign(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(length, TZRWFrame::kMaxName)));
    f.Index = r.U16();
    f.FirstCell = r.U16();
    f.LastCell = r.U16();
    clip.Frames.push_back(std::move(f));
  }
  ReadCells(r, clip.Clip);
  ReadPicture(r, clip.Clip.Bitmap);
  return r.Position();
}
