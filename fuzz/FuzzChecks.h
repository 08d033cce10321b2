#pragma once

#include "vst2/VstAbi.h"

class FuzzHost;

// What must hold after any host input: parameters read back as normalised values within 0..1,
// the current program is one of the table's, every name fits the host's buffer, and one block
// of audio comes out finite and within +-1.
void CheckPluginSane(FuzzHost& host);
