#include "host/vst3/Vst3Host.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if !defined(_WIN32)
#include <poll.h>
#endif

namespace vst3host {
namespace {
constexpr const char* HostName = "Ombrix Test Host";

void CopyName(vst3::String128 out, const char* text) {
  size_t i = 0;
  for (; text[i] && i < 127; ++i) {
    out[i] = static_cast<vst3::char16>(text[i]);
  }
  out[i] = 0;
}
} // namespace

std::string Utf8(const vst3::char16* text) {
  std::string out;
  for (size_t i = 0; i < 128 && text[i]; ++i) {
    out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  }
  return out;
}

// The host's objects the plug-in calls: streams, parameter changes, event lists, messages, the
// component handler, the connection proxy and the frame with its run loop.

vst3::tresult VST3CALL MemoryStream::queryInterface(const vst3::TUID iid, void** obj) {
  return Answer(iid, vst3::IBStream_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::tresult VST3CALL MemoryStream::read(void* buffer, vst3::int32 numBytes,
                                          vst3::int32* numBytesRead) {
  const size_t count = numBytes > 0 ? std::min<size_t>(numBytes, bytes.size() - position) : 0;
  if (count > 0) {
    std::memcpy(buffer, bytes.data() + position, count);
  }
  position += count;
  if (numBytesRead) {
    *numBytesRead = static_cast<vst3::int32>(count);
  }
  return vst3::kResultOk;
}

vst3::tresult VST3CALL MemoryStream::write(void* buffer, vst3::int32 numBytes,
                                           vst3::int32* numBytesWritten) {
  if (numBytes < 0 || !buffer) {
    return vst3::kInvalidArgument;
  }
  const auto* from = static_cast<const uint8_t*>(buffer);
  bytes.resize(std::max(bytes.size(), position + numBytes));
  std::copy(from, from + numBytes, bytes.begin() + static_cast<std::ptrdiff_t>(position));
  position += static_cast<size_t>(numBytes);
  if (numBytesWritten) {
    *numBytesWritten = numBytes;
  }
  return vst3::kResultOk;
}

vst3::tresult VST3CALL MemoryStream::seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) {
  const vst3::int64 base = mode == vst3::kIBSeekCur   ? static_cast<vst3::int64>(position)
                           : mode == vst3::kIBSeekEnd ? static_cast<vst3::int64>(bytes.size())
                                                      : 0;
  position = static_cast<size_t>(
      std::clamp<vst3::int64>(base + pos, 0, static_cast<vst3::int64>(bytes.size())));
  if (result) {
    *result = static_cast<vst3::int64>(position);
  }
  return vst3::kResultOk;
}

vst3::tresult VST3CALL MemoryStream::tell(vst3::int64* pos) {
  if (pos) {
    *pos = static_cast<vst3::int64>(position);
  }
  return vst3::kResultOk;
}

vst3::tresult VST3CALL ParamQueue::queryInterface(const vst3::TUID iid, void** obj) {
  return Answer(iid, vst3::IParamValueQueue_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::tresult VST3CALL ParamQueue::getPoint(vst3::int32 index, vst3::int32* sampleOffset,
                                            vst3::ParamValue* value) {
  if (index < 0 || index >= count || !sampleOffset || !value) {
    return vst3::kInvalidArgument;
  }
  *sampleOffset = offsets[index];
  *value = values[index];
  return vst3::kResultOk;
}

vst3::tresult VST3CALL ParamQueue::addPoint(vst3::int32 sampleOffset, vst3::ParamValue value,
                                            vst3::int32* index) {
  if (count == Capacity) {
    return vst3::kResultFalse;
  }
  offsets[count] = sampleOffset;
  values[count] = value;
  if (index) {
    *index = count;
  }
  ++count;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL ParameterChanges::queryInterface(const vst3::TUID iid, void** obj) {
  return Answer(iid, vst3::IParameterChanges_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::IParamValueQueue* VST3CALL ParameterChanges::getParameterData(vst3::int32 index) {
  return index >= 0 && index < count ? &queues[index] : nullptr;
}

vst3::IParamValueQueue* VST3CALL ParameterChanges::addParameterData(const vst3::ParamID* id,
                                                                    vst3::int32* index) {
  if (!id) {
    return nullptr;
  }
  for (vst3::int32 i = 0; i < count; ++i) {
    if (queues[i].id == *id) {
      if (index) {
        *index = i;
      }
      return &queues[i];
    }
  }
  if (count == Capacity) {
    return nullptr;
  }
  queues[count].id = *id;
  queues[count].count = 0;
  if (index) {
    *index = count;
  }
  return &queues[count++];
}

bool ParameterChanges::Add(vst3::ParamID id, vst3::int32 offset, double value) {
  vst3::IParamValueQueue* queue = addParameterData(&id, nullptr);
  vst3::int32 index = 0;
  return queue && queue->addPoint(offset, value, &index) == vst3::kResultOk;
}

vst3::tresult VST3CALL EventList::queryInterface(const vst3::TUID iid, void** obj) {
  return Answer(iid, vst3::IEventList_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::int32 VST3CALL EventList::getEventCount() {
  return static_cast<vst3::int32>(events.size());
}

vst3::tresult VST3CALL EventList::getEvent(vst3::int32 index, vst3::Event* e) {
  if (!e || index < 0 || index >= getEventCount()) {
    return vst3::kInvalidArgument;
  }
  *e = events[static_cast<size_t>(index)];
  return vst3::kResultOk;
}

vst3::tresult VST3CALL EventList::addEvent(vst3::Event* e) {
  if (!e || events.size() == events.capacity()) {
    return vst3::kResultFalse;
  }
  events.push_back(*e);
  return vst3::kResultOk;
}

// ---- Messages and the host application ----

vst3::tresult VST3CALL AttributeList::queryInterface(const vst3::TUID iid, void** obj) {
  return Answer(iid, vst3::IAttributeList_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::tresult VST3CALL AttributeList::setInt(vst3::AttrID id, vst3::int64 value) {
  integers[id] = value;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL AttributeList::getInt(vst3::AttrID id, vst3::int64* value) {
  const auto found = integers.find(id);
  if (found == integers.end() || !value) {
    return vst3::kResultFalse;
  }
  *value = found->second;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL AttributeList::setFloat(vst3::AttrID id, double value) {
  floats[id] = value;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL AttributeList::getFloat(vst3::AttrID id, double* value) {
  const auto found = floats.find(id);
  if (found == floats.end() || !value) {
    return vst3::kResultFalse;
  }
  *value = found->second;
  return vst3::kResultOk;
}

vst3::tresult VST3CALL AttributeList::setString(vst3::AttrID, const vst3::TChar*) {
  return vst3::kNotImplemented;
}

vst3::tresult VST3CALL AttributeList::getString(vst3::AttrID, vst3::TChar*, vst3::uint32) {
  return vst3::kNotImplemented;
}

vst3::tresult VST3CALL AttributeList::setBinary(vst3::AttrID id, const void* data,
                                                vst3::uint32 sizeInBytes) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  binaries[id].assign(bytes, bytes + sizeInBytes);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL AttributeList::getBinary(vst3::AttrID id, const void** data,
                                                vst3::uint32* sizeInBytes) {
  const auto found = binaries.find(id);
  if (found == binaries.end() || !data || !sizeInBytes) {
    return vst3::kResultFalse;
  }
  *data = found->second.data();
  *sizeInBytes = static_cast<vst3::uint32>(found->second.size());
  return vst3::kResultOk;
}

vst3::tresult VST3CALL Message::queryInterface(const vst3::TUID iid, void** obj) {
  if (vst3::SameUid(iid, vst3::FUnknown_iid) || vst3::SameUid(iid, vst3::IMessage_iid)) {
    *obj = this;
    addRef();
    return vst3::kResultOk;
  }
  *obj = nullptr;
  return vst3::kNoInterface;
}

vst3::uint32 VST3CALL Message::release() {
  const vst3::uint32 left = --references;
  if (left == 0) {
    delete this;
  }
  return left;
}

vst3::tresult VST3CALL HostApplication::queryInterface(const vst3::TUID iid, void** obj) {
  return Answer(iid, vst3::IHostApplication_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::tresult VST3CALL HostApplication::getName(vst3::String128 name) {
  CopyName(name, HostName);
  return vst3::kResultOk;
}

vst3::tresult VST3CALL HostApplication::createInstance(vst3::TUID cid, vst3::TUID iid, void** obj) {
  if (vst3::SameUid(cid, vst3::IMessage_iid) && vst3::SameUid(iid, vst3::IMessage_iid)) {
    *obj = static_cast<vst3::IMessage*>(new Message);
    return vst3::kResultOk;
  }
  *obj = nullptr;
  return vst3::kNoInterface;
}

vst3::tresult VST3CALL ComponentHandler::queryInterface(const vst3::TUID iid, void** obj) {
  return Answer(iid, vst3::IComponentHandler_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::tresult VST3CALL ComponentHandler::beginEdit(vst3::ParamID id) {
  std::lock_guard<std::mutex> guard(lock);
  edits.push_back({Edit::Kind::Begin, id, 0.0});
  return vst3::kResultOk;
}

vst3::tresult VST3CALL ComponentHandler::performEdit(vst3::ParamID id, vst3::ParamValue value) {
  std::lock_guard<std::mutex> guard(lock);
  edits.push_back({Edit::Kind::Perform, id, value});
  return vst3::kResultOk;
}

vst3::tresult VST3CALL ComponentHandler::endEdit(vst3::ParamID id) {
  std::lock_guard<std::mutex> guard(lock);
  edits.push_back({Edit::Kind::End, id, 0.0});
  return vst3::kResultOk;
}

vst3::tresult VST3CALL ComponentHandler::restartComponent(vst3::int32 flags) {
  std::lock_guard<std::mutex> guard(lock);
  edits.push_back({Edit::Kind::Restart, 0, static_cast<double>(flags)});
  return vst3::kResultOk;
}

std::vector<ComponentHandler::Edit> ComponentHandler::Take() {
  std::lock_guard<std::mutex> guard(lock);
  return std::exchange(edits, {});
}

vst3::tresult VST3CALL ConnectionProxy::queryInterface(const vst3::TUID iid, void** obj) {
  return Answer(iid, vst3::IConnectionPoint_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::tresult VST3CALL ConnectionProxy::notify(vst3::IMessage* message) {
  return target->notify(message);
}

// ---- The frame and its run loop ----

class PlugFrame::RunLoop final : public HostObject<vst3::Linux::IRunLoop> {
public:
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override {
    return Answer(iid, vst3::IRunLoop_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
  }
  vst3::tresult VST3CALL registerEventHandler(vst3::Linux::IEventHandler* handler,
                                              vst3::FileDescriptor fd) override {
    if (!handler) {
      return vst3::kInvalidArgument;
    }
    handler->addRef();
    handlers.emplace_back(handler, fd);
    return vst3::kResultOk;
  }
  vst3::tresult VST3CALL unregisterEventHandler(vst3::Linux::IEventHandler* handler) override {
    return Drop(handlers, handler);
  }
  vst3::tresult VST3CALL registerTimer(vst3::Linux::ITimerHandler* handler,
                                       vst3::TimerInterval) override {
    if (!handler) {
      return vst3::kInvalidArgument;
    }
    handler->addRef();
    timers.emplace_back(handler, 0);
    return vst3::kResultOk;
  }
  vst3::tresult VST3CALL unregisterTimer(vst3::Linux::ITimerHandler* handler) override {
    return Drop(timers, handler);
  }

  template <typename Handler>
  static vst3::tresult Drop(std::vector<std::pair<Handler*, int>>& list, Handler* handler) {
    const auto found = std::find_if(
        list.begin(), list.end(), [handler](const auto& entry) { return entry.first == handler; });
    if (found == list.end()) {
      return vst3::kInvalidArgument;
    }
    found->first->release();
    list.erase(found);
    return vst3::kResultOk;
  }

  std::vector<std::pair<vst3::Linux::IEventHandler*, int>> handlers;
  std::vector<std::pair<vst3::Linux::ITimerHandler*, int>> timers;
};

PlugFrame::PlugFrame() : runLoop(std::make_shared<RunLoop>()) {}

vst3::tresult VST3CALL PlugFrame::queryInterface(const vst3::TUID iid, void** obj) {
  if (offersRunLoop && vst3::SameUid(iid, vst3::IRunLoop_iid)) {
    return runLoop->queryInterface(iid, obj);
  }
  return Answer(iid, vst3::IPlugFrame_iid, obj) ? vst3::kResultOk : vst3::kNoInterface;
}

vst3::tresult VST3CALL PlugFrame::resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize) {
  return view && newSize ? view->onSize(newSize) : vst3::kInvalidArgument;
}

void PlugFrame::RunOnce() {
  // Copies: a handler may unregister itself while it is called. Descriptors are Linux's.
#if !defined(_WIN32)
  const auto handlers = runLoop->handlers;
  for (const auto& [handler, fd] : handlers) {
    pollfd watched = {fd, POLLIN, 0};
    if (poll(&watched, 1, 0) > 0) {
      handler->onFDIsSet(fd);
    }
  }
#endif
  const auto timers = runLoop->timers;
  for (const auto& entry : timers) {
    entry.first->onTimer();
  }
}

size_t PlugFrame::TimerCount() const {
  return runLoop->timers.size();
}

size_t PlugFrame::HandlerCount() const {
  return runLoop->handlers.size();
}

} // namespace vst3host
