// The library managers' operations on one table of the document: move an
// entry up or down, sort by name, delete and rename. Each returns the entry
// number to select afterwards (1-based, 0 for none). The voices follow their
// entries through every reordering; voices of a deleted entry take entry 1.
// Qt-free.
#pragma once

#include <string>
#include <vector>

#include "core/Document.h"

enum class TLibraryKind { WavePresets, VolumeEnvelopes };

class TLibraryManager {
 public:
  TLibraryManager(TInstrumentDocument& doc, TLibraryKind kind) : doc_(doc), kind_(kind) {}

  int Count() const;
  std::vector<std::string> Names() const;
  // Exact, case-sensitive comparison of the name as it would be stored (cut
  // to the table's name length) with every entry's name.
  bool NameExists(const std::string& name) const;

  int MoveUp(int n);
  int MoveDown(int n);
  int Sort(bool ascending);
  // After the person confirmed; nothing for a number outside 1..count.
  int Delete(int n);
  // False when the (cut) name is taken.
  bool Rename(int n, const std::string& name);

  bool Modified() const;
  // The longest name an entry keeps.
  std::size_t MaxName() const;

 private:

  TInstrumentDocument& doc_;
  TLibraryKind kind_;
};
