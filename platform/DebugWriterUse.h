#pragma once

// The process-wide debug line writer runs while anybody uses it: started by the first user
// (each plug-in object is one, from its construction outside the audio thread) and stopped,
// after writing what is left, by the last. Where the platform has no debugger output there is
// no writer and these do nothing.
void AcquireDebugLineWriter();
void ReleaseDebugLineWriter();

// Holds the process-wide writer for its lifetime.
class IDebugWriterUse {
public:
  IDebugWriterUse() { AcquireDebugLineWriter(); }
  ~IDebugWriterUse() { ReleaseDebugLineWriter(); }
  IDebugWriterUse(const IDebugWriterUse&) = delete;
  IDebugWriterUse& operator=(const IDebugWriterUse&) = delete;
};
