#include "clap/IClapPlugin.h"

#include <cstring>
#include <vector>

// The state a host keeps: a small header naming it and the current program, then the bank block,
// which brings back every program and the live values (what the LV2 state holds too).
namespace {
constexpr char StateTag[4] = {'O', 'm', 'b', 'C'};
constexpr int32_t StateLayout = 1;
constexpr size_t HeaderBytes = 12;
constexpr uint64_t ReadChunkBytes = 4096;

bool WriteAll(const clap_ostream* stream, const uint8_t* data, int64_t size) {
  while (size > 0) {
    const int64_t written = stream->write(stream, data, static_cast<uint64_t>(size));
    // Nothing taken is no progress: a host that keeps taking nothing would hold us for ever.
    if (written <= 0 || written > size) {
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

// Everything up to the stream's end; false on an error or more than a state of ours can be.
bool ReadAll(const clap_istream* stream, std::vector<uint8_t>* bytes) {
  uint8_t chunk[ReadChunkBytes];
  for (;;) {
    const int64_t read = stream->read(stream, chunk, sizeof(chunk));
    if (read == 0) {
      return true;
    }
    if (read < 0 || read > static_cast<int64_t>(sizeof(chunk)) ||
        bytes->size() + static_cast<size_t>(read) > HeaderBytes + LargestStateBytes) {
      return false;
    }
    bytes->insert(bytes->end(), chunk, chunk + read);
  }
}
} // namespace

bool IClapPlugin::SaveState(const clap_ostream* stream) {
  ExpectMainThread();
  if (!stream || !stream->write) {
    return false;
  }
  IByteBlock header;
  {
    IScopedLock guard(pluginLock);
    stateBlock.Clear();
    if (!SaveStateBlock(StateBlockKind::Bank, &stateBlock) ||
        !header.AppendBytes(StateTag, sizeof(StateTag)) || !header.AppendInt32(StateLayout) ||
        !header.AppendInt32(currentPreset)) {
      return false;
    }
  }
  return WriteAll(stream, header.Data(), header.Size()) &&
         WriteAll(stream, stateBlock.Data(), stateBlock.Size());
}

// Read whole and checked before anything is applied: a state that is empty, short, not ours or
// damaged changes nothing.
bool IClapPlugin::LoadState(const clap_istream* stream) {
  ExpectMainThread();
  std::vector<uint8_t> bytes;
  if (!stream || !stream->read || !ReadAll(stream, &bytes)) {
    Log(Clap::LogWarning, "Ombrix: the state could not be read; nothing was changed.");
    return false;
  }
  IByteBlock header;
  int32_t layout = 0;
  int32_t program = -1;
  const bool known = bytes.size() > HeaderBytes &&
                     header.AppendBytes(bytes.data(), static_cast<int>(HeaderBytes)) &&
                     std::memcmp(header.Data(), StateTag, sizeof(StateTag)) == 0 &&
                     header.ReadInt32(sizeof(StateTag), &layout) >= 0 &&
                     header.ReadInt32(sizeof(StateTag) + sizeof(int32_t), &program) >= 0 &&
                     layout == StateLayout && program >= 0 && program < PresetCount();
  if (!known) {
    Log(Clap::LogWarning, "Ombrix: the state is not an Ombrix state; nothing was changed.");
    return false;
  }
  {
    IScopedLock guard(pluginLock);
    const StateLoadResult result =
        LoadStateBlock(StateBlockKind::Bank, bytes.data() + HeaderBytes,
                       static_cast<int64_t>(bytes.size() - HeaderBytes), OlderBlocks::Refuse,
                       ShortBlocks::RollBack, &stateBlock);
    if (result != StateLoadResult::Loaded) {
      Log(Clap::LogWarning, "Ombrix: the state's programs are damaged; nothing was changed.");
      return false;
    }
    SelectPreset(program);
  }
  RescanValues();
  return true;
}
