#pragma once

#include "vst3/IVst3Plugin.h"
#include "vst3/Vst3Abi.h"

// The host's application interface from an initialize context (kept: the caller releases it),
// with the host's name handed to the plug-in's host identification; null when the context
// offers none.
vst3::IHostApplication* TakeHostApplication(vst3::FUnknown* context, IVst3Plugin& plugin);
