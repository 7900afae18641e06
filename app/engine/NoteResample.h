// Playing the sample at a MIDI note's pitch: nearest lower source sample, no
// interpolation; note 60 plays it unchanged.
#pragma once

#include <cstdint>
#include <vector>

namespace kalvora::engine {

// Ratio of MIDI note 36..96 against note 60 (to four decimals); 0 outside.
float MidiNoteRatio(int note);

// The 16-bit sample `source` played `ratio` times faster; with `useVelocity`
// each value is scaled by velocity / 127.
std::vector<std::uint8_t> ResampleForNote(const std::vector<std::uint8_t>& source, float ratio, bool useVelocity,
                                          int velocity);

}  // namespace kalvora::engine
