// Windows hosts call these after loading the module and before unloading it, where exported.
// The module keeps nothing that needs setting up or taking down.
extern "C" bool InitDll() {
  return true;
}

extern "C" bool ExitDll() {
  return true;
}
