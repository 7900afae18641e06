// The sounds the preset and envelope editors preview: 8-bit unsigned mono
// blocks at 44100 samples per second. Qt-free.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/Library.h"

// Level table of an envelope: positions 0..1020 (point times x 4), straight
// lines between the points, positions no segment covers stay 0.
std::array<std::uint8_t, 1021> ExpandVolumeEnvelope(const TVolumeEnvelope& e);
// The preview blocks, as bytes of 8-bit unsigned samples.
std::vector<std::uint8_t> WavePresetPreview(const TWavePreset& p);        // 30000 bytes
std::vector<std::uint8_t> VolumeEnvelopePreview(const TVolumeEnvelope& e);  // 90000 bytes
