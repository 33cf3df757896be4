// kelvane-cli entry point.
#include <iostream>

#include "cli/CliApp.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return kelvane::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
