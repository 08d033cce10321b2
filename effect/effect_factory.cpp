#include "effect/Ombrix.h"

// The host owns the object through its binding until it closes the plug-in.
IEffectBinding* CreateEffect(IEffectHost host) {
  return new Ombrix(host);
}
