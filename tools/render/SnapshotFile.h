#pragma once

#include <string>

class Vst2Plugin;

// The editor's picture without a window, through the function OmbrixEditorSnapshot that the
// Ombrix module exports beside its VST 2 entry points. Other plug-ins lack it and are told so.

// False with the reason when the plug-in cannot give a picture.
bool CanSnapshotEditor(Vst2Plugin& host, std::string* error);

// Draws the editor as it stands now and writes it as an 8-bit RGB PNG, beside the target first
// and then renamed into place.
bool WriteEditorSnapshot(Vst2Plugin& host, const std::string& path, std::string* error);
