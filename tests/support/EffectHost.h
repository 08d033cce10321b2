#pragma once

#include "vst2/VstAbi.h"

// What every test host does alike with the effect record it holds, however it obtained it.
class EffectHost {
public:
  AEffect* effect = nullptr;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  // effOpen, 44100 Hz, the block size and processing switched on, as hosts open a plug-in.
  void Start(int blockFrames = 1024) {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(effSetBlockSize, 0, blockFrames);
    Dispatch(effMainsChanged, 0, 1);
  }
};
