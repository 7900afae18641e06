#include "core/IniFile.h"

#include <climits>

#include "core/FileAccess.h"

namespace {

// What the reader takes off both ends of names and values.
bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsTrimmed(s[b])) ++b;
  while (e > b && IsTrimmed(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Names compare without regard to ASCII case, as the settings file always has.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// One pair of double quotes around a value is taken off: the writer puts
// them around a value that would otherwise lose its blanks or its own quotes.
std::string Unquoted(const std::string& v) {
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
  return v;
}

bool IsTrimmedOrQuote(char c) { return IsTrimmed(c) || c == '"'; }

// The key's line: the value is quoted when the reader would otherwise trim
// it (a CR read from between quotes included), take its own quotes off, or
// read the whole line as a section header ("[a=b]").
std::string KeyLine(const std::string& key, const std::string& v) {
  const bool quote = !v.empty() && (IsTrimmedOrQuote(v.front()) || IsTrimmedOrQuote(v.back()) ||
                                    (v.back() == ']' && !key.empty() && key.front() == '['));
  return key + "=" + (quote ? '"' + v + '"' : v);
}

}  // namespace

bool IniValueKeepable(const std::string& value) {
  return value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

bool ParseIniInteger(const std::string& text, int& value) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  bool negative = false;
  size_t i = 0;
  if (t[0] == '-' || t[0] == '+') {
    negative = t[0] == '-';
    i = 1;
  }
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return false;
  long long v = 0;
  for (; i < t.size(); ++i) {
    char c = t[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * base + d;
    if (v > 0xFFFFFFFFLL) return false;
  }
  if (negative) v = -v;
  // Hexadecimal texts may name all 32 bits (colours such as $FFFFFFFF).
  if (base == 16 && v > INT_MAX && v <= 0xFFFFFFFFLL) v -= 0x100000000LL;
  if (v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

TIniFile::TIniFile(std::string fileName, bool readFile) : fileName_(std::move(fileName)) {
  sections_.push_back(Section{});
  if (!readFile) return;
  bool first = true;
  for (std::string& line : ReadTextFileLines(fileName_, kMaxIniFileSize)) {
    // An editor may have saved the file as UTF-8 with a byte-order mark: the
    // mark is not part of the first line. Every mark where the line's text
    // starts goes (after blanks as well), as the file is written without one:
    // a mark kept here would be dropped on the next reading and turn the line
    // into another one.
    for (size_t at; first && (at = line.find_first_not_of(" \t\r")) != std::string::npos &&
                    line.compare(at, 3, "\xEF\xBB\xBF") == 0;)
      line.erase(at, 3);
    first = false;
    std::string t = Trim(line);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
      Section s;
      s.name = Trim(t.substr(1, t.size() - 2));
      s.hasHeader = true;
      sections_.push_back(std::move(s));
      continue;
    }
    Line l;
    size_t eq = line.find('=');
    if (!t.empty() && t[0] != ';' && eq != std::string::npos && !Trim(line.substr(0, eq)).empty()) {
      l.isKey = true;
      l.key = Trim(line.substr(0, eq));
      l.value = Unquoted(Trim(line.substr(eq + 1)));
    } else {
      l.raw = line;
    }
    sections_.back().lines.push_back(std::move(l));
  }
}

const TIniFile::Section* TIniFile::FindSection(const std::string& section) const {
  for (const Section& s : sections_)
    if (s.hasHeader && SameName(s.name, section)) return &s;
  return nullptr;
}

TIniFile::Section& TIniFile::SectionFor(const std::string& section) {
  for (Section& s : sections_)
    if (s.hasHeader && SameName(s.name, section)) return s;
  Section s;
  s.name = section;
  s.hasHeader = true;
  sections_.push_back(std::move(s));
  return sections_.back();
}

const TIniFile::Line* TIniFile::FindKey(const std::string& section, const std::string& key) const {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  for (const Line& l : s->lines)
    if (l.isKey && SameName(l.key, key)) return &l;
  return nullptr;
}

bool TIniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return FindKey(section, key) != nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  const Line* l = FindKey(section, key);
  return l ? l->value : defaultValue;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
  const Line* l = FindKey(section, key);
  int v;
  if (l && ParseIniInteger(l->value, v)) return v;
  return defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  // A line break would split the value into two lines of the file, and a
  // zero byte would make the whole file unreadable: both are left out.
  std::string v;
  for (char c : value)
    if (c != '\n' && c != '\r' && c != '\0') v += c;
  Section& s = SectionFor(section);
  for (Line& l : s.lines)
    if (l.isKey && SameName(l.key, key)) {
      l.value = v;
      return;
    }
  Line l;
  l.isKey = true;
  l.key = key;
  l.value = v;
  // New keys go after the last key, before trailing blank lines.
  size_t pos = s.lines.size();
  while (pos > 0 && !s.lines[pos - 1].isKey && Trim(s.lines[pos - 1].raw).empty()) --pos;
  s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(pos), std::move(l));
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const {
  std::string out;
  for (const Section& s : sections_) {
    if (s.hasHeader) out += "[" + s.name + "]\r\n";
    for (const Line& l : s.lines) out += (l.isKey ? KeyLine(l.key, l.value) : l.raw) + "\r\n";
  }
  return out;
}

void TIniFile::UpdateFile() const {
  const std::string text = Text();
  ReplaceFile(fileName_, text.data(), text.size());
}
