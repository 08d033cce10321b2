#include "tools/render/FxFormat.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr int32_t FourCharacters(const char (&text)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8) |
                              static_cast<uint32_t>(static_cast<uint8_t>(text[3])));
}

constexpr int32_t kChunkMagic = FourCharacters("CcnK");
constexpr int32_t kProgramListMagic = FourCharacters("FxCk");
constexpr int32_t kProgramChunkMagic = FourCharacters("FPCh");
constexpr int32_t kBankListMagic = FourCharacters("FxBk");
constexpr int32_t kBankChunkMagic = FourCharacters("FBCh");
constexpr int32_t kProgramFormatVersion = 1;
constexpr int32_t kBankFormatVersion = 2;

class BigEndianWriter {
public:
  void Int32(int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) {
      bytes.push_back(static_cast<uint8_t>(bits >> shift));
    }
  }
  void Float(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    Int32(static_cast<int32_t>(bits));
  }
  void Bytes(const uint8_t* data, size_t count) { bytes.insert(bytes.end(), data, data + count); }
  void Zeros(size_t count) { bytes.insert(bytes.end(), count, 0); }
  // Fills in the size field at offset 4: the count of bytes after it, from the record's start.
  void PatchSize(size_t recordStart) {
    const uint32_t size = static_cast<uint32_t>(bytes.size() - recordStart - 8);
    for (int i = 0; i < 4; ++i) {
      bytes[recordStart + 4 + i] = static_cast<uint8_t>(size >> (24 - 8 * i));
    }
  }
  std::vector<uint8_t> bytes;
};

class BigEndianReader {
public:
  BigEndianReader(const std::vector<uint8_t>& bytes, size_t position)
      : bytes(bytes), position(position) {}
  bool Int32(int32_t* value) {
    if (!Holds(4)) {
      return false;
    }
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
      bits = (bits << 8) | bytes[position + i];
    }
    position += 4;
    *value = static_cast<int32_t>(bits);
    return true;
  }
  bool Float(float* value) {
    int32_t bits = 0;
    if (!Int32(&bits)) {
      return false;
    }
    std::memcpy(value, &bits, sizeof(*value));
    return true;
  }
  bool Bytes(size_t count, std::vector<uint8_t>* out) {
    if (!Holds(count)) {
      return false;
    }
    out->assign(bytes.begin() + static_cast<std::ptrdiff_t>(position),
                bytes.begin() + static_cast<std::ptrdiff_t>(position + count));
    position += count;
    return true;
  }
  bool Skip(size_t count) {
    if (!Holds(count)) {
      return false;
    }
    position += count;
    return true;
  }
  bool Holds(size_t count) const { return count <= bytes.size() - position; }
  // Whether count records of size bytes each remain; divides rather than multiplies, so a
  // declared count cannot wrap a 32-bit size into a small one.
  bool HoldsRecords(size_t count, size_t size) const {
    return count <= (bytes.size() - position) / size;
  }
  size_t Position() const { return position; }

private:
  const std::vector<uint8_t>& bytes;
  size_t position;
};

void WriteProgram(const FxProgram& program, const FxIdentity& identity, BigEndianWriter* out) {
  const size_t start = out->bytes.size();
  out->Int32(kChunkMagic);
  out->Int32(0);
  out->Int32(program.isChunk ? kProgramChunkMagic : kProgramListMagic);
  out->Int32(kProgramFormatVersion);
  out->Int32(identity.uniqueId);
  out->Int32(identity.version);
  out->Int32(static_cast<int32_t>(program.parameters.size()));
  char name[kFxProgramNameBytes] = {};
  std::strncpy(name, program.name.c_str(), kFxProgramNameBytes - 1);
  out->Bytes(reinterpret_cast<const uint8_t*>(name), kFxProgramNameBytes);
  if (program.isChunk) {
    out->Int32(static_cast<int32_t>(program.chunk.size()));
    out->Bytes(program.chunk.data(), program.chunk.size());
  } else {
    for (float value : program.parameters) {
      out->Float(value);
    }
  }
  out->PatchSize(start);
}

bool ReadOpaqueChunk(BigEndianReader* in, std::vector<uint8_t>* chunk, std::string* error) {
  int32_t size = 0;
  if (!in->Int32(&size) || size < 0 || !in->Bytes(static_cast<size_t>(size), chunk)) {
    *error = "its state chunk is cut short";
    return false;
  }
  return true;
}

// One program record from the reader's position; the reader ends after it.
bool ReadProgram(BigEndianReader* in, FxProgram* program, FxIdentity* identity,
                 std::string* error) {
  int32_t magic = 0;
  int32_t size = 0;
  int32_t kind = 0;
  int32_t formatVersion = 0;
  int32_t count = 0;
  if (!in->Int32(&magic) || magic != kChunkMagic) {
    *error = "not a preset file (no CcnK mark)";
    return false;
  }
  if (!in->Int32(&size) || !in->Int32(&kind) || !in->Int32(&formatVersion) ||
      !in->Int32(&identity->uniqueId) || !in->Int32(&identity->version) || !in->Int32(&count)) {
    *error = "its header is cut short";
    return false;
  }
  if (kind != kProgramListMagic && kind != kProgramChunkMagic) {
    *error = "not a program file (" + FourCharacterText(kind) + " instead of FxCk or FPCh)";
    return false;
  }
  std::vector<uint8_t> name;
  if (!in->Bytes(kFxProgramNameBytes, &name)) {
    *error = "its header is cut short";
    return false;
  }
  // The field's last byte is its terminator, also when a writer left it out: the name keeps at
  // most the 27 characters a file can hold.
  name.back() = 0;
  program->name = reinterpret_cast<const char*>(name.data());
  program->isChunk = kind == kProgramChunkMagic;
  if (program->isChunk) {
    return ReadOpaqueChunk(in, &program->chunk, error);
  }
  if (count < 0 || !in->HoldsRecords(static_cast<size_t>(count), 4)) {
    *error = "it declares " + std::to_string(count) + " parameters but holds fewer";
    return false;
  }
  program->parameters.resize(static_cast<size_t>(count));
  for (float& value : program->parameters) {
    in->Float(&value);
  }
  return true;
}
} // namespace

std::vector<uint8_t> EncodeFxp(const FxProgram& program, const FxIdentity& identity) {
  BigEndianWriter out;
  WriteProgram(program, identity, &out);
  return out.bytes;
}

std::vector<uint8_t> EncodeFxb(const FxBank& bank, const FxIdentity& identity) {
  BigEndianWriter out;
  out.Int32(kChunkMagic);
  out.Int32(0);
  out.Int32(bank.isChunk ? kBankChunkMagic : kBankListMagic);
  out.Int32(kBankFormatVersion);
  out.Int32(identity.uniqueId);
  out.Int32(identity.version);
  out.Int32(bank.isChunk ? bank.programCount : static_cast<int32_t>(bank.programs.size()));
  out.Int32(bank.currentProgram);
  out.Zeros(kFxbHeaderBytes - out.bytes.size());
  if (bank.isChunk) {
    out.Int32(static_cast<int32_t>(bank.chunk.size()));
    out.Bytes(bank.chunk.data(), bank.chunk.size());
  } else {
    for (const FxProgram& program : bank.programs) {
      WriteProgram(program, identity, &out);
    }
  }
  out.PatchSize(0);
  return out.bytes;
}

bool DecodeFxp(const std::vector<uint8_t>& bytes, FxProgram* program, FxIdentity* identity,
               std::string* error) {
  BigEndianReader in(bytes, 0);
  return ReadProgram(&in, program, identity, error);
}

bool DecodeFxb(const std::vector<uint8_t>& bytes, FxBank* bank, FxIdentity* identity,
               std::string* error) {
  BigEndianReader in(bytes, 0);
  int32_t magic = 0;
  int32_t size = 0;
  int32_t kind = 0;
  int32_t formatVersion = 0;
  int32_t count = 0;
  if (!in.Int32(&magic) || magic != kChunkMagic) {
    *error = "not a preset file (no CcnK mark)";
    return false;
  }
  if (!in.Int32(&size) || !in.Int32(&kind) || !in.Int32(&formatVersion) ||
      !in.Int32(&identity->uniqueId) || !in.Int32(&identity->version) || !in.Int32(&count)) {
    *error = "its header is cut short";
    return false;
  }
  if (kind != kBankListMagic && kind != kBankChunkMagic) {
    *error = "not a bank file (" + FourCharacterText(kind) + " instead of FxBk or FBCh)";
    return false;
  }
  int32_t current = -1;
  if (!in.Int32(&current) || !in.Skip(kFxbHeaderBytes - in.Position())) {
    *error = "its header is cut short";
    return false;
  }
  bank->currentProgram = formatVersion >= 2 ? current : -1;
  bank->isChunk = kind == kBankChunkMagic;
  bank->programCount = count;
  if (count < 0) {
    *error = "it declares a negative program count";
    return false;
  }
  if (bank->isChunk) {
    return ReadOpaqueChunk(&in, &bank->chunk, error);
  }
  // Each program record takes at least its header: a count beyond that is corrupt.
  if (!in.HoldsRecords(static_cast<size_t>(count), kFxpHeaderBytes)) {
    *error = "it declares " + std::to_string(count) + " programs but holds fewer";
    return false;
  }
  bank->programs.assign(static_cast<size_t>(count), FxProgram());
  for (FxProgram& program : bank->programs) {
    FxIdentity programIdentity;
    std::string reason;
    if (!ReadProgram(&in, &program, &programIdentity, &reason)) {
      *error = "program " + std::to_string(&program - bank->programs.data()) + ": " + reason;
      return false;
    }
  }
  return true;
}

std::string FourCharacterText(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  char text[12];
  bool printable = true;
  for (int i = 0; i < 4; ++i) {
    const uint8_t c = static_cast<uint8_t>(bits >> (24 - 8 * i));
    printable = printable && c >= 0x20 && c < 0x7F;
    text[i] = static_cast<char>(c);
  }
  if (!printable) {
    std::snprintf(text, sizeof(text), "0x%08X", bits);
    return text;
  }
  return std::string(text, 4);
}
