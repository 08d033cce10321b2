#include "tools/render/HostPlatform.h"
#include "tools/render/RenderTool.h"

#include <iostream>

int main(int argc, char** argv) {
  return RunRenderTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                       ErrorOutputIsTerminal(), ExecutablePath());
}
