#include "effect/Ombrix.h"

void Ombrix::ReturnToRest() {
  IScopedLock guard(pluginLock);
  while (midiQueue.HasPending()) {
    midiQueue.DropNext();
  }
  midiQueue.Compact();
  meterLevelLeft = 0.0;
  meterLevelRight = 0.0;
}
