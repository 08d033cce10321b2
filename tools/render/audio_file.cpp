#include "tools/render/AudioFile.h"

#include "tools/render/HostPlatform.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sndfile.h>

namespace {
std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Extension(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return std::string();
  }
  return LowerCase(path.substr(dot + 1));
}

struct NamedFormat {
  const char* name;
  int value;
};

constexpr NamedFormat kContainers[] = {{"wav", SF_FORMAT_WAV},
                                       {"aif", SF_FORMAT_AIFF},
                                       {"aiff", SF_FORMAT_AIFF},
                                       {"flac", SF_FORMAT_FLAC}};

constexpr NamedFormat kEncodings[] = {{"pcm16", SF_FORMAT_PCM_16},
                                      {"pcm24", SF_FORMAT_PCM_24},
                                      {"pcm32", SF_FORMAT_PCM_32},
                                      {"float", SF_FORMAT_FLOAT},
                                      {"double", SF_FORMAT_DOUBLE}};

// libsndfile's reason for the last failure, as one line (system texts may end in a line break).
std::string SoundFileError(SNDFILE* file) {
  std::string text = sf_strerror(file);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.pop_back();
  }
  return text;
}

// Whether this libsndfile was built with the container (FLAC needs external libraries).
bool ContainerAvailable(int container) {
  int count = 0;
  sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
  for (int i = 0; i < count; ++i) {
    SF_FORMAT_INFO info = {};
    info.format = i;
    if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof(info)) == 0 &&
        (info.format & SF_FORMAT_TYPEMASK) == container) {
      return true;
    }
  }
  return false;
}

bool Checks(int format, int channels, int sampleRate) {
  SF_INFO info = {};
  info.format = format;
  info.channels = channels;
  info.samplerate = sampleRate;
  return sf_format_check(&info) != 0;
}

// libsndfile's own name of the container or encoding part of a format word.
std::string FormatName(int format, int mask) {
  SF_FORMAT_INFO info = {};
  info.format = format & mask;
  if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof(info)) != 0 || !info.name) {
    char text[32];
    std::snprintf(text, sizeof(text), "format 0x%X", format & mask);
    return text;
  }
  return info.name;
}
} // namespace

std::unique_ptr<AudioReader> AudioReader::Open(const std::string& path, std::string* error) {
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (!probe) {
    *error = "cannot open " + path + ": no such file or not readable";
    return nullptr;
  }
  std::fclose(probe);
  SF_INFO info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) {
    *error = "cannot read " + path + ": " + SoundFileError(nullptr);
    return nullptr;
  }
  if (info.channels < 1 || info.channels > kMostFileChannels) {
    sf_close(file);
    *error = "unsupported format: " + path + " has " + std::to_string(info.channels) +
             " channels (at most 64)";
    return nullptr;
  }
  std::unique_ptr<AudioReader> reader(new AudioReader());
  reader->file = file;
  reader->channels = info.channels;
  reader->sampleRate = info.samplerate;
  reader->frames = info.frames;
  reader->format = info.format;
  return reader;
}

AudioReader::~AudioReader() {
  sf_close(file);
}

int64_t AudioReader::Read(double* interleaved, int64_t count) {
  return sf_readf_double(file, interleaved, count);
}

std::unique_ptr<AudioWriter> AudioWriter::Create(const std::string& path, int format, int channels,
                                                 int sampleRate, std::string* error) {
  std::unique_ptr<AudioWriter> writer(new AudioWriter());
  writer->target = path;
  writer->temporary = TemporaryPathFor(path);
  SF_INFO info = {};
  info.format = format;
  info.channels = channels;
  info.samplerate = sampleRate;
  writer->file = sf_open(writer->temporary.c_str(), SFM_WRITE, &info);
  if (!writer->file) {
    *error = "cannot write " + path + ": " + SoundFileError(nullptr);
    return nullptr;
  }
  // Integer encodings clip instead of wrapping a sample beyond full scale around.
  sf_command(writer->file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return writer;
}

AudioWriter::~AudioWriter() {
  if (file) {
    sf_close(file);
  }
  if (!committed && !temporary.empty()) {
    std::remove(temporary.c_str());
  }
}

bool AudioWriter::Write(const double* interleaved, int64_t frames, std::string* error) {
  if (sf_writef_double(file, interleaved, frames) != frames) {
    *error = "cannot write " + target + ": " + SoundFileError(file);
    return false;
  }
  return true;
}

bool AudioWriter::Commit(std::string* error) {
  const int closed = sf_close(file);
  file = nullptr;
  if (closed != 0) {
    *error = "cannot write " + target + ": " + sf_error_number(closed);
    return false;
  }
  std::string reason;
  if (!MoveIntoPlace(temporary, target, &reason)) {
    *error = "cannot write " + target + ": " + reason;
    return false;
  }
  committed = true;
  return true;
}

bool ChooseOutputFormat(const std::string& path, int inputFormat, const std::string& encoding,
                        int channels, int sampleRate, int* format, std::string* error) {
  const std::string extension = Extension(path);
  int container = 0;
  for (const NamedFormat& candidate : kContainers) {
    if (extension == candidate.name) {
      container = candidate.value;
    }
  }
  if (container == 0) {
    *error = "unsupported format: " + path + " (output names end in .wav, .aif, .aiff or .flac)";
    return false;
  }
  int subtype = inputFormat & SF_FORMAT_SUBMASK;
  if (!encoding.empty()) {
    subtype = 0;
    for (const NamedFormat& candidate : kEncodings) {
      if (encoding == candidate.name) {
        subtype = candidate.value;
      }
    }
    if (subtype == 0) {
      *error = "unknown encoding " + encoding + " (pcm16, pcm24, pcm32, float or double)";
      return false;
    }
  }
  if (!ContainerAvailable(container)) {
    std::string upper = extension;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    *error = "unsupported format: this build cannot write " + upper + " files";
    return false;
  }
  if (!Checks(container | subtype, channels, sampleRate)) {
    *error = "unsupported format: " + FormatName(container, SF_FORMAT_TYPEMASK) + " cannot hold " +
             std::to_string(channels) + " channel(s) of " + FormatName(subtype, SF_FORMAT_SUBMASK) +
             " samples; choose another --encoding or container";
    return false;
  }
  *format = container | subtype;
  return true;
}

std::string DescribeFormat(int format) {
  return FormatName(format, SF_FORMAT_TYPEMASK) + ", " + FormatName(format, SF_FORMAT_SUBMASK);
}

std::string DescribeEncoding(int format) {
  return FormatName(format, SF_FORMAT_SUBMASK);
}

bool IsIntegerEncoding(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
  case SF_FORMAT_PCM_S8:
  case SF_FORMAT_PCM_U8:
  case SF_FORMAT_PCM_16:
  case SF_FORMAT_PCM_24:
  case SF_FORMAT_PCM_32:
    return true;
  default:
    return false;
  }
}

std::string TemporaryPathFor(const std::string& target) {
  return target + ".part";
}
