#include "vst3/Vst3Entry.h"

#include "platform/Lock.h"

#include <new>

std::shared_ptr<IVst3Plugin> CreateVst3Instance() {
  IScopedLock creation(ProcessLock(ProcessLockId::Creation));
  try {
    std::shared_ptr<IVst3Plugin> plugin(CreateEffect(nullptr));
    if (plugin) {
      plugin->Open();
    }
    return plugin;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
