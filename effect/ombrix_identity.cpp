#include "plugin/PluginIdentity.h"

namespace {
const IPluginIdentity OmbrixIdentity = {
    "Ombrix",
    "",
    "Quillmarsh",
    0x00010201,
    "1.2.1",
    0x49706566, // 'Ipef'
    "https://quillmarsh.example/lv2/ombrix",
    "https://quillmarsh.example/lv2/ombrix#ui",
    // "VST" / "VSE", the VST 2 id, and the name lower-cased: what hosts that replace a VST 2
    // plug-in by its VST 3 version look for.
    "565354497065666F6D62726978000000",
    "565345497065666F6D62726978000000",
    "example.quillmarsh.ombrix",
};
} // namespace

const IPluginIdentity& PluginIdentity() {
  return OmbrixIdentity;
}
