// A small initialisation-file reader/writer: sections in brackets, one
// "key=value" line per key. Lines it does not understand, the order of
// sections and keys and the spelling of names are kept as they were, so
// writing back changes only the values that were set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Far beyond any settings file the program writes; a larger one is not
// settings and is neither read nor overwritten.
inline constexpr std::uintmax_t kMaxIniFileSize = 4u << 20;

class TIniFile {
 public:
  // Reads the file when it exists (unless `readFile` is false); a missing
  // file gives an empty object. A file that exists but cannot be read (no
  // permission, not a regular file, larger than kMaxIniFileSize, or holding
  // a zero byte, which no text file does) throws EByteFileError.
  explicit TIniFile(std::string fileName, bool readFile = true);

  const std::string& FileName() const { return fileName_; }

  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  // The value exactly as it was written: the file holds a value that begins
  // or ends with a blank, tab, CR or double quote (or would make its line
  // read as a section header) between double quotes, and one such pair is
  // taken off when reading. Blanks, tabs and CRs around an unquoted value
  // are not part of it.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Decimal (or "$"/"0x" hexadecimal) integer; anything else gives the default.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  // Any non-zero integer is true; a value that is not a number gives the default.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  // A line break or zero byte, which no line can hold, is left out of the
  // value (see IniValueKeepable).
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Writes the whole file (through ReplaceFile, so a failed write keeps the
  // old one). Throws EByteFileError on an input/output error.
  void UpdateFile() const;

  // The file's text as UpdateFile would write it.
  std::string Text() const;

 private:
  struct Line {
    bool isKey = false;
    std::string key;    // as spelled in the file
    std::string value;  // as read back: unquoted, blanks outside the quotes gone
    std::string raw;    // the line as read, for lines that are not keys
  };
  struct Section {
    std::string name;   // empty for the lines before the first section
    bool hasHeader = false;
    std::vector<Line> lines;
  };

  const Section* FindSection(const std::string& section) const;
  Section& SectionFor(const std::string& section);
  const Line* FindKey(const std::string& section, const std::string& key) const;

  std::string fileName_;
  std::vector<Section> sections_;
};

// Whether WriteString keeps the value exactly: false when it holds a line
// break or a zero byte.
bool IniValueKeepable(const std::string& value);

// Parses an integer the way the settings file stores them; false when the
// text is not a whole number that fits 32 bits.
bool ParseIniInteger(const std::string& text, int& value);
