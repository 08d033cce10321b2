#pragma once

#include "vst3/IVst3Plugin.h"
#include "vst3/Vst3Abi.h"

// The host's application interface from an initialize context (kept: the caller releases it),
// with the host's name handed to the plug-in's host identification; null when the context
// offers none.
vst3::IHostApplication* TakeHostApplication(vst3::FUnknown* context, IVst3Plugin& plugin);

// What the processor and the controller each hold of the host: its application interface from
// the first of nested initialize calls until the last terminate, and the other half the host
// connected it to. Both are references the link owns.
class Vst3HostLink {
public:
  Vst3HostLink() = default;
  Vst3HostLink(const Vst3HostLink&) = delete;
  Vst3HostLink& operator=(const Vst3HostLink&) = delete;
  ~Vst3HostLink() { LetGo(); }

  void Initialize(vst3::FUnknown* context, IVst3Plugin& plugin);
  // True when this ended the last initialization: the caller lets go of the host then.
  bool Terminate();
  // The new peer replaces the one before.
  vst3::tresult Connect(vst3::IConnectionPoint* other);
  // False when other is not the peer.
  bool Disconnect(vst3::IConnectionPoint* other);
  void LetGo();

  vst3::IHostApplication* Host() const { return host; }
  vst3::IConnectionPoint* Peer() const { return peer; }

private:
  int initializations = 0;
  vst3::IHostApplication* host = nullptr;
  vst3::IConnectionPoint* peer = nullptr;
};
