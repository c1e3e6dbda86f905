// kelvane-cli: the calculations of Kelvane on the command line. The options
// are read by one parser (cli/options.h); each command has a file of its own.

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  // Nothing escapes as an uncaught exception: a command that runs out of
  // memory or meets any other failure ends with its message and status 2.
  try {
    cli::Options options;
    if (const std::optional<int> status = cli::ParseOptions(args, options))
      return *status;
    if (options.command == "planes")
      return cli::RunPlanes(options);
    if (options.command == "figure")
      return cli::RunFigureCommand(options);
    if (options.command == "polygon")
      return cli::RunPolygon(options);
    if (options.command == "fabric")
      return cli::RunFabric(options);
    if (options.command == "invert")
      return cli::RunInvert(options);
    return cli::RunTensors(options);
  } catch (const std::bad_alloc&) {
    return cli::Fail("not enough memory");
  } catch (const std::exception& e) {
    return cli::Fail(e.what());
  }
}
