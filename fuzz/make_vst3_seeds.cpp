// Writes the VST 3 fuzzer's starting inputs into the folder given: the state a new plug-in saves
// to both halves, a VST 2 project's wrapper and bank, and a call with points and events.
#include "fuzz/FuzzBytes.h"
#include "fuzz/ReusedVst3Plugin.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {
constexpr uint8_t StateToBoth = 3;
constexpr uint8_t DoubleAfterFlush = 12;
constexpr uint16_t Frames = 512;
constexpr int Programs = 5;
constexpr int Parameters = 3;

void BigWord(FuzzBytesWriter& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.Put(static_cast<uint8_t>(value >> shift));
  }
}

void Tag(FuzzBytesWriter& out, const char* text) {
  out.PutBytes(text, 4);
}

// What Cubase keeps of the VST 2 build: the wrapper, then a version 2 bank of five programs.
std::vector<uint8_t> Vst2Project() {
  FuzzBytesWriter out;
  Tag(out, "VstW");
  BigWord(out, 8);
  BigWord(out, 1);
  BigWord(out, 0);
  Tag(out, "CcnK");
  BigWord(out, 488);
  Tag(out, "FxBk");
  BigWord(out, 2);
  BigWord(out, 0x49706566);
  BigWord(out, 10201);
  BigWord(out, Programs);
  BigWord(out, 2);
  const std::vector<uint8_t> zeros(124);
  out.PutBytes(zeros.data(), zeros.size());
  for (int p = 0; p < Programs; ++p) {
    Tag(out, "CcnK");
    BigWord(out, 60);
    Tag(out, "FxCk");
    BigWord(out, 1);
    BigWord(out, 0x49706566);
    BigWord(out, 10201);
    BigWord(out, Parameters);
    char name[28] = {};
    std::snprintf(name, sizeof(name), "Program %d", p + 1);
    out.PutBytes(name, sizeof(name));
    for (int i = 0; i < Parameters; ++i) {
      const float value = static_cast<float>(p) / Programs;
      uint32_t bits = 0;
      std::memcpy(&bits, &value, sizeof(bits));
      BigWord(out, bits);
    }
  }
  return out.Bytes();
}

std::vector<uint8_t> Input(uint8_t flags, const std::vector<uint8_t>& state, bool withLists) {
  FuzzBytesWriter out;
  out.Put(flags);
  out.Put(Frames);
  out.Put(static_cast<uint8_t>(withLists ? 2 : 0));
  if (withLists) {
    out.Put(static_cast<uint8_t>(0));
    out.Put(static_cast<int32_t>(100));
    out.Put(0.75);
    out.Put(static_cast<uint8_t>(4));
    out.Put(static_cast<int32_t>(0));
    out.Put(1.0);
  }
  out.Put(static_cast<uint8_t>(withLists ? 1 : 0));
  if (withLists) {
    out.Put(static_cast<uint16_t>(vst3::Event::kNoteOnEvent));
    out.Put(static_cast<int32_t>(20));
    out.Put(static_cast<int16_t>(0));
    out.Put(static_cast<int16_t>(60));
    out.Put(0.8f);
    out.Put(static_cast<uint8_t>(0));
  }
  out.PutBytes(state.data(), state.size());
  return out.Bytes();
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file.flush());
}
} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SEED-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  Vst3FuzzHost host;
  const bool written = Write(folder + "/own-state", Input(StateToBoth, host.SaveState(), false)) &&
                       Write(folder + "/vst2-project", Input(StateToBoth, Vst2Project(), false)) &&
                       Write(folder + "/lists", Input(DoubleAfterFlush, {}, true));
  return written ? 0 : 1;
}
