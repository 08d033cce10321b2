#include "vst3/HostApplication.h"

#include "vst3/Vst3Text.h"

#include <iterator>

vst3::IHostApplication* TakeHostApplication(vst3::FUnknown* context, IVst3Plugin& plugin) {
  void* found = nullptr;
  if (!context ||
      context->queryInterface(vst3::IHostApplication_iid.Tuid(), &found) != vst3::kResultOk ||
      !found) {
    return nullptr;
  }
  auto* host = static_cast<vst3::IHostApplication*>(found);
  vst3::String128 name = {};
  if (host->getName(name) == vst3::kResultOk) {
    char text[sizeof(name)];
    vst3::CopyUtf8(text, sizeof(text), name, std::size(name));
    plugin.IdentifyHostByName(text);
  }
  return host;
}

void Vst3HostLink::Initialize(vst3::FUnknown* context, IVst3Plugin& plugin) {
  if (initializations++ == 0) {
    host = TakeHostApplication(context, plugin);
  }
}

bool Vst3HostLink::Terminate() {
  return initializations > 0 && --initializations == 0;
}

vst3::tresult Vst3HostLink::Connect(vst3::IConnectionPoint* other) {
  if (!other) {
    return vst3::kInvalidArgument;
  }
  other->addRef();
  if (peer) {
    peer->release();
  }
  peer = other;
  return vst3::kResultOk;
}

bool Vst3HostLink::Disconnect(vst3::IConnectionPoint* other) {
  if (!other || other != peer) {
    return false;
  }
  peer->release();
  peer = nullptr;
  return true;
}

void Vst3HostLink::LetGo() {
  if (peer) {
    peer->release();
    peer = nullptr;
  }
  if (host) {
    host->release();
    host = nullptr;
  }
}
