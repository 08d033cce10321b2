#pragma once

#include <string>

class PluginHost;

// Saving and loading a plug-in's programs as .fxp and .fxb files. A plug-in that keeps opaque
// state (effFlagsProgramChunks) is saved in the chunk forms, every other one as the list of its
// parameter values; both forms load. Files are written beside the target and renamed into place.

bool SaveProgramFile(PluginHost& host, const std::string& path, std::string* error);
bool SaveBankFile(PluginHost& host, const std::string& path, std::string* error);
bool LoadProgramFile(PluginHost& host, const std::string& path, std::string* error);
bool LoadBankFile(PluginHost& host, const std::string& path, std::string* error);
