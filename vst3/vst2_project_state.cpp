#include "vst3/IVst3Plugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// A project saved with Ombrix's VST 2 build, as hosts that replace a VST 2 plug-in by its VST 3
// version hand it over: optionally the host's wrapper (with the bypass), then a bank of parameter
// programs, or a single program. All numbers are big-endian; values are the normalised floats
// the VST 2 build reported.
namespace {
constexpr uint32_t Tag(const char (&text)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[3]));
}
constexpr uint32_t WrapperTag = Tag("VstW");
constexpr uint32_t RecordTag = Tag("CcnK");
constexpr uint32_t BankOfProgramsTag = Tag("FxBk");
constexpr uint32_t ProgramTag = Tag("FxCk");

constexpr int64_t WrapperHeaderStart = 8;
constexpr int64_t WrapperBypassAt = 12;
constexpr int64_t WrapperSmallestHeader = 8;
constexpr int64_t BankHeaderBytes = 156;
constexpr int64_t BankVersionAt = 12;
constexpr int64_t BankIdAt = 16;
constexpr int64_t BankProgramCountAt = 24;
constexpr int64_t BankCurrentProgramAt = 28;
constexpr int32_t BankVersionWithCurrentProgram = 2;
constexpr int64_t ProgramHeaderBytes = 56;
constexpr int64_t ProgramIdAt = 16;
constexpr int64_t ProgramParameterCountAt = 24;
constexpr int64_t ProgramNameAt = 28;
constexpr int64_t ProgramNameBytes = 28;
constexpr int64_t RecordKindAt = 8;

uint32_t Big32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
         static_cast<uint32_t>(at[2]) << 8 | static_cast<uint32_t>(at[3]);
}

float BigFloat(const uint8_t* at) {
  const uint32_t bits = Big32(at);
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

struct Vst2Program {
  char name[ProgramNameBytes + 1] = {};
  std::vector<double> values;
};

// Reads one parameter-list program record at `at`; the position after it, or -1.
int64_t ReadProgram(const uint8_t* data, int64_t size, int64_t at, int32_t uniqueId,
                    int parameterCount, Vst2Program* program) {
  if (at < 0 || size - at < ProgramHeaderBytes) {
    return -1;
  }
  const uint8_t* record = data + at;
  if (Big32(record) != RecordTag || Big32(record + RecordKindAt) != ProgramTag ||
      static_cast<int32_t>(Big32(record + ProgramIdAt)) != uniqueId ||
      static_cast<int64_t>(Big32(record + ProgramParameterCountAt)) != parameterCount) {
    return -1;
  }
  const int64_t end = at + ProgramHeaderBytes + 4 * static_cast<int64_t>(parameterCount);
  if (end > size) {
    return -1;
  }
  std::memcpy(program->name, record + ProgramNameAt, ProgramNameBytes);
  program->values.clear();
  for (int p = 0; p < parameterCount; ++p) {
    program->values.push_back(BigFloat(record + ProgramHeaderBytes + 4 * p));
  }
  return end;
}
} // namespace

bool IVst3Plugin::LooksLikeVst2Project(const uint8_t* data, int64_t size) {
  return size >= 4 && (Big32(data) == WrapperTag || Big32(data) == RecordTag);
}

bool IVst3Plugin::LoadVst2Project(const uint8_t* data, int64_t size) {
  int64_t at = 0;
  bool hasBypass = false;
  bool bypass = false;
  if (Big32(data) == WrapperTag) {
    if (size < WrapperBypassAt + 4) {
      return false;
    }
    const int64_t headerBytes = Big32(data + 4);
    if (headerBytes < WrapperSmallestHeader || headerBytes > size - WrapperHeaderStart) {
      return false;
    }
    hasBypass = true;
    bypass = Big32(data + WrapperBypassAt) != 0;
    at = WrapperHeaderStart + headerBytes;
  }
  if (size - at < RecordKindAt + 4 || Big32(data + at) != RecordTag) {
    return false;
  }
  std::vector<Vst2Program> programs;
  int current = -1;
  const uint32_t kind = Big32(data + at + RecordKindAt);
  if (kind == BankOfProgramsTag) {
    if (size - at < BankHeaderBytes ||
        static_cast<int32_t>(Big32(data + at + BankIdAt)) != uniqueId) {
      return false;
    }
    const int64_t count = Big32(data + at + BankProgramCountAt);
    if (count < 1 || count > PresetCount()) {
      return false;
    }
    // The first bank version stores no current program: the first one was.
    const bool hasCurrent =
        static_cast<int32_t>(Big32(data + at + BankVersionAt)) >= BankVersionWithCurrentProgram;
    current = hasCurrent ? static_cast<int>(Big32(data + at + BankCurrentProgramAt)) : 0;
    programs.resize(static_cast<size_t>(count));
    int64_t next = at + BankHeaderBytes;
    for (Vst2Program& program : programs) {
      next = ReadProgram(data, size, next, uniqueId, ParameterCount(), &program);
      if (next < 0) {
        return false;
      }
    }
  } else if (kind == ProgramTag) {
    programs.resize(1);
    if (ReadProgram(data, size, at, uniqueId, ParameterCount(), &programs[0]) < 0) {
      return false;
    }
  } else {
    // Chunks: the VST 2 build never wrote any, so these are not its bytes.
    return false;
  }

  IScopedLock guard(pluginLock);
  // A single program lands in the current one; a bank fills the programs from the first.
  const int first = programs.size() == 1 && kind == ProgramTag ? currentPreset : 0;
  for (size_t i = 0; i < programs.size(); ++i) {
    currentPreset = first + static_cast<int>(i);
    for (int p = 0; p < ParameterCount(); ++p) {
      const double value = programs[i].values[static_cast<size_t>(p)];
      if (!std::isnan(value)) {
        Parameter(p)->SetFromNormalized(std::clamp(value, 0.0, 1.0));
      }
    }
    ModifyCurrentPreset(programs[i].name);
  }
  currentPreset = first;
  if (current >= 0 && current < PresetCount()) {
    currentPreset = current;
  }
  SelectPreset(currentPreset);
  if (hasBypass) {
    SetBypass(bypass);
  }
  RefreshParameterControls();
  return true;
}
