#include "plugin/StateHeader.h"

bool WriteStateHeader(IByteBlock* block) {
  block->Clear();
  return block->AppendInt32(stateMagic) && block->AppendInt32(stateVersion);
}

int32_t ReadStateHeader(const IByteBlock* block, int* position) {
  int32_t magic = 0;
  if (block->ReadInt32(*position, &magic) < 0 || magic != stateMagic) {
    return 0;
  }
  int32_t version = 0;
  const int next = block->ReadInt32(*position + 4, &version);
  if (next < 0) {
    *position = -1;
    return 0;
  }
  *position = next;
  return version;
}
