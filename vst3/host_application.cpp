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
