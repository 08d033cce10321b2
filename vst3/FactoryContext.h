#pragma once

#include "vst3/Vst3Abi.h"

// The context the host gave the factory (IPluginFactory3::setHostContext), or null; a Linux host
// may offer its run loop there as well as on the view's frame. Borrowed: valid until the host
// replaces it or releases the factory.
vst3::FUnknown* FactoryHostContext();
