#pragma once

#include "tools/render/RenderOptions.h"

#include <ostream>
#include <string>

class HostedPlugin;

// Programs and parameters chosen the way a user names them: by index, or by name (exactly, or
// ignoring letter case when that is unambiguous).

bool ChooseProgram(HostedPlugin& host, const std::string& nameOrIndex, std::string* error);

// Real units go through the plug-in's own text conversion and are checked against the range the
// plug-in displays at 0 and 1; normalised values go straight to the plug-in and must lie in 0..1.
bool ApplyParameterSetting(HostedPlugin& host, const ParameterSetting& setting, std::string* error);

// False with the reason when a number in the parameter's units lies outside the range the
// plug-in displays at 0 and 1, allowing for the rounding of the display.
bool CheckInRange(HostedPlugin& host, int index, double number, const std::string& text,
                  std::string* error);

// The plug-in's identity, programs and parameters with their display texts and ranges.
void ListPlugin(HostedPlugin& host, std::ostream& out);
