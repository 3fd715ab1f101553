// The game executable: start-up, the engine's main routine, and the options
// for players, testers and packagers.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "app/Engine.h"
#include "app/InputScript.h"
#include "app/RegisterTypes.h"
#include "app/Startup.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/Parsing.h"
#include "core/StringUtils.h"
#include "graphics/ImageCodec.h"
#include "storage/ClassRegistry.h"

namespace {

constexpr char kUsage[] =
    "Usage: quorvanel [options]\n"
    "\n"
    "Options:\n"
    "  --app-dir DIR       the folder that stands for the application folder;\n"
    "                      without it the first of these that holds\n"
    "                      data/ini/Zintara.ini: the executable's folder, its\n"
    "                      content/ sub-folder, ../share/quorvanel/ beside it\n"
    "  --user-data DIR     the per-user data folder (options, profiles, records)\n"
    "  --seed N            seed the random generator with N instead of the time\n"
    "  --fixed-step MS     every frame advances exactly MS milliseconds and frames\n"
    "                      run without sleeping (deterministic runs)\n"
    "  --frames N          quit after N frames\n"
    "  --screenshot FILE   write the back surface as PNG when quitting\n"
    "  --input FILE        deliver the input events of FILE, one a line:\n"
    "                        FRAME move X Y\n"
    "                        FRAME down X Y [left|right|middle]\n"
    "                        FRAME up X Y [left|right|middle]\n"
    "                        FRAME key NAME | keydown NAME | keyup NAME\n"
    "                        FRAME text CHARS\n"
    "                      (frames count from 1; key names like a, Return,\n"
    "                      Escape, alt+Return)\n"
    "  --diagnostics       print every data error (missing or bad files,\n"
    "                      resources, types, option values) on standard error,\n"
    "                      one line each: \"data error: WHERE: WHAT\"\n"
    "  --help              show this text\n"
    "\n"
    "Exit status: 0 after a run (or --help); 1 when the arguments are wrong, the\n"
    "content cannot be found or the game cannot start (one line on standard\n"
    "error says why), or a screenshot cannot be written.\n";

struct TOptions {
  std::string appDir, userData, screenshot, input;
  std::optional<uint32_t> seed;
  uint32_t fixedStep = 0;
  int64_t frames = 0;
  bool diagnostics = false;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorvanel: %s\n", message.c_str());
  return 1;
}

bool ParseCount(const char* text, int64_t max, int64_t& out) {
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < 0 || v > max) return false;
  out = v;
  return true;
}

// 0 to go on, else the exit code + 1 (so 1 means exit 0).
int ParseArgs(int argc, char** argv, TOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 1;
    }
    if (arg == "--diagnostics") {
      o.diagnostics = true;
      continue;
    }
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    int64_t n = 0;
    if (arg == "--app-dir" || arg == "--user-data" || arg == "--screenshot" || arg == "--input" ||
        arg == "--seed" || arg == "--fixed-step" || arg == "--frames") {
      v = value();
      if (!v) return Fail("option " + arg + " needs a value") + 1;
    } else {
      return Fail("unknown option '" + arg + "' (see --help)") + 1;
    }
    if (arg == "--screenshot") {
      // Made absolute now: start-up makes the application folder current.
      std::error_code ec;
      const auto absolute = std::filesystem::absolute(v, ec);
      o.screenshot = ec ? std::string(v) : absolute.string();
    } else if (arg == "--app-dir")
      o.appDir = v;
    else if (arg == "--user-data")
      o.userData = v;
    else if (arg == "--input")
      o.input = v;
    else if (!ParseCount(v, arg == "--frames" ? INT64_MAX : UINT32_MAX, n) ||
             (arg == "--fixed-step" && n == 0))
      return Fail("option " + arg + " needs a whole number" + (arg == "--fixed-step" ? " above 0" : "") +
                  ", not '" + v + "'") +
             1;
    else if (arg == "--seed")
      o.seed = static_cast<uint32_t>(n);
    else if (arg == "--fixed-step")
      o.fixedStep = static_cast<uint32_t>(n);
    else
      o.frames = n;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (const int code = ParseArgs(argc, argv, options)) return code - 1;

  qv::TInputScript script;
  if (!options.input.empty()) {
    std::string text;
    if (!qv::ReadFileBytes(options.input, text)) return Fail("cannot read the input script " + options.input);
    std::string error;
    if (!script.Parse(text, error)) return Fail(options.input + ": " + error);
  }

  static qv::TStderrDiagnostics stderrSink;  // outlives everything that reports
  if (options.diagnostics) qv::SetDiagnosticsSink(&stderrSink);

  int exitCode = 0;
  try {
    qv::TStartupOptions startup;
    startup.appDir = options.appDir;
    startup.userDataDir = options.userData;
    startup.enterAppDir = true;
    startup.seedRandom = false;  // the engine's Init seeds it
    if (!qv::StartupServices(argc > 0 ? argv[0] : "", startup)) {
      std::string where;
      for (const std::string& folder :
           qv::ContentFolderCandidates(qv::ReplaceAll(qv::ApplicationPath(), "\\", "/")))
        where += (where.empty() ? "" : ", ") + folder;
      return Fail("cannot find the game's content (data/ini/Zintara.ini) in " + where + "; give --app-dir");
    }
    qv::RegisterGameExecutableTypes();

    auto engine = qv::MakeRef<qv::TEngine>();
    engine->Initialize();
    qv::TEngineRunOptions run;
    run.fixedStepMs = options.fixedStep;
    run.frameLimit = options.frames;
    run.seed = options.seed;
    qv::TEngine* raw = engine.get();
    if (!script.Events().empty())
      run.beforeFrame = [&script, raw](int64_t frame) {
        if (qv::TPlatformWindow* window = raw->GetWindowHandle()) script.Deliver(frame, *window);
      };
    engine->SetRunOptions(std::move(run));
    if (engine->Init(qv::kGameDescriptionFile)) {
      engine->Run();
      if (!options.screenshot.empty() && !qv::SavePng(*engine->BackSurface(), options.screenshot))
        exitCode = Fail("cannot write the screenshot " + options.screenshot);
    } else {
      exitCode = Fail("the game could not be started: " + engine->StartError());
    }
    engine->Done();
  } catch (const std::exception& e) {
    // Not a data error (those are reported and survived below): a fault of
    // the program. One line, and a failed exit.
    exitCode = Fail(std::string("unexpected error: ") + e.what());
  }
  qv::SetDiagnosticsSink(nullptr);
  return exitCode;
}
