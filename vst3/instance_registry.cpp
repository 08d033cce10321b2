#include "vst3/InstanceRegistry.h"

#include <map>
#include <mutex>

namespace {
struct Registry {
  std::mutex lock;
  std::map<int64_t, std::weak_ptr<IVst3Plugin>> plugins;
  int64_t lastNumber = 0;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}
} // namespace

int64_t InstanceRegistry::Add(const std::shared_ptr<IVst3Plugin>& plugin) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  const int64_t number = ++registry.lastNumber;
  registry.plugins[number] = plugin;
  return number;
}

void InstanceRegistry::Remove(int64_t number) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.plugins.erase(number);
}

std::shared_ptr<IVst3Plugin> InstanceRegistry::Find(int64_t number) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  const auto found = registry.plugins.find(number);
  return found != registry.plugins.end() ? found->second.lock() : nullptr;
}
