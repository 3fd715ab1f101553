// quorvanel-data: the content authors' toolkit.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Commands.h"
#include "app/Startup.h"
#include "core/Diagnostics.h"

using namespace qv::tool;

namespace {

void PrintHelp(const TCommandTable& table) {
  std::printf("usage: quorvanel-data COMMAND [ARGS...]\n\ncommands:\n");
  for (const auto& c : table.All()) {
    std::printf("  %s %s\n      %s\n", c.name.c_str(), c.usage.c_str(), c.summary.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  TCommandTable table;
  RegisterStorageCommands(table);
  RegisterTextCommands(table);
  RegisterGraphicsCommands(table);
  RegisterBoardCommands(table);
  RegisterLevelCommands(table);
  RegisterWidgetCommands(table);
  RegisterCheckCommands(table);
  RegisterPlayerCommands(table);

  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp(table);
    return args.empty() ? 1 : 0;
  }
  const TCommand* command = table.Find(args[0]);
  if (!command) {
    std::fprintf(stderr, "quorvanel-data: unknown command '%s' (see --help)\n", args[0].c_str());
    return 1;
  }
  // Authors hear about every data error the command meets.
  qv::TStderrDiagnostics diagnostics;
  qv::SetDiagnosticsSink(&diagnostics);
  try {
    qv::StartupServices(argc > 0 ? argv[0] : "");
    TArgs rest(std::vector<std::string>(args.begin() + 1, args.end()));
    if (rest.Flag("--help")) {
      std::printf("usage: quorvanel-data %s %s\n\n%s\n", command->name.c_str(), command->usage.c_str(),
                  command->summary.c_str());
      if (!command->help.empty()) std::printf("\n%s", command->help.c_str());
      return 0;
    }
    return command->run(rest);
  } catch (const EToolError& e) {
    std::fprintf(stderr, "quorvanel-data %s: %s\n", command->name.c_str(), e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvanel-data %s: %s\n", command->name.c_str(), e.what());
  }
  return 1;
}
