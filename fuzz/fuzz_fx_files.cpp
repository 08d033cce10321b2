// The .fxp and .fxb readers of the command-line host with files from the fuzzer. Input: one byte
// choosing the kind (even: program, odd: bank), then the file's bytes. Whatever reads as
// well-formed must write back to bytes that read as the same content.
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzCheck.h"
#include "tools/render/FxFormat.h"

#include <cstring>
#include <string>

namespace {
// Values compared bit for bit: a NaN read from a file must come back as the same NaN.
bool SameValues(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * 4) == 0);
}

bool SameProgram(const FxProgram& a, const FxProgram& b) {
  return a.name == b.name && a.isChunk == b.isChunk && SameValues(a.parameters, b.parameters) &&
         a.chunk == b.chunk;
}

void CheckProgram(const std::vector<uint8_t>& file) {
  FxProgram program;
  FxIdentity identity;
  std::string error;
  if (!DecodeFxp(file, &program, &identity, &error)) {
    FuzzCheck(!error.empty(), "a refused program file says why");
    return;
  }
  FuzzCheck(program.name.size() < kFxProgramNameBytes, "a program name fits its field");
  FxProgram again;
  FxIdentity againIdentity;
  FuzzCheck(DecodeFxp(EncodeFxp(program, identity), &again, &againIdentity, &error),
            "a program read back from a file writes a readable file");
  FuzzCheck(SameProgram(program, again), "the written program file holds what was read");
  FuzzCheck(againIdentity.uniqueId == identity.uniqueId &&
                againIdentity.version == identity.version,
            "the written program file names the same plug-in");
}

void CheckBank(const std::vector<uint8_t>& file) {
  FxBank bank;
  FxIdentity identity;
  std::string error;
  if (!DecodeFxb(file, &bank, &identity, &error)) {
    FuzzCheck(!error.empty(), "a refused bank file says why");
    return;
  }
  FxBank again;
  FxIdentity againIdentity;
  FuzzCheck(DecodeFxb(EncodeFxb(bank, identity), &again, &againIdentity, &error),
            "a bank read back from a file writes a readable file");
  FuzzCheck(again.isChunk == bank.isChunk && again.chunk == bank.chunk &&
                again.programs.size() == bank.programs.size(),
            "the written bank file holds what was read");
  for (size_t i = 0; i < bank.programs.size(); ++i) {
    FuzzCheck(SameProgram(bank.programs[i], again.programs[i]),
              "every program of the written bank holds what was read");
  }
  FuzzCheck(againIdentity.uniqueId == identity.uniqueId &&
                againIdentity.version == identity.version,
            "the written bank file names the same plug-in");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes bytes(data, size);
  const bool bank = (bytes.Take<uint8_t>() & 1) != 0;
  const std::vector<uint8_t> file = bytes.TakeRest();
  if (bank) {
    CheckBank(file);
  } else {
    CheckProgram(file);
  }
  return 0;
}
