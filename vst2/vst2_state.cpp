#include "vst2/IVst2Plugin.h"

VstIntPtr IVst2Plugin::GetChunk(bool program, void* ptr) {
  if (!ptr) {
    return 0;
  }
  IByteBlock& block = program ? programState : bankState;
  if (!SaveStateBlock(program ? StateBlockKind::Program : StateBlockKind::Bank, &block)) {
    return 0;
  }
  *static_cast<void**>(ptr) = block.Data();
  return block.Size();
}

// A bank block without the current header holds the values of the first versions' programs; a
// block that runs short leaves what was read, as VST 2 hosts have always seen it.
VstIntPtr IVst2Plugin::SetChunk(bool program, VstIntPtr size, const void* data) {
  const StateBlockKind kind = program ? StateBlockKind::Program : StateBlockKind::Bank;
  IByteBlock& block = program ? programState : bankState;
  return LoadStateBlock(kind, data, size, OlderBlocks::ReadAsProgram, ShortBlocks::KeepWhatWasRead,
                        &block) == StateLoadResult::Loaded
             ? 1
             : 0;
}
