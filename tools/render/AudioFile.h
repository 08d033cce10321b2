#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct sf_private_tag;

// Audio files through libsndfile. Samples travel as interleaved doubles in -1..1.

class AudioReader {
public:
  // The file at path, or null with a one-line reason in error.
  static std::unique_ptr<AudioReader> Open(const std::string& path, std::string* error);

  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;
  ~AudioReader();

  int Channels() const { return channels; }
  int SampleRate() const { return sampleRate; }
  int64_t Frames() const { return frames; }
  // The libsndfile format word (container and encoding).
  int Format() const { return format; }

  // Reads up to count frames; returns the number read (0 at the end).
  int64_t Read(double* interleaved, int64_t count);

private:
  AudioReader() = default;
  sf_private_tag* file = nullptr;
  int channels = 0;
  int sampleRate = 0;
  int64_t frames = 0;
  int format = 0;
};

// Writes into a temporary file beside the target and puts it in place only on Commit, so a
// failed run never leaves a partial file under the target's name.
class AudioWriter {
public:
  static std::unique_ptr<AudioWriter> Create(const std::string& path, int format, int channels,
                                             int sampleRate, std::string* error);

  AudioWriter(const AudioWriter&) = delete;
  AudioWriter& operator=(const AudioWriter&) = delete;
  // Without a successful Commit the temporary file is removed.
  ~AudioWriter();

  bool Write(const double* interleaved, int64_t frames, std::string* error);
  bool Commit(std::string* error);

private:
  AudioWriter() = default;
  sf_private_tag* file = nullptr;
  std::string target;
  std::string temporary;
  bool committed = false;
};

// The format for an output file: the container from the file name's extension (.wav, .aif,
// .aiff, .flac), the encoding named (pcm16, pcm24, pcm32, float, double) or else the input's.
// False with the reason when the extension is unknown or the pair cannot be written.
bool ChooseOutputFormat(const std::string& path, int inputFormat, const std::string& encoding,
                        int channels, int sampleRate, int* format, std::string* error);

// "WAV, 24-bit PCM" and the like.
std::string DescribeFormat(int format);
// The encoding part alone: "Signed 24 bit PCM".
std::string DescribeEncoding(int format);
// Whether the format stores integer samples, which clip beyond full scale.
bool IsIntegerEncoding(int format);

// The most channels a file may have here: as many as a plug-in may.
constexpr int kMostFileChannels = 64;

// The temporary name used beside a target while it is being written.
std::string TemporaryPathFor(const std::string& target);
