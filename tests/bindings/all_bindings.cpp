#include "tests/bindings/BindingAdapter.h"

std::vector<Binding> AllBindings() {
  return {{"Vst2", MakeVst2Adapter},
          {"Lv2", MakeLv2Adapter},
          {"Vst3", MakeVst3Adapter},
          {"Clap", MakeClapAdapter}};
}
