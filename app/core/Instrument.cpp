#include "core/Instrument.h"

#include "core/Library.h"

void CopyVoiceParts(const TVoice& from, TVoice& to, const TVoiceParts& parts) {
  const TVoice a = from;  // `from` and `to` may be the same voice
  if (parts.General) {
    to.Active = a.Active;
    to.Pitch = a.Pitch;
  }
  if (parts.Name) to.Name = CutName(a.Name, TVoice::kMaxName);
  if (parts.Source) {
    to.Morph = a.Morph;
    to.Timing = a.Timing;
  }
  if (parts.Volume) to.Volume = a.Volume;
  if (parts.Vibrato) to.Vibrato = a.Vibrato;
  if (parts.Lowpass) to.Lowpass = a.Lowpass;
}
