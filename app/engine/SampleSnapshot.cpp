#include "engine/SampleSnapshot.h"

#include "core/Document.h"

namespace kalvora::engine {

TSampleSnapshot TakeSnapshot(const TInstrumentDocument& doc) {
  TSampleSnapshot s;
  s.Voices = doc.Instrument.Voices;
  for (const TWavePreset& p : doc.WavePresets.Entries()) s.Presets.push_back(p.Data);
  s.Envelopes = doc.VolumeEnvelopes.Entries();
  s.NoteRatio = doc.NoteRatio;
  const TInGlobSettings& g = doc.Instrument.Globals;
  s.Quality = g.GetQuality();
  std::tie(s.DetuneOctave, s.DetuneNote) = g.GetGlobalDetune();
  s.EffectOrder = g.GetEffectOrder();
  s.Effects.EqFactors = g.GetEqFactorTable();
  s.Effects.Distortion = g.GetDistortionFactors();
  s.Effects.Volume = g.GetVolumeFactor();
  s.Effects.Lowpass = g.GetLowpassFactors();
  std::tie(s.Effects.FadeIn, s.Effects.FadeOut) = g.GetFade();
  return s;
}

}  // namespace kalvora::engine
