#pragma once

struct AEffect;

// What no host call reaches, for the plug-in behind an effect record; the one place the fuzzers
// look past the record.

// Ombrix::ReturnToRest: the part of a reset no host call can do.
void ReturnPluginToRest(AEffect* effect);

// The MIDI events the plug-in holds for later blocks. A host learns of them only from a block
// as long as the farthest one's offset; meanwhile they fill the queue, which drops events once
// full.
int WaitingMidiEvents(AEffect* effect);
