#include "vst3/ViewDriver.h"

#include "vst3/FactoryContext.h"

#include <atomic>
#include <new>

namespace {
// The pace of the editor's redraws, the effEditIdle rate VST 2 hosts keep.
constexpr vst3::TimerInterval IdleMilliseconds = 40;

// The two small objects the run loop calls. The host may hold them a while after they are
// unregistered: they then reach no plug-in.
template <typename Interface> class IdleCaller : public Interface {
public:
  explicit IdleCaller(std::shared_ptr<IVst3Plugin> target) : plugin(std::move(target)) {}

  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override {
    if (!obj) {
      return vst3::kInvalidArgument;
    }
    if (vst3::SameUid(iid, vst3::FUnknown_iid) || vst3::SameUid(iid, OwnIid())) {
      *obj = static_cast<Interface*>(this);
      addRef();
      return vst3::kResultOk;
    }
    *obj = nullptr;
    return vst3::kNoInterface;
  }
  vst3::uint32 VST3CALL addRef() override { return ++references; }
  vst3::uint32 VST3CALL release() override {
    const vst3::uint32 left = --references;
    if (left == 0) {
      delete this;
    }
    return left;
  }

  void Idle() {
    if (plugin) {
      plugin->IdleEditor();
    }
  }
  void Forget() { plugin.reset(); }

protected:
  virtual ~IdleCaller() = default;

private:
  static const vst3::Uid& OwnIid();

  std::atomic<vst3::uint32> references{1};
  std::shared_ptr<IVst3Plugin> plugin;
};

template <> const vst3::Uid& IdleCaller<vst3::Linux::ITimerHandler>::OwnIid() {
  return vst3::ITimerHandler_iid;
}
template <> const vst3::Uid& IdleCaller<vst3::Linux::IEventHandler>::OwnIid() {
  return vst3::IEventHandler_iid;
}

class TimerCaller : public IdleCaller<vst3::Linux::ITimerHandler> {
public:
  using IdleCaller::IdleCaller;
  void VST3CALL onTimer() override { Idle(); }
};

// The editor handles every pending X event in its idle pass.
class DescriptorCaller : public IdleCaller<vst3::Linux::IEventHandler> {
public:
  using IdleCaller::IdleCaller;
  void VST3CALL onFDIsSet(vst3::FileDescriptor) override { Idle(); }
};

vst3::Linux::IRunLoop* RunLoopOf(vst3::FUnknown* object) {
  void* found = nullptr;
  if (!object || object->queryInterface(vst3::IRunLoop_iid.Tuid(), &found) != vst3::kResultOk) {
    return nullptr;
  }
  return static_cast<vst3::Linux::IRunLoop*>(found);
}
} // namespace

struct ViewDriver::Registration {
  vst3::Linux::IRunLoop* runLoop = nullptr;
  TimerCaller* timer = nullptr;
  DescriptorCaller* descriptor = nullptr;
};

const char* ViewDriver::PlatformType() {
  return vst3::kPlatformTypeX11EmbedWindowID;
}

ViewDriver::ViewDriver() = default;

ViewDriver::~ViewDriver() {
  Stop();
}

bool ViewDriver::Start(vst3::IPlugFrame* frame, const std::shared_ptr<IVst3Plugin>& plugin) {
  Stop();
  vst3::Linux::IRunLoop* runLoop = RunLoopOf(frame);
  if (!runLoop) {
    runLoop = RunLoopOf(FactoryHostContext());
  }
  if (!runLoop) {
    return false;
  }
  registration.reset(new (std::nothrow) Registration);
  if (!registration) {
    runLoop->release();
    return false;
  }
  registration->runLoop = runLoop;
  registration->timer = new (std::nothrow) TimerCaller(plugin);
  if (!registration->timer ||
      runLoop->registerTimer(registration->timer, IdleMilliseconds) != vst3::kResultOk) {
    Stop();
    return false;
  }
  const int descriptor = plugin->EditorEventDescriptor();
  if (descriptor >= 0) {
    registration->descriptor = new (std::nothrow) DescriptorCaller(plugin);
    if (registration->descriptor &&
        runLoop->registerEventHandler(registration->descriptor, descriptor) != vst3::kResultOk) {
      registration->descriptor->release();
      registration->descriptor = nullptr;
    }
  }
  return true;
}

void ViewDriver::Stop() {
  if (!registration) {
    return;
  }
  vst3::Linux::IRunLoop* runLoop = registration->runLoop;
  if (registration->descriptor) {
    runLoop->unregisterEventHandler(registration->descriptor);
    registration->descriptor->Forget();
    registration->descriptor->release();
  }
  if (registration->timer) {
    runLoop->unregisterTimer(registration->timer);
    registration->timer->Forget();
    registration->timer->release();
  }
  runLoop->release();
  registration.reset();
}
