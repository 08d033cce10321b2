#include "tests/vst2/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Dispatcher, FixedAnswers) {
  TestHost host;
  EXPECT_EQ(host.Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(host.Dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(host.Dispatch(effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(host.Dispatch(effCanBeAutomated, 2), 1);
  EXPECT_EQ(host.Text(effGetEffectName), "Ombrix");
  EXPECT_EQ(host.Text(effGetVendorString), "Quillmarsh");
  EXPECT_EQ(host.Text(effGetProductString), "");
  EXPECT_EQ(host.Dispatch(effGetEffectName), 0);
  // Opcodes the plug-in does not answer, among them the gaps of the table.
  for (VstInt32 opcode : {9, 16, 17, 18, 20, 21, 28, 30, 40, 41, 43, 46, 49, 52, 59, 67, 70, 500}) {
    char buffer[256] = {};
    EXPECT_EQ(host.Dispatch(opcode, 0, 0, buffer), 0) << opcode;
  }
  EXPECT_EQ(host.Dispatch(effEditIdle), 0);
  EXPECT_EQ(host.Dispatch(effIdle), 0);
}

TEST(Dispatcher, CapabilityStringsAreExact) {
  TestHost host;
  auto canDo = [&](const char* text) {
    return host.Dispatch(effCanDo, 0, 0, const_cast<char*>(text));
  };
  EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
  EXPECT_EQ(canDo("sendVstEvents"), 1);
  EXPECT_EQ(canDo("sendVstMidiEvent"), 1);
  EXPECT_EQ(canDo("receiveVstEvents"), 1);
  EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
  EXPECT_EQ(canDo("hasHostExtensions"), static_cast<VstIntPtr>(0xBEEF0000u));
  EXPECT_EQ(canDo("hasHostViewAsConfig"), static_cast<VstIntPtr>(0xBEEF0000u));
  EXPECT_EQ(canDo("ReceiveVstTimeInfo"), 0);
  EXPECT_EQ(canDo("offline"), 0);
  EXPECT_EQ(host.Dispatch(effCanDo), 0);
}

TEST(Dispatcher, OpenIdentifiesTheHostOnce) {
  TestHost host;
  host.productName = "Audition CS6";
  host.vendorVersion = 10203;
  host.Dispatch(effOpen);
  ASSERT_EQ(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[0].opcode, audioMasterGetProductString);
  EXPECT_EQ(host.calls[1].opcode, audioMasterGetVendorVersion);
  // The stereo input limit of this host changes nothing for a two-channel effect.
  EXPECT_EQ(host.effect->numInputs, 2);
  EXPECT_EQ(host.effect->numOutputs, 2);
  host.Dispatch(effOpen);
  EXPECT_EQ(host.calls.size(), 2u);
}

TEST(Dispatcher, HostWithoutProductNameIsNotAskedForItsVersion) {
  TestHost host;
  host.Dispatch(effOpen);
  EXPECT_EQ(host.CountOf(audioMasterGetProductString), 1);
  EXPECT_EQ(host.CountOf(audioMasterGetVendorVersion), 0);
}

TEST(Dispatcher, ParameterTexts) {
  TestHost host;
  EXPECT_EQ(host.Text(effGetParamName, 0), "Amount of Distortion");
  EXPECT_EQ(host.Text(effGetParamName, 1), "#KELBA Enabled");
  EXPECT_EQ(host.Text(effGetParamName, 2), "#KELBA");
  EXPECT_EQ(host.Text(effGetParamLabel, 0), "%");
  EXPECT_EQ(host.Text(effGetParamLabel, 1), "");
  host.effect->setParameter(host.effect, 0, 50.0f / 99.99f);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "50.00");
  EXPECT_EQ(host.Text(effGetParamDisplay, 1), "1");
  EXPECT_EQ(host.Text(effGetParamDisplay, 2), "0");
}

TEST(Dispatcher, TextToParameterClampsAndTakesNonNumbersAsZero) {
  TestHost host;
  char text120[] = "120";
  EXPECT_EQ(host.Dispatch(effString2Parameter, 0, 0, text120), 1);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "99.99");
  char textAbc[] = "abc";
  EXPECT_EQ(host.Dispatch(effString2Parameter, 0, 0, textAbc), 1);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "0.00");
  char textSpaced[] = "  +25.5 %";
  EXPECT_EQ(host.Dispatch(effString2Parameter, 0, 0, textSpaced), 1);
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "25.50");
  // Asking whether conversion works, and an index that names no parameter.
  EXPECT_EQ(host.Dispatch(effString2Parameter, 0), 1);
  EXPECT_EQ(host.Dispatch(effString2Parameter, 3, 0, text120), 0);
  EXPECT_EQ(host.Dispatch(effString2Parameter, -1, 0, text120), 0);
}

TEST(Dispatcher, ProgramSwitchKeepsWhatWasHeard) {
  TestHost host;
  host.Start();
  EXPECT_EQ(host.Dispatch(effGetProgram), 0);
  host.effect->setParameter(host.effect, 0, 0.25f);
  host.Dispatch(effSetProgram, 0, 3);
  EXPECT_EQ(host.Dispatch(effGetProgram), 3);
  EXPECT_EQ(host.Text(effGetProgramName), "Dirtier");
  EXPECT_EQ(host.Text(effGetParamDisplay, 0), "80.00");
  EXPECT_EQ(host.Text(effGetParamDisplay, 1), "0");
  host.Dispatch(effSetProgram, 0, 0);
  EXPECT_FLOAT_EQ(host.effect->getParameter(host.effect, 0), 0.25f);
  // Out of range: the live values are saved, the program stays.
  host.Dispatch(effSetProgram, 0, 5);
  host.Dispatch(effSetProgram, 0, -1);
  EXPECT_EQ(host.Dispatch(effGetProgram), 0);
}

TEST(Dispatcher, ProgramNameAndIndexedNames) {
  TestHost host;
  char name[] = "Mine";
  host.Dispatch(effSetProgramName, 0, 0, name);
  EXPECT_EQ(host.Text(effGetProgramName), "Mine");
  EXPECT_EQ(host.Text(effGetProgramNameIndexed, 0), "Mine");
  EXPECT_EQ(host.Text(effGetProgramNameIndexed, 4), "Is it still music???");
  char buffer[24] = "untouched";
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 9, 0, buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 0), 0);
}

TEST(Dispatcher, PinProperties) {
  TestHost host;
  VstPinProperties pin;
  std::memset(&pin, 0x55, sizeof(pin));
  ASSERT_EQ(host.Dispatch(effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  // Fields the plug-in does not fill stay as the host passed them.
  EXPECT_EQ(pin.arrangementType, 0x55555555);
  ASSERT_EQ(host.Dispatch(effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 2");
  EXPECT_EQ(pin.flags, kVstPinIsActive);
  EXPECT_EQ(host.Dispatch(effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(host.Dispatch(effGetOutputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(host.Dispatch(effGetInputProperties, 0), 0);
}

TEST(Dispatcher, SpeakerArrangements) {
  TestHost host;
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(host.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->type, kSpeakerArrStereo);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->type, kSpeakerArrStereo);
  EXPECT_EQ(out->numChannels, 2);
  VstSpeakerArrangement mono = {};
  mono.numChannels = 1;
  EXPECT_EQ(host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono),
            1);
  // The plug-in's own records are not changed by the host's arrangement.
  EXPECT_EQ(in->numChannels, 2);
}

TEST(Dispatcher, HostExtensions) {
  TestHost host;
  char text[64] = {};
  EXPECT_EQ(host.Dispatch(effVendorSpecific, effGetParamDisplay, 0, text, 1.0f), 0xBEEF);
  EXPECT_STREQ(text, "99.99");
  EXPECT_EQ(host.Dispatch(effVendorSpecific, effGetParamDisplay, 1, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "0");
  EXPECT_EQ(host.Dispatch(effVendorSpecific, effGetParamDisplay, 7, text, 0.5f), 0xBEEF);
  EXPECT_EQ(host.Dispatch(effVendorSpecific, effGetParamDisplay, 0, nullptr, 0.5f), 0);
  EXPECT_EQ(host.Dispatch(effVendorSpecific, effGetParamName, 1), 0xBEEF);
  EXPECT_EQ(host.Dispatch(effVendorSpecific, effGetParamName, 0), 0);
  EXPECT_EQ(host.Dispatch(effVendorSpecific, effGetParamName, 3), 0);
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 9, 0, text), 0);
}

TEST(Dispatcher, EditorRectangleAndNoWindowForAParentThatIsNone) {
  TestHost host;
  ERect* rect = nullptr;
  EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 400);
  EXPECT_EQ(rect->right, 560);
  EXPECT_EQ(host.Dispatch(effEditGetRect), 0);
  // Not a window to open in: the editor stays closed, and closing it is harmless.
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effEditClose), 1);
}

TEST(Dispatcher, MidiKeyNamesAreEmpty) {
  TestHost host;
  MidiKeyName key;
  std::memset(&key, 'x', sizeof(key));
  key.thisKeyNumber = 60;
  EXPECT_EQ(host.Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_EQ(key.keyName[0], '\0');
  EXPECT_EQ(host.Dispatch(effGetMidiKeyName), 0);
}
