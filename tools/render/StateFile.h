#pragma once

#include <string>

class HostedPlugin;

// A plug-in's state as ombrix-render keeps it, for every format: a short text header saying which
// format and plug-in wrote it, then the bytes the format itself stores.
//
//   ombrix-render state 1
//   format: CLAP
//   plugin: Ombrix
//   bytes: 83
//   <blank line, then the 83 bytes>
//
// A file written by another format or plug-in is refused, naming both.

bool SaveStateFile(HostedPlugin& plugin, const std::string& path, std::string* error);
bool LoadStateFile(HostedPlugin& plugin, const std::string& path, std::string* error);
