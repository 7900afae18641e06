#include "formats/EnvelopeImport.h"

#include "formats/PresetImport.h"

namespace {

class LineReader {
 public:
  explicit LineReader(const std::vector<std::uint8_t>& b) : b_(b) {}
  bool AtEnd() const { return pos_ >= b_.size(); }

  // The current line without its end (LF or CR LF), then past it.
  std::string ReadLine() {
    std::string s;
    while (!AtEnd() && b_[pos_] != '\n') s += static_cast<char>(b_[pos_++]);
    if (!AtEnd()) ++pos_;
    if (!s.empty() && s.back() == '\r') s.pop_back();
    return s;
  }

  // A decimal integer after blanks and line ends; it must end at a blank, a
  // line end or the file's end.
  long long ReadInteger() {
    while (!AtEnd() && IsBlank(b_[pos_])) ++pos_;
    if (AtEnd()) Fail(PresetImportMessage::kEndOfFile);
    bool negative = false;
    if (b_[pos_] == '+' || b_[pos_] == '-') negative = b_[pos_++] == '-';
    long long v = 0;
    int digits = 0;
    for (; !AtEnd() && b_[pos_] >= '0' && b_[pos_] <= '9'; ++pos_, ++digits) {
      v = v * 10 + (b_[pos_] - '0');
      if (v > 0xFFFFFFFFLL) Fail(PresetImportMessage::kBadNumber);
    }
    if (digits == 0 || (!AtEnd() && !IsBlank(b_[pos_]))) Fail(PresetImportMessage::kBadNumber);
    return negative ? -v : v;
  }

  [[noreturn]] static void Fail(const char* what) { throw EEnvelopeImportError(what, false); }

 private:
  static bool IsBlank(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  const std::vector<std::uint8_t>& b_;
  std::size_t pos_ = 0;
};

}  // namespace

TVolumeEnvelope ReadEnvelopeText(const std::vector<std::uint8_t>& bytes) {
  LineReader in(bytes);
  if (in.ReadLine() != kEnvelopeTextHeader) throw EEnvelopeImportError(kEnvelopeWrongFormat, true);
  if (in.AtEnd()) LineReader::Fail(PresetImportMessage::kEndOfFile);
  TVolumeEnvelope e;
  e.Name = ImportedName(in.ReadLine(), TVolumeEnvelope::kMaxName);
  const long long count = in.ReadInteger();
  if (count < 1 || count > TVolumeEnvelope::kMaxPoints) LineReader::Fail(kEnvelopeCountOutOfRange);
  e.Count = static_cast<std::uint8_t>(count);
  for (int i = 0; i < count; ++i) {
    const long long t = in.ReadInteger();
    const long long l = in.ReadInteger();
    if (t < 0 || t > 255 || l < 0 || l > 255) LineReader::Fail(kEnvelopeValueOutOfRange);
    e.X[i] = static_cast<std::uint8_t>(t);
    e.Y[i] = static_cast<std::uint8_t>(l);
  }
  return e;
}
