// The sample as a RIFF WAVE file: mono, 16-bit PCM at the rate of the
// instrument's quality. Qt-free.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// 11025, 22050 or 44100 Hz for the qualities 0, 1, 2; any other index gives 11025.
std::uint32_t SampleRateForQuality(int quality);

// The 44-byte header for `dataBytes` bytes of samples.
std::vector<std::uint8_t> WavHeader(std::uint32_t sampleRate, std::uint32_t dataBytes);

// Header and samples of a buffer of 16-bit little-endian values. An odd byte
// count leaves out the last, half sample. A buffer too large for the RIFF
// sizes (above 4 GB less the header) throws std::length_error.
std::vector<std::uint8_t> WavBytes(const std::vector<std::uint8_t>& buffer, int quality);

// Creates or replaces the file through a temporary file (EByteFileError).
void WriteWaveFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& buffer, int quality);

// The header as far as the writer makes it, read back; false when the bytes
// are not such a header (for checks and the fuzz target).
struct TWavHeaderInfo {
  std::uint32_t SampleRate = 0;
  std::uint16_t Channels = 0, BitsPerSample = 0;
  std::uint32_t DataBytes = 0;
};
bool ParseWavHeader(const std::uint8_t* data, std::size_t size, TWavHeaderInfo& info);

// The outside converter started after a save: the program, the WAV file's
// name without its folder, then the options split as a command line splits
// them (blanks separate, double quotes group); it runs in the file's folder.
// Never through a shell, so no character of a name is special.
struct TConverterCall {
  std::string Program;
  std::vector<std::string> Arguments;
  std::string Folder;
};
std::vector<std::string> SplitCommandLine(const std::string& options);
TConverterCall ConverterCall(const std::string& program, const std::filesystem::path& wavFile,
                             const std::string& options);
