#include "fuzz/PluginRest.h"

#include "effect/Ombrix.h"
#include "fuzz/FuzzCheck.h"

void ReturnPluginToRest(AEffect* effect) {
  auto* ombrix = dynamic_cast<Ombrix*>(IVst2Plugin::FromEffect(effect));
  FuzzCheck(ombrix != nullptr, "the effect record leads to the effect");
  ombrix->ReturnToRest();
}
