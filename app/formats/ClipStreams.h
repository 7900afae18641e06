// The stream forms of picture clips ("PCP11", read also "PCP10") and of
// animation clips ("PCL11", read also "PCL10"), and the bitmap inside both:
// a 32-bit length followed by a device-independent bitmap file image.
// Widget-free: a picture is plain pixels here; the clip objects convert.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/FrameList.h"

inline constexpr const char* kClipInvalidFile = "Invalid File";       // picture clip
inline constexpr const char* kAniClipInvalidFile = "Invalid File!";   // animation clip
inline constexpr const char* kStreamReadError = "Stream read error";  // the stream ends early
inline constexpr const char* kInvalidBitmap = "Bitmap image is not valid";

// Largest picture a stream may carry: each side fits the 16-bit cell grid's
// sums and the whole stays far below what a 32-bit size can describe.
inline constexpr std::int64_t kMaxPictureSide = 32767;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 26;
// Largest clip file that is read: the largest picture at 32 bits a pixel,
// and room for the headers and a full frame list of the old form (65535
// names of up to 255 bytes).
inline constexpr std::uintmax_t kMaxClipFileSize = 4 * static_cast<std::uintmax_t>(kMaxPicturePixels) + (32u << 20);

// Pixels row by row from the top, each 0xRRGGBB (the top byte is ignored).
struct TClipPicture {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;
  bool Empty() const { return Width <= 0 || Height <= 0; }
  std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x] & 0xFFFFFF; }
  bool operator==(const TClipPicture&) const = default;
};

struct TClipContent {
  std::uint16_t Rows = 0, Columns = 0;
  TClipPicture Bitmap;
};

struct TAniClipContent {
  std::vector<TZRWFrame> Frames;  // names cut to 24 bytes
  TClipContent Clip;
};

// Appends the stream form to `out`.
void WritePictureStream(std::vector<std::uint8_t>& out, const TClipPicture& picture);
void WriteClipStream(std::vector<std::uint8_t>& out, const TClipContent& clip);
void WriteAniClipStream(std::vector<std::uint8_t>& out, const TAniClipContent& clip);

// Each reads one stream form from the start of `bytes` and returns how many
// bytes it took; bytes after it are left alone. Raises EComponentError with
// the texts above.
std::size_t ReadPictureStream(std::span<const std::uint8_t> bytes, TClipPicture& picture);
std::size_t ReadClipStream(std::span<const std::uint8_t> bytes, TClipContent& clip);
std::size_t ReadAniClipStream(std::span<const std::uint8_t> bytes, TAniClipContent& clip);
