// Linux hosts call these right after loading the module and before unloading it, and refuse a
// module without them. The module keeps nothing that needs setting up or taking down.
extern "C" __attribute__((visibility("default"))) bool ModuleEntry(void*) {
  return true;
}

extern "C" __attribute__((visibility("default"))) bool ModuleExit() {
  return true;
}
