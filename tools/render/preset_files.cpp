#include "host/vst2/Vst2Plugin.h"
#include "tools/render/PresetFiles.h"

#include "tools/render/FxFormat.h"
#include "tools/render/WholeFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
FxIdentity IdentityOf(Vst2Plugin& host) {
  FxIdentity identity;
  identity.uniqueId = host.Effect().uniqueID;
  identity.version = host.Effect().version;
  return identity;
}

FxProgram CaptureCurrentProgram(Vst2Plugin& host) {
  FxProgram program;
  program.name = host.CurrentProgramName();
  program.parameters.resize(static_cast<size_t>(std::max(host.Effect().numParams, 0)));
  for (size_t i = 0; i < program.parameters.size(); ++i) {
    program.parameters[i] = host.Normalized(static_cast<int>(i));
  }
  return program;
}

bool CheckIdentity(Vst2Plugin& host, const FxIdentity& identity, const std::string& path,
                   std::string* error) {
  if (identity.uniqueId != host.Effect().uniqueID) {
    *error = path + " belongs to the plug-in with ID " + FourCharacterText(identity.uniqueId) +
             ", not to " + host.EffectName() + " (" + FourCharacterText(host.Effect().uniqueID) +
             ")";
    return false;
  }
  return true;
}

// Puts one program's values and name into the current program.
bool ApplyProgram(Vst2Plugin& host, const FxProgram& program, const std::string& path,
                  std::string* error) {
  if (program.isChunk) {
    if (!host.SetChunk(true, program.chunk)) {
      *error = host.EffectName() + " refused the program state in " + path;
      return false;
    }
  } else {
    if (program.parameters.size() != static_cast<size_t>(host.Effect().numParams)) {
      *error = path + " holds " + std::to_string(program.parameters.size()) +
               " parameter values, " + host.EffectName() + " has " +
               std::to_string(host.Effect().numParams);
      return false;
    }
    for (size_t i = 0; i < program.parameters.size(); ++i) {
      const float value = program.parameters[i];
      if (std::isnan(value)) {
        *error = path + " holds a parameter value that is not a number";
        return false;
      }
      host.SetNormalized(static_cast<int>(i), std::clamp(value, 0.0f, 1.0f));
    }
  }
  if (!program.name.empty()) {
    host.RenameCurrentProgram(program.name);
  }
  return true;
}
} // namespace

bool SaveProgramFile(Vst2Plugin& host, const std::string& path, std::string* error) {
  FxProgram program;
  if (host.HasFlag(effFlagsProgramChunks)) {
    program.isChunk = true;
    program.name = host.CurrentProgramName();
    program.chunk = host.Chunk(true);
    if (program.chunk.empty()) {
      *error = host.EffectName() + " gave no program state to save in " + path;
      return false;
    }
  } else {
    program = CaptureCurrentProgram(host);
  }
  return WriteWholeFile(path, EncodeFxp(program, IdentityOf(host)), error);
}

bool SaveBankFile(Vst2Plugin& host, const std::string& path, std::string* error) {
  FxBank bank;
  bank.currentProgram = host.CurrentProgram();
  if (host.HasFlag(effFlagsProgramChunks)) {
    bank.isChunk = true;
    bank.programCount = host.Effect().numPrograms;
    bank.chunk = host.Chunk(false);
    if (bank.chunk.empty()) {
      *error = host.EffectName() + " gave no bank state to save in " + path;
      return false;
    }
  } else {
    // Switching programs makes the plug-in keep the live values of the one left, so the
    // current program is saved as it sounds now.
    for (int i = 0; i < host.Effect().numPrograms; ++i) {
      host.SelectProgram(i);
      bank.programs.push_back(CaptureCurrentProgram(host));
    }
    host.SelectProgram(bank.currentProgram);
  }
  return WriteWholeFile(path, EncodeFxb(bank, IdentityOf(host)), error);
}

bool LoadProgramFile(Vst2Plugin& host, const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes, error)) {
    return false;
  }
  FxProgram program;
  FxIdentity identity;
  std::string reason;
  if (!DecodeFxp(bytes, &program, &identity, &reason)) {
    *error = "cannot load " + path + ": " + reason;
    return false;
  }
  return CheckIdentity(host, identity, path, error) && ApplyProgram(host, program, path, error);
}

bool LoadBankFile(Vst2Plugin& host, const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes, error)) {
    return false;
  }
  FxBank bank;
  FxIdentity identity;
  std::string reason;
  if (!DecodeFxb(bytes, &bank, &identity, &reason)) {
    *error = "cannot load " + path + ": " + reason;
    return false;
  }
  if (!CheckIdentity(host, identity, path, error)) {
    return false;
  }
  const int programCount = host.Effect().numPrograms;
  if (bank.isChunk) {
    if (!host.SetChunk(false, bank.chunk)) {
      *error = host.EffectName() + " refused the bank state in " + path;
      return false;
    }
  } else {
    if (bank.programs.size() > static_cast<size_t>(programCount)) {
      *error = path + " holds " + std::to_string(bank.programs.size()) + " programs, " +
               host.EffectName() + " has " + std::to_string(programCount);
      return false;
    }
    const int previous = host.CurrentProgram();
    for (size_t i = 0; i < bank.programs.size(); ++i) {
      host.SelectProgram(static_cast<int>(i));
      if (!ApplyProgram(host, bank.programs[i], path, error)) {
        return false;
      }
    }
    const bool named = bank.currentProgram >= 0 && bank.currentProgram < programCount;
    host.SelectProgram(named ? bank.currentProgram : previous);
    return true;
  }
  if (bank.currentProgram >= 0 && bank.currentProgram < programCount) {
    host.SelectProgram(bank.currentProgram);
  }
  return true;
}
