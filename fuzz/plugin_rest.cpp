#include "fuzz/PluginRest.h"

#include "effect/Ombrix.h"
#include "fuzz/FuzzCheck.h"

namespace {
Ombrix& EffectOf(AEffect* effect) {
  auto* ombrix = dynamic_cast<Ombrix*>(IVst2Plugin::FromEffect(effect));
  FuzzCheck(ombrix != nullptr, "the effect record leads to the effect");
  return *ombrix;
}
} // namespace

void ReturnPluginToRest(AEffect* effect) {
  EffectOf(effect).ReturnToRest();
}

int WaitingMidiEvents(AEffect* effect) {
  return EffectOf(effect).MidiQueue().PendingCount();
}
