#pragma once

// The project's VST 3 host, from the binding's declarations: it loads a bundle's module by file,
// makes the processor and the controller through the factory, connects them through proxies (as
// Ardour does) and drives them as a host does.
#include "vst3/Vst3Abi.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vst3host {

// The module of a bundle, loaded with the platform's entry calls around it.
class Module {
public:
  // The reason is left in error when it does not load or gives no factory.
  explicit Module(const std::string& path, std::string* error = nullptr);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  bool Loaded() const { return factory != nullptr; }
  vst3::IPluginFactory* Factory() const { return factory; }
  // An exported symbol, or null.
  void* Symbol(const char* name) const;

private:
  void* handle = nullptr;
  vst3::IPluginFactory* factory = nullptr;
};

// Host objects live as long as the host holds them: their counts only guard against the
// plug-in releasing more than it took.
template <typename Interface> class HostObject : public Interface {
public:
  vst3::uint32 VST3CALL addRef() override { return ++references; }
  vst3::uint32 VST3CALL release() override { return --references; }
  vst3::uint32 References() const { return references; }

protected:
  bool Answer(const vst3::TUID iid, const vst3::Uid& own, void** obj) {
    if (vst3::SameUid(iid, vst3::FUnknown_iid) || vst3::SameUid(iid, own)) {
      *obj = static_cast<Interface*>(this);
      addRef();
      return true;
    }
    *obj = nullptr;
    return false;
  }

private:
  vst3::uint32 references = 1;
};

class MemoryStream final : public HostObject<vst3::IBStream> {
public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> content) : bytes(std::move(content)) {}
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::tresult VST3CALL read(void* buffer, vst3::int32 numBytes,
                              vst3::int32* numBytesRead) override;
  vst3::tresult VST3CALL write(void* buffer, vst3::int32 numBytes,
                               vst3::int32* numBytesWritten) override;
  vst3::tresult VST3CALL seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override;
  vst3::tresult VST3CALL tell(vst3::int64* pos) override;

  std::vector<uint8_t> bytes;
  size_t position = 0;
};

// One parameter's points of a block, with room made once.
class ParamQueue final : public HostObject<vst3::IParamValueQueue> {
public:
  static constexpr int Capacity = 64;
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::ParamID VST3CALL getParameterId() override { return id; }
  vst3::int32 VST3CALL getPointCount() override { return count; }
  vst3::tresult VST3CALL getPoint(vst3::int32 index, vst3::int32* sampleOffset,
                                  vst3::ParamValue* value) override;
  vst3::tresult VST3CALL addPoint(vst3::int32 sampleOffset, vst3::ParamValue value,
                                  vst3::int32* index) override;

  vst3::ParamID id = 0;
  vst3::int32 count = 0;
  vst3::int32 offsets[Capacity] = {};
  vst3::ParamValue values[Capacity] = {};
};

class ParameterChanges final : public HostObject<vst3::IParameterChanges> {
public:
  static constexpr int Capacity = 16;
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::int32 VST3CALL getParameterCount() override { return count; }
  vst3::IParamValueQueue* VST3CALL getParameterData(vst3::int32 index) override;
  vst3::IParamValueQueue* VST3CALL addParameterData(const vst3::ParamID* id,
                                                    vst3::int32* index) override;
  // A point for the parameter, in its queue (made on first use); false when there is no room.
  bool Add(vst3::ParamID id, vst3::int32 offset, double value);
  void Clear() { count = 0; }

  vst3::int32 count = 0;
  ParamQueue queues[Capacity];
};

class EventList final : public HostObject<vst3::IEventList> {
public:
  explicit EventList(size_t capacity = 1024) { events.reserve(capacity); }
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::int32 VST3CALL getEventCount() override;
  vst3::tresult VST3CALL getEvent(vst3::int32 index, vst3::Event* e) override;
  vst3::tresult VST3CALL addEvent(vst3::Event* e) override;

  // Events beyond the room made are refused, as a host's fixed list does.
  std::vector<vst3::Event> events;
};

class AttributeList final : public HostObject<vst3::IAttributeList> {
public:
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::tresult VST3CALL setInt(vst3::AttrID id, vst3::int64 value) override;
  vst3::tresult VST3CALL getInt(vst3::AttrID id, vst3::int64* value) override;
  vst3::tresult VST3CALL setFloat(vst3::AttrID id, double value) override;
  vst3::tresult VST3CALL getFloat(vst3::AttrID id, double* value) override;
  vst3::tresult VST3CALL setString(vst3::AttrID id, const vst3::TChar* string) override;
  vst3::tresult VST3CALL getString(vst3::AttrID id, vst3::TChar* string,
                                   vst3::uint32 sizeInBytes) override;
  vst3::tresult VST3CALL setBinary(vst3::AttrID id, const void* data,
                                   vst3::uint32 sizeInBytes) override;
  vst3::tresult VST3CALL getBinary(vst3::AttrID id, const void** data,
                                   vst3::uint32* sizeInBytes) override;

private:
  std::map<std::string, vst3::int64> integers;
  std::map<std::string, double> floats;
  std::map<std::string, std::vector<uint8_t>> binaries;
};

// Made by the host application for the plug-in; deleted when the last reference goes.
class Message final : public vst3::IMessage {
public:
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::uint32 VST3CALL addRef() override { return ++references; }
  vst3::uint32 VST3CALL release() override;
  vst3::FIDString VST3CALL getMessageID() override { return id.c_str(); }
  void VST3CALL setMessageID(vst3::FIDString newId) override { id = newId ? newId : ""; }
  vst3::IAttributeList* VST3CALL getAttributes() override { return &attributes; }

private:
  vst3::uint32 references = 1;
  std::string id;
  AttributeList attributes;
};

class HostApplication final : public HostObject<vst3::IHostApplication> {
public:
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::tresult VST3CALL getName(vst3::String128 name) override;
  vst3::tresult VST3CALL createInstance(vst3::TUID cid, vst3::TUID iid, void** obj) override;
};

// The component handler: every edit the controller reports, in order.
class ComponentHandler final : public HostObject<vst3::IComponentHandler> {
public:
  struct Edit {
    enum class Kind { Begin, Perform, End, Restart } kind;
    vst3::ParamID id;
    double value;
  };
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::tresult VST3CALL beginEdit(vst3::ParamID id) override;
  vst3::tresult VST3CALL performEdit(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
  vst3::tresult VST3CALL endEdit(vst3::ParamID id) override;
  vst3::tresult VST3CALL restartComponent(vst3::int32 flags) override;
  std::vector<Edit> Take();

private:
  std::mutex lock;
  std::vector<Edit> edits;
};

// Stands between the two connection points, as Ardour's proxies do: the plug-in's halves never
// see each other's objects.
class ConnectionProxy final : public HostObject<vst3::IConnectionPoint> {
public:
  explicit ConnectionProxy(vst3::IConnectionPoint* to) : target(to) {}
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::tresult VST3CALL connect(vst3::IConnectionPoint*) override { return vst3::kResultOk; }
  vst3::tresult VST3CALL disconnect(vst3::IConnectionPoint*) override { return vst3::kResultOk; }
  vst3::tresult VST3CALL notify(vst3::IMessage* message) override;

private:
  vst3::IConnectionPoint* target;
};

// The view's frame with the Linux run loop on it: timers and descriptor handlers are called by
// RunOnce, on the caller's thread, as the host's UI thread calls them.
class PlugFrame final : public HostObject<vst3::IPlugFrame> {
public:
  PlugFrame();
  vst3::tresult VST3CALL queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::tresult VST3CALL resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize) override;

  // Calls every timer and the handlers of readable descriptors once.
  void RunOnce();
  size_t TimerCount() const;
  size_t HandlerCount() const;
  bool offersRunLoop = true;

private:
  class RunLoop;
  std::shared_ptr<RunLoop> runLoop;
};

// One plug-in as a host runs it: processor and controller made, initialized and connected
// through proxies; Setup then arranges the main buses and starts processing.
class PluginInstance {
public:
  // The factory's first audio effect class.
  explicit PluginInstance(vst3::IPluginFactory* factory);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  bool Made() const { return processor && controller && audio; }
  bool Ready() const { return Made() && processing; }
  // The class's name from the factory.
  const std::string& ClassName() const { return className; }
  // The channels of the main audio buses.
  int InputChannels() const { return inputChannels; }
  int OutputChannels() const { return outputChannels; }

  // Bus arrangements, processing setup, active and processing; false when refused.
  bool Setup(double sampleRate, int blockFrames, vst3::int32 sampleSize,
             vst3::int32 mode = vst3::kRealtime);
  // Processing and the component off; nothing when not set up.
  void Shutdown();

  // Runs one block; the buffers hold the main buses' channels, all of frames length. Parameter
  // changes and events queued for it go in and are cleared.
  vst3::tresult Process(float* const* inputs, float* const* outputs, int frames);
  vst3::tresult Process64(double* const* inputs, double* const* outputs, int frames);
  // A call without samples or buffers: the queued parameter changes only.
  vst3::tresult Flush();

  std::vector<uint8_t> SaveState();
  // The component's answer; the controller gets the same bytes, as hosts hand them.
  vst3::tresult LoadState(const std::vector<uint8_t>& bytes);

  vst3::IComponent* processor = nullptr;
  vst3::IAudioProcessor* audio = nullptr;
  vst3::IEditController* controller = nullptr;
  HostApplication application;
  ComponentHandler handler;
  ParameterChanges changes;
  ParameterChanges outputChanges;
  EventList inputEvents;
  EventList outputEvents;
  vst3::ProcessContext context{};
  bool passContext = true;

private:
  vst3::tresult Run(vst3::ProcessData& data);
  // One block over the main buses, their sample pointers set.
  vst3::tresult RunBuses(vst3::AudioBusBuffers& in, vst3::AudioBusBuffers& out, int frames);

  std::string className;
  vst3::int32 sampleSize = vst3::kSample32;
  vst3::int32 processMode = vst3::kRealtime;
  int inputChannels = 0;
  int outputChannels = 0;
  bool processing = false;
  vst3::IConnectionPoint* processorPoint = nullptr;
  vst3::IConnectionPoint* controllerPoint = nullptr;
  std::unique_ptr<ConnectionProxy> toController;
  std::unique_ptr<ConnectionProxy> toProcessor;
};

// The interface the object offers under that id (with a reference taken), or null.
template <typename Interface> Interface* Query(vst3::FUnknown* object, const vst3::Uid& iid) {
  void* found = nullptr;
  return object && object->queryInterface(iid.Tuid(), &found) == vst3::kResultOk
             ? static_cast<Interface*>(found)
             : nullptr;
}

// MIDI as a VST 3 host hands it on: controllers become parameter changes through the
// controller's MIDI mapping (asked once, as hosts ask it), notes and polyphonic pressure become
// events, everything else is dropped.
class MidiInput {
public:
  static constexpr int Channels = 16;
  static constexpr int Controllers = 128;

  explicit MidiInput(vst3::IEditController* controller);
  // Whether the format carries this message as an event.
  static bool IsEvent(uint8_t status);
  // The parameter a controller change moves, with its normalised value; false when unmapped.
  bool ControllerChange(uint8_t status, uint8_t number, uint8_t value, vst3::ParamID* id,
                        double* normalized) const;
  // The event for a note or pressure message; false for anything else.
  static bool EventFor(int frame, uint8_t status, uint8_t data1, uint8_t data2, vst3::Event* event);
  // An event the plug-in passed back as MIDI bytes; false when it has no MIDI form.
  static bool MidiOf(const vst3::Event& event, uint8_t bytes[3]);

private:
  int64_t mapped[Channels][Controllers];
};

// The bundle's folder for this build's modules ("x86_64-linux", "x86_64-win", ...) and their
// file extension.
const char* ArchitectureFolder();
const char* ModuleExtension();

// A UTF-16 record text as UTF-8.
std::string Utf8(const vst3::char16* text);
} // namespace vst3host
