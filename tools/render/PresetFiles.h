#pragma once

#include <string>

class Vst2Plugin;

// Saving and loading a plug-in's programs as .fxp and .fxb files. A plug-in that keeps opaque
// state (effFlagsProgramChunks) is saved in the chunk forms, every other one as the list of its
// parameter values; both forms load. Files are written beside the target and renamed into place.

bool SaveProgramFile(Vst2Plugin& host, const std::string& path, std::string* error);
bool SaveBankFile(Vst2Plugin& host, const std::string& path, std::string* error);
bool LoadProgramFile(Vst2Plugin& host, const std::string& path, std::string* error);
bool LoadBankFile(Vst2Plugin& host, const std::string& path, std::string* error);
