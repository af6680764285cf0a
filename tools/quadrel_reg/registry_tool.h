// The commands of quadrel-reg, writing what they print to the given streams.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs one command line (without the program name). Returns the exit status: 0 done, 1 failed,
// 2 bad usage.
int RunRegistryTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
