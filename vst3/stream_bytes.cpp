#include "vst3/StreamBytes.h"

#include <algorithm>
#include <climits>

namespace vst3 {
namespace {
constexpr int32 ReadPiece = 64 * 1024;
} // namespace

bool ReadWholeStream(IBStream* stream, int64_t limit, std::vector<uint8_t>* bytes) {
  bytes->clear();
  if (!stream) {
    return false;
  }
  for (;;) {
    const size_t used = bytes->size();
    bytes->resize(used + ReadPiece);
    int32 read = 0;
    const tresult result = stream->read(bytes->data() + used, ReadPiece, &read);
    // A host that reports no count at the end may report a failure instead.
    read = result == kResultOk ? std::clamp(read, 0, ReadPiece) : 0;
    bytes->resize(used + static_cast<size_t>(read));
    if (static_cast<int64_t>(bytes->size()) > limit) {
      return false;
    }
    if (read < ReadPiece) {
      return true;
    }
  }
}

bool WriteWholeStream(IBStream* stream, const std::vector<uint8_t>& bytes) {
  if (!stream || bytes.size() > static_cast<size_t>(INT32_MAX)) {
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    int32 written = 0;
    const auto piece = static_cast<int32>(bytes.size() - done);
    if (stream->write(const_cast<uint8_t*>(bytes.data() + done), piece, &written) != kResultOk ||
        written <= 0 || written > piece) {
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}
} // namespace vst3
