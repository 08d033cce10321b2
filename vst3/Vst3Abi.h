#pragma once

// The interfaces, records and numbers through which a VST 3 host and this plug-in meet, declared
// from the published binary interface (version 3.7.14). Interfaces are classes of pure virtual
// methods in slot order: no destructor, no data, single inheritance only for an interface's own
// versions. Every record size and offset is pinned below for 8-byte pointers (64-bit Linux and
// Windows) and 4-byte pointers (32-bit Windows), so a layout slip cannot build.

#include <cstddef>
#include <cstdint>
#include <cstring>

// 32-bit Windows hosts call every interface method and the factory entry as __stdcall; GCC's
// default for members there (__thiscall) would crash the first call.
#if defined(_WIN32) && !defined(_WIN64)
#define VST3CALL __stdcall
#else
#define VST3CALL
#endif

namespace vst3 {

using int8 = int8_t;
using uint8 = uint8_t;
using int16 = int16_t;
using uint16 = uint16_t;
using int32 = int32_t;
using uint32 = uint32_t;
using int64 = int64_t;
using uint64 = uint64_t;
using TBool = uint8_t;
using tresult = int32_t;
using char8 = char;
using char16 = char16_t;
using TChar = char16_t;
using FIDString = const char*;
using CString = const char*;
using String128 = TChar[128];
using TUID = char[16];
using ParamID = uint32;
using ParamValue = double;
using SampleRate = double;
using TQuarterNotes = double;
using Sample32 = float;
using Sample64 = double;
using TSamples = int64;
using SpeakerArrangement = uint64;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using UnitID = int32;
using ProgramListID = int32;
using CtrlNumber = int16;
using AttrID = const char*;
using FileDescriptor = int;
using TimerInterval = uint64;

// Result codes: COM's values on Windows, small numbers elsewhere. Success is 0 on both.
#if defined(_WIN32)
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

// An interface or class identifier from its four 32-bit numbers. Windows lays out the first
// number and both halves of the second little-endian (COM's GUID), Linux keeps them big-endian;
// the last two are big-endian on both.
struct Uid {
  uint8 bytes[16];
  // The identifier as interface methods take it.
  const char* Tuid() const { return reinterpret_cast<const char*>(bytes); }
};

constexpr Uid MakeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4) {
  Uid uid{};
  const uint32 words[4] = {l1, l2, l3, l4};
  for (int word = 0; word < 4; ++word) {
    for (int byte = 0; byte < 4; ++byte) {
      uid.bytes[word * 4 + byte] = static_cast<uint8>(words[word] >> (24 - 8 * byte));
    }
  }
#if defined(_WIN32)
  const uint8 b0 = uid.bytes[0], b1 = uid.bytes[1], b2 = uid.bytes[2], b3 = uid.bytes[3];
  uid.bytes[0] = b3;
  uid.bytes[1] = b2;
  uid.bytes[2] = b1;
  uid.bytes[3] = b0;
  const uint8 b4 = uid.bytes[4], b5 = uid.bytes[5], b6 = uid.bytes[6], b7 = uid.bytes[7];
  uid.bytes[4] = b5;
  uid.bytes[5] = b4;
  uid.bytes[6] = b7;
  uid.bytes[7] = b6;
#endif
  return uid;
}

// Identifiers are compared as 16 raw bytes; they may contain zeros.
inline bool SameUid(const void* bytes, const Uid& uid) {
  return bytes && std::memcmp(bytes, uid.bytes, sizeof(uid.bytes)) == 0;
}

class FUnknown {
public:
  virtual tresult VST3CALL queryInterface(const TUID iid, void** obj) = 0;
  virtual uint32 VST3CALL addRef() = 0;
  virtual uint32 VST3CALL release() = 0;
};

// ---- Factory ----

struct PFactoryInfo {
  enum FactoryFlags : int32 {
    kNoFlags = 0,
    kClassesDiscardable = 1,
    kComponentNonDiscardable = 8,
    kUnicode = 16,
  };
  char8 vendor[64];
  char8 url[256];
  char8 email[128];
  int32 flags;
};

constexpr int32 kManyInstances = 0x7FFFFFFF;

struct PClassInfo {
  TUID cid;
  int32 cardinality;
  char8 category[32];
  char8 name[64];
};

struct PClassInfo2 {
  TUID cid;
  int32 cardinality;
  char8 category[32];
  char8 name[64];
  uint32 classFlags;
  char8 subCategories[128];
  char8 vendor[64];
  char8 version[64];
  char8 sdkVersion[64];
};

struct PClassInfoW {
  TUID cid;
  int32 cardinality;
  char8 category[32];
  char16 name[64];
  uint32 classFlags;
  char8 subCategories[128];
  char16 vendor[64];
  char16 version[64];
  char16 sdkVersion[64];
};

enum ComponentFlags : uint32 { kDistributable = 1, kSimpleModeSupported = 2 };

class IPluginFactory : public FUnknown {
public:
  virtual tresult VST3CALL getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 VST3CALL countClasses() = 0;
  virtual tresult VST3CALL getClassInfo(int32 index, PClassInfo* info) = 0;
  virtual tresult VST3CALL createInstance(FIDString cid, FIDString iid, void** obj) = 0;
};

class IPluginFactory2 : public IPluginFactory {
public:
  virtual tresult VST3CALL getClassInfo2(int32 index, PClassInfo2* info) = 0;
};

class IPluginFactory3 : public IPluginFactory2 {
public:
  virtual tresult VST3CALL getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
  virtual tresult VST3CALL setHostContext(FUnknown* context) = 0;
};

// ---- Host objects the plug-in calls ----

class IAttributeList : public FUnknown {
public:
  virtual tresult VST3CALL setInt(AttrID id, int64 value) = 0;
  virtual tresult VST3CALL getInt(AttrID id, int64* value) = 0;
  virtual tresult VST3CALL setFloat(AttrID id, double value) = 0;
  virtual tresult VST3CALL getFloat(AttrID id, double* value) = 0;
  virtual tresult VST3CALL setString(AttrID id, const TChar* string) = 0;
  virtual tresult VST3CALL getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;
  virtual tresult VST3CALL setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;
  virtual tresult VST3CALL getBinary(AttrID id, const void** data, uint32* sizeInBytes) = 0;
};

class IMessage : public FUnknown {
public:
  virtual FIDString VST3CALL getMessageID() = 0;
  virtual void VST3CALL setMessageID(FIDString id) = 0;
  virtual IAttributeList* VST3CALL getAttributes() = 0;
};

class IConnectionPoint : public FUnknown {
public:
  virtual tresult VST3CALL connect(IConnectionPoint* other) = 0;
  virtual tresult VST3CALL disconnect(IConnectionPoint* other) = 0;
  virtual tresult VST3CALL notify(IMessage* message) = 0;
};

enum IStreamSeekMode : int32 { kIBSeekSet = 0, kIBSeekCur = 1, kIBSeekEnd = 2 };

class IBStream : public FUnknown {
public:
  virtual tresult VST3CALL read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
  virtual tresult VST3CALL write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
  virtual tresult VST3CALL seek(int64 pos, int32 mode, int64* result) = 0;
  virtual tresult VST3CALL tell(int64* pos) = 0;
};

class IHostApplication : public FUnknown {
public:
  virtual tresult VST3CALL getName(String128 name) = 0;
  virtual tresult VST3CALL createInstance(TUID cid, TUID iid, void** obj) = 0;
};

enum RestartFlags : int32 {
  kReloadComponent = 1,
  kIoChanged = 2,
  kParamValuesChanged = 4,
  kLatencyChanged = 8,
  kParamTitlesChanged = 0x10,
  kMidiCCAssignmentChanged = 0x20,
};

class IComponentHandler : public FUnknown {
public:
  virtual tresult VST3CALL beginEdit(ParamID id) = 0;
  virtual tresult VST3CALL performEdit(ParamID id, ParamValue valueNormalized) = 0;
  virtual tresult VST3CALL endEdit(ParamID id) = 0;
  virtual tresult VST3CALL restartComponent(int32 flags) = 0;
};

class IUnitHandler : public FUnknown {
public:
  virtual tresult VST3CALL notifyUnitSelection(UnitID unitId) = 0;
  virtual tresult VST3CALL notifyProgramListChange(ProgramListID listId, int32 programIndex) = 0;
};

class IParamValueQueue : public FUnknown {
public:
  virtual ParamID VST3CALL getParameterId() = 0;
  virtual int32 VST3CALL getPointCount() = 0;
  virtual tresult VST3CALL getPoint(int32 index, int32* sampleOffset, ParamValue* value) = 0;
  virtual tresult VST3CALL addPoint(int32 sampleOffset, ParamValue value, int32* index) = 0;
};

class IParameterChanges : public FUnknown {
public:
  virtual int32 VST3CALL getParameterCount() = 0;
  virtual IParamValueQueue* VST3CALL getParameterData(int32 index) = 0;
  virtual IParamValueQueue* VST3CALL addParameterData(const ParamID* id, int32* index) = 0;
};

// ---- Processing records ----

enum MediaTypes : int32 { kAudio = 0, kEvent = 1 };
enum BusDirections : int32 { kInput = 0, kOutput = 1 };
enum BusTypes : int32 { kMain = 0, kAux = 1 };
enum BusFlags : uint32 { kDefaultActive = 1 };
enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 = 1 };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch = 1, kOffline = 2 };
constexpr SpeakerArrangement kSpeakerArrEmpty = 0;
constexpr SpeakerArrangement kSpeakerArrMono = 0x80000;
constexpr SpeakerArrangement kSpeakerArrStereo = 3;
constexpr uint32 kNoTail = 0;

struct BusInfo {
  MediaType mediaType;
  BusDirection direction;
  int32 channelCount;
  String128 name;
  BusType busType;
  uint32 flags;
};

struct RoutingInfo {
  MediaType mediaType;
  int32 busIndex;
  int32 channel;
};

struct ProcessSetup {
  int32 processMode;
  int32 symbolicSampleSize;
  int32 maxSamplesPerBlock;
  SampleRate sampleRate;
};

struct AudioBusBuffers {
  int32 numChannels;
  uint64 silenceFlags;
  union {
    Sample32** channelBuffers32;
    Sample64** channelBuffers64;
  };
};

struct Chord {
  uint8 keyNote;
  uint8 rootNote;
  int16 chordMask;
};

struct FrameRate {
  uint32 framesPerSecond;
  uint32 flags;
};

struct ProcessContext {
  enum StatesAndFlags : uint32 {
    kPlaying = 2,
    kCycleActive = 4,
    kRecording = 8,
    kSystemTimeValid = 0x100,
    kProjectTimeMusicValid = 0x200,
    kTempoValid = 0x400,
    kBarPositionValid = 0x800,
    kCycleValid = 0x1000,
    kTimeSigValid = 0x2000,
    kContTimeValid = 0x20000,
  };
  uint32 state;
  double sampleRate;
  TSamples projectTimeSamples;
  int64 systemTime;
  TSamples continousTimeSamples;
  TQuarterNotes projectTimeMusic;
  TQuarterNotes barPositionMusic;
  TQuarterNotes cycleStartMusic;
  TQuarterNotes cycleEndMusic;
  double tempo;
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  Chord chord;
  int32 smpteOffsetSubframes;
  FrameRate frameRate;
  int32 samplesToNextClock;
};

enum ProcessContextRequirementFlags : uint32 {
  kNeedProjectTimeMusic = 4,
  kNeedBarPositionMusic = 8,
  kNeedCycleMusic = 0x10,
  kNeedTempo = 0x40,
  kNeedTimeSignature = 0x80,
  kNeedTransportState = 0x400,
};

struct NoteOnEvent {
  int16 channel;
  int16 pitch;
  float tuning;
  float velocity;
  int32 length;
  int32 noteId;
};

struct NoteOffEvent {
  int16 channel;
  int16 pitch;
  float velocity;
  int32 noteId;
  float tuning;
};

struct DataEvent {
  uint32 size;
  uint32 type;
  const uint8* bytes;
};

struct PolyPressureEvent {
  int16 channel;
  int16 pitch;
  float pressure;
  int32 noteId;
};

struct LegacyMIDICCOutEvent {
  uint8 controlNumber;
  int8 channel;
  int8 value;
  int8 value2;
};

struct Event {
  enum EventTypes : uint16 {
    kNoteOnEvent = 0,
    kNoteOffEvent = 1,
    kDataEvent = 2,
    kPolyPressureEvent = 3,
    kLegacyMIDICCOutEvent = 65535,
  };
  enum EventFlags : uint16 { kIsLive = 1 };
  int32 busIndex;
  int32 sampleOffset;
  TQuarterNotes ppqPosition;
  uint16 flags;
  uint16 type;
  union {
    NoteOnEvent noteOn;
    NoteOffEvent noteOff;
    DataEvent data;
    PolyPressureEvent polyPressure;
    LegacyMIDICCOutEvent midiCCOut;
  };
};

constexpr uint32 kMidiSysEx = 0;

class IEventList : public FUnknown {
public:
  virtual int32 VST3CALL getEventCount() = 0;
  virtual tresult VST3CALL getEvent(int32 index, Event* e) = 0;
  virtual tresult VST3CALL addEvent(Event* e) = 0;
};

struct ProcessData {
  int32 processMode;
  int32 symbolicSampleSize;
  int32 numSamples;
  int32 numInputs;
  int32 numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};

// ---- The plug-in's interfaces ----

class IPluginBase : public FUnknown {
public:
  virtual tresult VST3CALL initialize(FUnknown* context) = 0;
  virtual tresult VST3CALL terminate() = 0;
};

class IComponent : public IPluginBase {
public:
  virtual tresult VST3CALL getControllerClassId(TUID classId) = 0;
  virtual tresult VST3CALL setIoMode(IoMode mode) = 0;
  virtual int32 VST3CALL getBusCount(MediaType type, BusDirection dir) = 0;
  virtual tresult VST3CALL getBusInfo(MediaType type, BusDirection dir, int32 index,
                                      BusInfo* bus) = 0;
  virtual tresult VST3CALL getRoutingInfo(RoutingInfo* inInfo, RoutingInfo* outInfo) = 0;
  virtual tresult VST3CALL activateBus(MediaType type, BusDirection dir, int32 index,
                                       TBool state) = 0;
  virtual tresult VST3CALL setActive(TBool state) = 0;
  virtual tresult VST3CALL setState(IBStream* state) = 0;
  virtual tresult VST3CALL getState(IBStream* state) = 0;
};

class IAudioProcessor : public FUnknown {
public:
  virtual tresult VST3CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                              SpeakerArrangement* outputs, int32 numOuts) = 0;
  virtual tresult VST3CALL getBusArrangement(BusDirection dir, int32 index,
                                             SpeakerArrangement* arr) = 0;
  virtual tresult VST3CALL canProcessSampleSize(int32 symbolicSampleSize) = 0;
  virtual uint32 VST3CALL getLatencySamples() = 0;
  virtual tresult VST3CALL setupProcessing(ProcessSetup* setup) = 0;
  virtual tresult VST3CALL setProcessing(TBool state) = 0;
  virtual tresult VST3CALL process(ProcessData* data) = 0;
  virtual uint32 VST3CALL getTailSamples() = 0;
};

class IProcessContextRequirements : public FUnknown {
public:
  virtual uint32 VST3CALL getProcessContextRequirements() = 0;
};

struct ParameterInfo {
  enum ParameterFlags : int32 {
    kNoFlags = 0,
    kCanAutomate = 1,
    kIsReadOnly = 2,
    kIsWrapAround = 4,
    kIsList = 8,
    kIsHidden = 16,
    kIsProgramChange = 0x8000,
    kIsBypass = 0x10000,
  };
  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32 stepCount;
  ParamValue defaultNormalizedValue;
  UnitID unitId;
  int32 flags;
};

class IPlugView;

class IEditController : public IPluginBase {
public:
  virtual tresult VST3CALL setComponentState(IBStream* state) = 0;
  virtual tresult VST3CALL setState(IBStream* state) = 0;
  virtual tresult VST3CALL getState(IBStream* state) = 0;
  virtual int32 VST3CALL getParameterCount() = 0;
  virtual tresult VST3CALL getParameterInfo(int32 paramIndex, ParameterInfo* info) = 0;
  virtual tresult VST3CALL getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                 String128 string) = 0;
  virtual tresult VST3CALL getParamValueByString(ParamID id, TChar* string,
                                                 ParamValue* valueNormalized) = 0;
  virtual ParamValue VST3CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
  virtual ParamValue VST3CALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
  virtual ParamValue VST3CALL getParamNormalized(ParamID id) = 0;
  virtual tresult VST3CALL setParamNormalized(ParamID id, ParamValue value) = 0;
  virtual tresult VST3CALL setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* VST3CALL createView(FIDString name) = 0;
};

class IMidiMapping : public FUnknown {
public:
  virtual tresult VST3CALL getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                       CtrlNumber midiControllerNumber,
                                                       ParamID* id) = 0;
};

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr int32 kAllProgramInvalid = -1;

struct UnitInfo {
  UnitID id;
  UnitID parentUnitId;
  String128 name;
  ProgramListID programListId;
};

struct ProgramListInfo {
  ProgramListID id;
  String128 name;
  int32 programCount;
};

class IUnitInfo : public FUnknown {
public:
  virtual int32 VST3CALL getUnitCount() = 0;
  virtual tresult VST3CALL getUnitInfo(int32 unitIndex, UnitInfo* info) = 0;
  virtual int32 VST3CALL getProgramListCount() = 0;
  virtual tresult VST3CALL getProgramListInfo(int32 listIndex, ProgramListInfo* info) = 0;
  virtual tresult VST3CALL getProgramName(ProgramListID listId, int32 programIndex,
                                          String128 name) = 0;
  virtual tresult VST3CALL getProgramInfo(ProgramListID listId, int32 programIndex,
                                          CString attributeId, String128 attributeValue) = 0;
  virtual tresult VST3CALL hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
  virtual tresult VST3CALL getProgramPitchName(ProgramListID listId, int32 programIndex,
                                               int16 midiPitch, String128 name) = 0;
  virtual UnitID VST3CALL getSelectedUnit() = 0;
  virtual tresult VST3CALL selectUnit(UnitID unitId) = 0;
  virtual tresult VST3CALL getUnitByBus(MediaType type, BusDirection dir, int32 busIndex,
                                        int32 channel, UnitID* unitId) = 0;
  virtual tresult VST3CALL setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                              IBStream* data) = 0;
};

// ---- The editor view ----

struct ViewRect {
  int32 left;
  int32 top;
  int32 right;
  int32 bottom;
};

constexpr const char* kPlatformTypeHWND = "HWND";
constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";
constexpr const char* kEditorViewType = "editor";

class IPlugFrame : public FUnknown {
public:
  virtual tresult VST3CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;
};

class IPlugView : public FUnknown {
public:
  virtual tresult VST3CALL isPlatformTypeSupported(FIDString type) = 0;
  virtual tresult VST3CALL attached(void* parent, FIDString type) = 0;
  virtual tresult VST3CALL removed() = 0;
  virtual tresult VST3CALL onWheel(float distance) = 0;
  virtual tresult VST3CALL onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult VST3CALL onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult VST3CALL getSize(ViewRect* size) = 0;
  virtual tresult VST3CALL onSize(ViewRect* newSize) = 0;
  virtual tresult VST3CALL onFocus(TBool state) = 0;
  virtual tresult VST3CALL setFrame(IPlugFrame* frame) = 0;
  virtual tresult VST3CALL canResize() = 0;
  virtual tresult VST3CALL checkSizeConstraint(ViewRect* rect) = 0;
};

class IPlugViewContentScaleSupport : public FUnknown {
public:
  virtual tresult VST3CALL setContentScaleFactor(float factor) = 0;
};

namespace Linux {
class IEventHandler : public FUnknown {
public:
  virtual void VST3CALL onFDIsSet(FileDescriptor fd) = 0;
};

class ITimerHandler : public FUnknown {
public:
  virtual void VST3CALL onTimer() = 0;
};

class IRunLoop : public FUnknown {
public:
  virtual tresult VST3CALL registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
  virtual tresult VST3CALL unregisterEventHandler(IEventHandler* handler) = 0;
  virtual tresult VST3CALL registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
  virtual tresult VST3CALL unregisterTimer(ITimerHandler* handler) = 0;
};
} // namespace Linux

// onKeyDown/onKeyUp take the VST 2 virtual key codes (VstKeyCodes.h in plugin/) for 1-57.

// ---- Interface identifiers ----

constexpr Uid FUnknown_iid = MakeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
constexpr Uid IPluginFactory_iid = MakeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
constexpr Uid IPluginFactory2_iid = MakeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
constexpr Uid IPluginFactory3_iid = MakeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
constexpr Uid IPluginBase_iid = MakeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
constexpr Uid IComponent_iid = MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
constexpr Uid IAudioProcessor_iid = MakeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
constexpr Uid IProcessContextRequirements_iid =
    MakeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);
constexpr Uid IEditController_iid = MakeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
constexpr Uid IMidiMapping_iid = MakeUid(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);
constexpr Uid IUnitInfo_iid = MakeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
constexpr Uid IConnectionPoint_iid = MakeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
constexpr Uid IMessage_iid = MakeUid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);
constexpr Uid IAttributeList_iid = MakeUid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);
constexpr Uid IBStream_iid = MakeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
constexpr Uid IComponentHandler_iid = MakeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
constexpr Uid IUnitHandler_iid = MakeUid(0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56);
constexpr Uid IHostApplication_iid = MakeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
constexpr Uid IParameterChanges_iid = MakeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
constexpr Uid IParamValueQueue_iid = MakeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
constexpr Uid IEventList_iid = MakeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);
constexpr Uid IPlugView_iid = MakeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);
constexpr Uid IPlugFrame_iid = MakeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
constexpr Uid IPlugViewContentScaleSupport_iid =
    MakeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);
constexpr Uid IRunLoop_iid = MakeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);
constexpr Uid IEventHandler_iid = MakeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
constexpr Uid ITimerHandler_iid = MakeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

// ---- Strings and numbers of the class descriptions ----

constexpr const char* kVstAudioEffectClass = "Audio Module Class";
constexpr const char* kVstComponentControllerClass = "Component Controller Class";
constexpr const char* kVstVersionString = "VST 3.7.14";

// ---- Layout ----

static_assert(sizeof(TBool) == 1 && sizeof(char16) == 2 && sizeof(bool) == 1, "basic types");
static_assert(sizeof(String128) == 256 && sizeof(TUID) == 16 && sizeof(Uid) == 16, "basic types");
static_assert(sizeof(PFactoryInfo) == 452 && offsetof(PFactoryInfo, flags) == 448, "PFactoryInfo");
static_assert(sizeof(PClassInfo) == 116 && offsetof(PClassInfo, name) == 52, "PClassInfo");
static_assert(sizeof(PClassInfo2) == 440 && offsetof(PClassInfo2, classFlags) == 116 &&
                  offsetof(PClassInfo2, subCategories) == 120 &&
                  offsetof(PClassInfo2, vendor) == 248 && offsetof(PClassInfo2, version) == 312 &&
                  offsetof(PClassInfo2, sdkVersion) == 376,
              "PClassInfo2");
static_assert(sizeof(PClassInfoW) == 696 && offsetof(PClassInfoW, name) == 52 &&
                  offsetof(PClassInfoW, classFlags) == 180 &&
                  offsetof(PClassInfoW, subCategories) == 184 &&
                  offsetof(PClassInfoW, vendor) == 312 && offsetof(PClassInfoW, version) == 440 &&
                  offsetof(PClassInfoW, sdkVersion) == 568,
              "PClassInfoW");
static_assert(sizeof(BusInfo) == 276 && offsetof(BusInfo, name) == 12 &&
                  offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272,
              "BusInfo");
static_assert(sizeof(RoutingInfo) == 12, "RoutingInfo");
static_assert(sizeof(ParameterInfo) == 792 && offsetof(ParameterInfo, title) == 4 &&
                  offsetof(ParameterInfo, shortTitle) == 260 &&
                  offsetof(ParameterInfo, units) == 516 &&
                  offsetof(ParameterInfo, stepCount) == 772 &&
                  offsetof(ParameterInfo, defaultNormalizedValue) == 776 &&
                  offsetof(ParameterInfo, unitId) == 784 && offsetof(ParameterInfo, flags) == 788,
              "ParameterInfo");
static_assert(sizeof(UnitInfo) == 268 && offsetof(UnitInfo, name) == 8 &&
                  offsetof(UnitInfo, programListId) == 264,
              "UnitInfo");
static_assert(sizeof(ProgramListInfo) == 264 && offsetof(ProgramListInfo, programCount) == 260,
              "ProgramListInfo");
static_assert(sizeof(ViewRect) == 16, "ViewRect");
static_assert(sizeof(ProcessSetup) == 24 && offsetof(ProcessSetup, sampleRate) == 16,
              "ProcessSetup");
static_assert(sizeof(AudioBusBuffers) == 24 && offsetof(AudioBusBuffers, silenceFlags) == 8 &&
                  offsetof(AudioBusBuffers, channelBuffers32) == 16,
              "AudioBusBuffers");
static_assert(sizeof(Chord) == 4 && sizeof(FrameRate) == 8, "Chord, FrameRate");
static_assert(sizeof(ProcessContext) == 112 && offsetof(ProcessContext, sampleRate) == 8 &&
                  offsetof(ProcessContext, projectTimeSamples) == 16 &&
                  offsetof(ProcessContext, continousTimeSamples) == 32 &&
                  offsetof(ProcessContext, projectTimeMusic) == 40 &&
                  offsetof(ProcessContext, barPositionMusic) == 48 &&
                  offsetof(ProcessContext, cycleStartMusic) == 56 &&
                  offsetof(ProcessContext, cycleEndMusic) == 64 &&
                  offsetof(ProcessContext, tempo) == 72 &&
                  offsetof(ProcessContext, timeSigNumerator) == 80 &&
                  offsetof(ProcessContext, timeSigDenominator) == 84 &&
                  offsetof(ProcessContext, chord) == 88 &&
                  offsetof(ProcessContext, smpteOffsetSubframes) == 92 &&
                  offsetof(ProcessContext, frameRate) == 96 &&
                  offsetof(ProcessContext, samplesToNextClock) == 104,
              "ProcessContext");
static_assert(sizeof(NoteOnEvent) == 20 && sizeof(NoteOffEvent) == 16 &&
                  sizeof(PolyPressureEvent) == 12 && sizeof(LegacyMIDICCOutEvent) == 4,
              "event members");
static_assert(offsetof(Event, ppqPosition) == 8 && offsetof(Event, flags) == 16 &&
                  offsetof(Event, type) == 18,
              "Event");
#if UINTPTR_MAX > 0xFFFFFFFFu
static_assert(sizeof(DataEvent) == 16 && sizeof(Event) == 48 && offsetof(Event, noteOn) == 24,
              "Event with 8-byte pointers");
static_assert(sizeof(ProcessData) == 80 && offsetof(ProcessData, inputs) == 24 &&
                  offsetof(ProcessData, outputs) == 32 &&
                  offsetof(ProcessData, inputParameterChanges) == 40 &&
                  offsetof(ProcessData, outputParameterChanges) == 48 &&
                  offsetof(ProcessData, inputEvents) == 56 &&
                  offsetof(ProcessData, outputEvents) == 64 &&
                  offsetof(ProcessData, processContext) == 72,
              "ProcessData with 8-byte pointers");
#else
static_assert(sizeof(DataEvent) == 12 && sizeof(Event) == 40 && offsetof(Event, noteOn) == 20,
              "Event with 4-byte pointers");
static_assert(sizeof(ProcessData) == 48 && offsetof(ProcessData, inputs) == 20 &&
                  offsetof(ProcessData, outputs) == 24 &&
                  offsetof(ProcessData, inputParameterChanges) == 28 &&
                  offsetof(ProcessData, outputParameterChanges) == 32 &&
                  offsetof(ProcessData, inputEvents) == 36 &&
                  offsetof(ProcessData, outputEvents) == 40 &&
                  offsetof(ProcessData, processContext) == 44,
              "ProcessData with 4-byte pointers");
#endif
// The worked examples of both byte orders.
#if defined(_WIN32)
static_assert(IComponent_iid.bytes[0] == 0x31 && IComponent_iid.bytes[3] == 0xE8 &&
                  IComponent_iid.bytes[4] == 0xD5 && IComponent_iid.bytes[7] == 0x43 &&
                  IComponent_iid.bytes[8] == 0x92,
              "COM byte order");
#else
static_assert(IComponent_iid.bytes[0] == 0xE8 && IComponent_iid.bytes[3] == 0x31 &&
                  IComponent_iid.bytes[4] == 0xF2 && IComponent_iid.bytes[7] == 0x01 &&
                  IComponent_iid.bytes[8] == 0x92,
              "big-endian byte order");
#endif
static_assert(FUnknown_iid.bytes[8] == 0xC0 && FUnknown_iid.bytes[15] == 0x46, "FUnknown");

} // namespace vst3
