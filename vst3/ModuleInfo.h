#pragma once

#include "vst3/Vst3Abi.h"

#include <string>

// moduleinfo.json as hosts read it to list the classes without loading the module: written from
// the factory's own answers, so it cannot differ from them.
std::string DescribeModule(vst3::IPluginFactory* factory, const char* moduleName,
                           const char* moduleVersion);
