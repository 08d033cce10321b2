#include "fuzz/Lv2FuzzHost.h"

#include "lv2/ILv2Plugin.h"
#include "plugin/MidiMessage.h"

#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include <cmath>

extern "C" const LV2_Descriptor* lv2_descriptor(uint32_t index);

namespace {
constexpr int RampSteps = 61;
constexpr double RampScale = 20.0;
constexpr size_t EventWords = Lv2FuzzHost::EventCapacity / sizeof(uint64_t);

const Lv2PortLayout& PortsOf(LV2_Handle instance) {
  // The port indices a host reads from the bundle's description, which the plug-in writes from
  // this same layout.
  return static_cast<ILv2Plugin*>(instance)->Ports();
}

LV2_State_Status Store(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                       uint32_t type, uint32_t flags) {
  auto& state = *static_cast<Lv2FuzzHost::State*>(handle);
  const auto* bytes = static_cast<const uint8_t*>(value);
  state[key] = Lv2FuzzHost::Property{std::vector<uint8_t>(bytes, bytes + size), type, flags};
  return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                     uint32_t* flags) {
  const auto& state = *static_cast<const Lv2FuzzHost::State*>(handle);
  const auto found = state.find(key);
  if (found == state.end()) {
    return nullptr;
  }
  *size = found->second.value.size();
  *type = found->second.type;
  *flags = found->second.flags;
  // Never null for an empty value: the property is there.
  return found->second.value.empty() ? static_cast<const void*>(&found->second)
                                     : found->second.value.data();
}
} // namespace

Lv2FuzzHost::Lv2FuzzHost(double sampleRate)
    : eventsIn(EventWords), eventsOut(EventWords), transportIn(EventWords) {
  midiEvent = Map(LV2_MIDI__MidiEvent);
  atomSequence = Map(LV2_ATOM__Sequence);
  atomChunk = Map(LV2_ATOM__Chunk);
  timePosition = Map(LV2_TIME__Position);
  options = {{LV2_OPTIONS_INSTANCE, 0, Map(LV2_BUF_SIZE__maxBlockLength), sizeof(maxBlock),
              Map(LV2_ATOM__Int), &maxBlock},
             {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
  optionsFeature.data = options.data();
  lv2_atom_forge_init(&forge, &uridMap);

  descriptor = lv2_descriptor(0);
  FuzzCheck(descriptor != nullptr, "the module has a descriptor");
  stateInterface =
      static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
  FuzzCheck(stateInterface != nullptr, "the plug-in has the state interface");
  instance = descriptor->instantiate(descriptor, sampleRate, "", features);
  FuzzCheck(instance != nullptr, "an instance is made");

  const Lv2PortLayout& ports = PortsOf(instance);
  parameters = ports.parameters;
  audioIn.assign(static_cast<size_t>(ports.audioInputs), std::vector<float>(MaxRunFrames));
  audioOut.assign(static_cast<size_t>(ports.audioOutputs), std::vector<float>(MaxRunFrames));
  for (int i = 0; i < MaxRunFrames; ++i) {
    const float value = static_cast<float>((i % RampSteps - RampSteps / 2) / RampScale);
    for (size_t c = 0; c < audioIn.size(); ++c) {
      audioIn[c][static_cast<size_t>(i)] = c % 2 == 0 ? value : -value;
    }
  }
  controlIn.assign(static_cast<size_t>(parameters), NAN);
  controlOut.assign(static_cast<size_t>(parameters), 0.0f);
  for (int c = 0; c < ports.audioInputs; ++c) {
    descriptor->connect_port(instance, ports.AudioInput(c), audioIn[static_cast<size_t>(c)].data());
  }
  for (int c = 0; c < ports.audioOutputs; ++c) {
    descriptor->connect_port(instance, ports.AudioOutput(c),
                             audioOut[static_cast<size_t>(c)].data());
  }
  for (int i = 0; i < parameters; ++i) {
    descriptor->connect_port(instance, ports.ControlInput(i), &controlIn[static_cast<size_t>(i)]);
    descriptor->connect_port(instance, ports.ControlOutput(i), &controlOut[static_cast<size_t>(i)]);
  }
  descriptor->connect_port(instance, ports.EventInput(), eventsIn.data());
  descriptor->connect_port(instance, ports.EventOutput(), eventsOut.data());
  descriptor->connect_port(instance, ports.TransportInput(), transportIn.data());
  StartSequence();
  // An empty sequence on the transport input, as hosts send when nothing changed.
  auto* transport = reinterpret_cast<LV2_Atom_Sequence*>(transportIn.data());
  transport->atom.size = sizeof(LV2_Atom_Sequence_Body);
  transport->atom.type = atomSequence;
  transport->body = {0, 0};

  // The controls report the values a new instance holds, which its description gives as the
  // ports' defaults; NaN inputs are left alone until then.
  Activate();
  Run(0);
  defaults = controlOut;
  ControlsToDefaults();
}

Lv2FuzzHost::~Lv2FuzzHost() {
  Deactivate();
  descriptor->cleanup(instance);
}

LV2_URID Lv2FuzzHost::MapUri(LV2_URID_Map_Handle handle, const char* uri) {
  return static_cast<Lv2FuzzHost*>(handle)->Map(uri);
}

LV2_URID Lv2FuzzHost::Map(const char* uri) {
  const auto inserted =
      uridTable.emplace(uri, static_cast<LV2_URID>(uridTable.size() + 1)).first->second;
  return inserted;
}

void Lv2FuzzHost::StartSequence() {
  lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(eventsIn.data()), EventCapacity);
  FuzzCheck(lv2_atom_forge_sequence_head(&forge, &sequenceFrame, 0) != 0, "an empty sequence fits");
}

bool Lv2FuzzHost::AddMidi(int64_t frame, const uint8_t* bytes, uint32_t size) {
  const uint64_t needed = sizeof(LV2_Atom_Event) + lv2_atom_pad_size(size);
  if (forge.offset + needed > forge.size) {
    return false;
  }
  lv2_atom_forge_frame_time(&forge, frame);
  lv2_atom_forge_atom(&forge, size, midiEvent);
  // An empty event is its header alone (the forge would copy from a null pointer).
  if (size > 0) {
    lv2_atom_forge_write(&forge, bytes, size);
  }
  return true;
}

bool Lv2FuzzHost::AddPosition(int64_t frame, const std::vector<PositionField>& fields) {
  const uint64_t needed = sizeof(LV2_Atom_Event) + sizeof(LV2_Atom_Object_Body) +
                          fields.size() * (sizeof(LV2_Atom_Property_Body) + sizeof(int64_t));
  if (forge.offset + needed > forge.size) {
    return false;
  }
  LV2_Atom_Forge_Frame object;
  lv2_atom_forge_frame_time(&forge, frame);
  lv2_atom_forge_object(&forge, &object, 0, timePosition);
  for (const PositionField& field : fields) {
    lv2_atom_forge_key(&forge, field.key);
    if (field.type == forge.Float) {
      lv2_atom_forge_float(&forge, static_cast<float>(field.real));
    } else if (field.type == forge.Int) {
      lv2_atom_forge_int(&forge, static_cast<int32_t>(field.integer));
    } else if (field.type == forge.Long) {
      lv2_atom_forge_long(&forge, field.integer);
    } else {
      lv2_atom_forge_double(&forge, field.real);
    }
  }
  lv2_atom_forge_pop(&forge, &object);
  return true;
}

void Lv2FuzzHost::Run(int frames) {
  FuzzCheck(frames >= 0 && frames <= MaxRunFrames, "a run fits the announced block");
  lv2_atom_forge_pop(&forge, &sequenceFrame);
  auto* out = reinterpret_cast<LV2_Atom_Sequence*>(eventsOut.data());
  out->atom.size = EventCapacity - sizeof(LV2_Atom);
  out->atom.type = atomChunk;
  descriptor->run(instance, static_cast<uint32_t>(frames));
  lastRunFrames = frames;
  ReadPassedBack();
  StartSequence();
}

// Events the plug-in wrote must lie within the room it had, be short MIDI messages whose length
// their status byte gives, and come in order within the run.
void Lv2FuzzHost::ReadPassedBack() {
  passedBack.clear();
  const auto* out = reinterpret_cast<const LV2_Atom_Sequence*>(eventsOut.data());
  if (out->atom.type != atomSequence) {
    FuzzCheck(out->atom.size == 0, "an output that is no sequence is empty");
    return;
  }
  FuzzCheck(out->atom.size >= sizeof(LV2_Atom_Sequence_Body) &&
                out->atom.size <= EventCapacity - sizeof(LV2_Atom),
            "the output sequence fits its buffer");
  int64_t last = 0;
  LV2_ATOM_SEQUENCE_FOREACH(out, event) {
    const auto* end =
        reinterpret_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&event->body)) + event->body.size;
    FuzzCheck(end <= reinterpret_cast<const uint8_t*>(eventsOut.data()) + EventCapacity,
              "an event passed back lies within the buffer");
    FuzzCheck(event->body.type == midiEvent, "what is passed back is MIDI");
    const auto* bytes = static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&event->body));
    FuzzCheck(event->body.size > 0 && event->body.size == Midi::MessageBytes(bytes[0]),
              "a MIDI event passed back is one whole message");
    for (uint32_t i = 1; i < event->body.size; ++i) {
      FuzzCheck(bytes[i] < Midi::StatusBit, "a MIDI event's data bytes are data");
    }
    const int64_t frame = event->time.frames;
    FuzzCheck(frame >= last && frame >= 0 && frame < (lastRunFrames > 0 ? lastRunFrames : 1),
              "MIDI passed back is in order within the run");
    last = frame;
    passedBack.push_back(PassedMidi{frame, std::vector<uint8_t>(bytes, end)});
  }
}

void Lv2FuzzHost::ControlsToDefaults() {
  controlIn = defaults;
}

void Lv2FuzzHost::Deactivate() {
  if (active) {
    descriptor->deactivate(instance);
    active = false;
  }
}

void Lv2FuzzHost::Activate() {
  if (!active) {
    descriptor->activate(instance);
    active = true;
  }
}

Lv2FuzzHost::State Lv2FuzzHost::Save() {
  State state;
  FuzzCheck(stateInterface->save(instance, Store, &state, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE,
                                 features) == LV2_STATE_SUCCESS,
            "the state can always be saved");
  return state;
}

LV2_State_Status Lv2FuzzHost::Restore(const State& state) {
  return stateInterface->restore(instance, Retrieve, const_cast<State*>(&state), 0, features);
}
