#include "core/LibraryManager.h"

namespace {

template <class Table>
std::vector<std::string> TableNames(const Table& t) {
  std::vector<std::string> names;
  for (int i = 1; i <= t.Count(); ++i) names.push_back(t[i].Name);
  return names;
}

}  // namespace

int TLibraryManager::Count() const {
  return kind_ == TLibraryKind::WavePresets ? doc_.WavePresets.Count() : doc_.VolumeEnvelopes.Count();
}

std::vector<std::string> TLibraryManager::Names() const {
  return kind_ == TLibraryKind::WavePresets ? TableNames(doc_.WavePresets) : TableNames(doc_.VolumeEnvelopes);
}

std::size_t TLibraryManager::MaxName() const {
  return kind_ == TLibraryKind::WavePresets ? TWavePreset::kMaxName : TVolumeEnvelope::kMaxName;
}

bool TLibraryManager::NameExists(const std::string& name) const {
  const std::string cut = CutName(name, MaxName());
  return kind_ == TLibraryKind::WavePresets ? doc_.WavePresets.Exists(cut) : doc_.VolumeEnvelopes.Exists(cut);
}

bool TLibraryManager::Modified() const {
  return kind_ == TLibraryKind::WavePresets ? doc_.WavePresetsModified : doc_.VolumeEnvelopesModified;
}

int TLibraryManager::MoveUp(int n) {
  if (n < 2 || n > Count()) return n;
  if (kind_ == TLibraryKind::WavePresets) doc_.SwapWavePresets(n - 1, n);
  else doc_.SwapVolumeEnvelopes(n - 1, n);
  return n - 1;
}

int TLibraryManager::MoveDown(int n) {
  if (n < 1 || n >= Count()) return n;
  if (kind_ == TLibraryKind::WavePresets) doc_.SwapWavePresets(n, n + 1);
  else doc_.SwapVolumeEnvelopes(n, n + 1);
  return n + 1;
}

int TLibraryManager::Sort(bool ascending) {
  if (kind_ == TLibraryKind::WavePresets) doc_.SortWavePresets(ascending);
  else doc_.SortVolumeEnvelopes(ascending);
  return Count() > 0 ? 1 : 0;
}

int TLibraryManager::Delete(int n) {
  if (n < 1 || n > Count()) return n;
  if (kind_ == TLibraryKind::WavePresets) doc_.DeleteWavePreset(n);
  else doc_.DeleteVolumeEnvelope(n);
  doc_.MarkChanged();  // voices of the deleted entry now use entry 1
  if (Count() == 0) return 0;
  return n < 2 ? 1 : n - 1;
}

bool TLibraryManager::Rename(int n, const std::string& name) {
  if (n < 1 || n > Count()) return false;
  const bool done = kind_ == TLibraryKind::WavePresets ? doc_.RenameWavePreset(n, name)
                                                       : doc_.RenameVolumeEnvelope(n, name);
  if (done) doc_.MarkChanged();  // instrument files keep the entries' names
  return done;
}
