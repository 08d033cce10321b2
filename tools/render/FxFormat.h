#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The .fxp (one program) and .fxb (bank) containers VST 2 hosts exchange presets in. Every
// header field is a big-endian 32-bit value; parameter values are big-endian IEEE floats in the
// host's 0..1 range. Chunk forms carry the plug-in's own opaque state instead of the list.

// Which plug-in a file belongs to: its unique ID and version, as the effect record reports them.
struct FxIdentity {
  int32_t uniqueId = 0;
  int32_t version = 0;
};

struct FxProgram {
  std::string name;
  bool isChunk = false;
  std::vector<float> parameters;
  std::vector<uint8_t> chunk;
};

struct FxBank {
  bool isChunk = false;
  // List form: one program record each. Chunk form: the count the header states.
  std::vector<FxProgram> programs;
  int32_t programCount = 0;
  std::vector<uint8_t> chunk;
  // The program to select after loading; -1 when the file does not say (format version 1).
  int32_t currentProgram = -1;
};

// Program names are stored in 28 bytes, terminator included.
constexpr size_t kFxProgramNameBytes = 28;
constexpr size_t kFxpHeaderBytes = 56;
constexpr size_t kFxbHeaderBytes = 156;

std::vector<uint8_t> EncodeFxp(const FxProgram& program, const FxIdentity& identity);
// Written as format version 2, which records the current program.
std::vector<uint8_t> EncodeFxb(const FxBank& bank, const FxIdentity& identity);

// False with a one-line reason when the bytes are not a well-formed file of that kind.
bool DecodeFxp(const std::vector<uint8_t>& bytes, FxProgram* program, FxIdentity* identity,
               std::string* error);
bool DecodeFxb(const std::vector<uint8_t>& bytes, FxBank* bank, FxIdentity* identity,
               std::string* error);

// A unique ID as its four characters where they are printable ("Ipef"), else in hex.
std::string FourCharacterText(int32_t value);
