#include "effect/Ombrix.h"

// The host owns the object through its binding until it closes the plug-in.
EffectBinding* CreateEffect(EffectBinding::Host host) {
  return new Ombrix(host);
}
