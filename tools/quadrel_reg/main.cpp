#include <iostream>

#include "tools/quadrel_reg/registry_tool.h"

int main(int argc, char** argv) {
    return RunRegistryTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
