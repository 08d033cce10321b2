#include "tools/render/WholeFile.h"

#include "tools/render/AudioFile.h"
#include "tools/render/HostPlatform.h"

#include <cstdio>

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = "cannot open " + path + ": no such file or not readable";
    return false;
  }
  uint8_t buffer[65536];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
    bytes->insert(bytes->end(), buffer, buffer + count);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    *error = "cannot read " + path;
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string* error) {
  return WriteWholeFileWith(
      path,
      [&bytes](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
      },
      error);
}

bool WriteWholeFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                        std::string* error) {
  const std::string temporary = TemporaryPathFor(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    *error = "cannot write " + path;
    return false;
  }
  const bool written = write(file);
  const bool closed = std::fclose(file) == 0;
  std::string reason = "disk full or not writable";
  if (!written || !closed || !MoveIntoPlace(temporary, path, &reason)) {
    std::remove(temporary.c_str());
    *error = "cannot write " + path + ": " + reason;
    return false;
  }
  return true;
}
