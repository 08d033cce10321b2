#pragma once

#include "vst3/Vst3Abi.h"

#include <cstdint>

// The messages the processor and the controller exchange through the host's connection: the
// processor tells its registry number (on connecting and when asked), the controller asks for it
// when it connects.
namespace LinkMessage {
constexpr const char* ProcessorNumber = "Ombrix.ProcessorNumber";
constexpr const char* AskProcessorNumber = "Ombrix.AskProcessorNumber";
constexpr const char* NumberAttribute = "number";

// Makes a message through the host, sets it and hands it to the peer; false when the host or
// the peer is missing or cannot make messages. UI thread only.
bool Send(vst3::IHostApplication* host, vst3::IConnectionPoint* peer, const char* id,
          const int64_t* number);
bool Is(vst3::IMessage* message, const char* id);
} // namespace LinkMessage
