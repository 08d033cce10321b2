#pragma once

struct AEffect;

// Ombrix::ReturnToRest for the plug-in behind an effect record: the part of a reset that no host
// call reaches. The one place the fuzzers look past the effect record.
void ReturnPluginToRest(AEffect* effect);
