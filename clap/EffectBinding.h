#pragma once

#include "clap/ClapEntry.h"

// The binding an effect built into the CLAP module derives from.
using EffectBinding = IClapPlugin;
