#include "tests/bindings/BindingAdapter.h"

std::vector<Binding> AllBindings() {
  std::vector<Binding> bindings = {{"Vst2", MakeVst2Adapter}};
#if OMBRIX_BINDING_LV2
  bindings.push_back({"Lv2", MakeLv2Adapter});
#endif
  bindings.push_back({"Vst3", MakeVst3Adapter});
  bindings.push_back({"Clap", MakeClapAdapter});
  return bindings;
}
