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

#include "app/BoardBot.h"
#include "app/Engine.h"
#include "app/Game.h"
#include "app/InputScript.h"
#include "app/RegisterTypes.h"
#include "app/Startup.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/Parsing.h"
#include "core/StringUtils.h"
#include "core/Trace.h"
#include "graphics/ImageCodec.h"
#include "platform/PlatformWindow.h"
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
    "                        FRAME pad BUTTON | paddown BUTTON | padup BUTTON\n"
    "                        FRAME axis AXIS VALUE (a virtual gamepad: a, b, x, y,\n"
    "                                             start, back, dpup, ...; leftx, lefty)\n"
    "                        FRAME close          (as the window's close button)\n"
    "                        FRAME blur | focus   (the window loses or gains the\n"
    "                                             keyboard focus)\n"
    "                        FRAME screenshot FILE (the picture after that frame)\n"
    "                        when shown NAME, when closed NAME, when traced EVENT\n"
    "                        whenever shown NAME, whenever closed NAME\n"
    "                      (frames count from 1; key names like a, Return,\n"
    "                      Escape, alt+Return; after \"when shown NAME\" the\n"
    "                      script waits until the screen NAME is shown and the\n"
    "                      frames below count from the frame it was shown in;\n"
    "                      the lines below \"whenever shown NAME\" are played\n"
    "                      again each time NAME is shown, beside the rest)\n"
    "  --trace FILE        write what the game does as JSON lines, one per event,\n"
    "                      each with \"frame\" and \"event\": show and close (with\n"
    "                      \"screen\", and \"params\" where given), control (\"screen\",\n"
    "                      \"sender\", \"code\"), option (\"name\", \"value\"), save\n"
    "                      (\"file\", \"bytes\", \"hash\": the new version's size and\n"
    "                      64-bit FNV-1a hash, once it is whole on disk and before\n"
    "                      it replaces the file), profile (\"name\", \"value\"),\n"
    "                      cursor (\"name\"), quit; level_start (level,\n"
    "                      mode, palette, cols, rows, board, counters, moves,\n"
    "                      status), move (swap, productive, waves with chain,\n"
    "                      board, lines, exploded and falls, then board, scores,\n"
    "                      player, stats, counters, moves, status; the fields of\n"
    "                      quorvanel-data play), level_end (level, mode, status,\n"
    "                      complete, scores, counters)\n"
    "  --record FILE       write the input of this run in the --input format,\n"
    "                      with this run's frame numbers and the seed as the\n"
    "                      first comment line; replay it with\n"
    "                      quorvanel --seed N --fixed-step MS --input FILE\n"
    "  --level N           start straight into level N (over the main screen,\n"
    "                      without the splash screens; a player \"Player\" is\n"
    "                      made when there is none)\n"
    "  --mode MODE         the play mode of --level: relax (default), classic,\n"
    "                      duel_computer, duel_player or how_to_play\n"
    "  --bot STRATEGY      whenever the board waits for the first player, play a\n"
    "                      listed move through mouse presses on its two cells:\n"
    "                      best (the strongest), random (any listed move) or\n"
    "                      computer (the duel computer's choice)\n"
    "  --bot-input INPUT   how the bot plays its moves: mouse (default), keyboard\n"
    "                      (the board's cursor keys and Return) or gamepad (a\n"
    "                      virtual gamepad's pad and A button)\n"
    "  --diagnostics       print every data error (missing or bad files,\n"
    "                      resources, types, option values) on standard error,\n"
    "                      one line each: \"data error: WHERE: WHAT\"\n"
    "  --help              show this text\n"
    "\n"
    "Exit status: 0 after a run (or --help); 1 when the arguments are wrong, the\n"
    "content cannot be found or the game cannot start (one line on standard\n"
    "error says why), or a screenshot, the trace or the record cannot be\n"
    "written.\n";

struct TOptions {
  std::string appDir, userData, screenshot, input, trace, record;
  std::optional<uint32_t> seed;
  uint32_t fixedStep = 0;
  int level = 0;
  std::string mode = "relax";
  std::optional<qv::EBotStrategy> bot;
  qv::EBotInput botInput = qv::EBotInput::Mouse;
  int64_t frames = 0;
  bool diagnostics = false;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorvanel: %s\n", message.c_str());
  return 1;
}

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.string();
}

// One line a write, flushed, so a killed run keeps what it wrote.
class TLineFile {
public:
  bool Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
  }
  void Write(const std::string& line) {
    if (!file_) return;
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
  }
  ~TLineFile() {
    if (file_) std::fclose(file_);
  }

private:
  std::FILE* file_ = nullptr;
};

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
        arg == "--seed" || arg == "--fixed-step" || arg == "--frames" || arg == "--trace" ||
        arg == "--record" || arg == "--level" || arg == "--mode" || arg == "--bot" || arg == "--bot-input") {
      v = value();
      if (!v) return Fail("option " + arg + " needs a value") + 1;
    } else {
      return Fail("unknown option '" + arg + "' (see --help)") + 1;
    }
    if (arg == "--screenshot" || arg == "--trace" || arg == "--record") {
      // Made absolute now: start-up makes the application folder current.
      (arg == "--screenshot" ? o.screenshot : arg == "--trace" ? o.trace : o.record) = Absolute(v);
    } else if (arg == "--app-dir")
      o.appDir = v;
    else if (arg == "--user-data")
      o.userData = v;
    else if (arg == "--input")
      o.input = v;
    else if (arg == "--mode") {
      const std::string mode = v;
      if (mode != "relax" && mode != "classic" && mode != "duel_computer" && mode != "duel_player" &&
          mode != "how_to_play")
        return Fail("--mode must be relax, classic, duel_computer, duel_player or how_to_play, not '" + mode +
                    "'") +
               1;
      o.mode = mode;
    } else if (arg == "--bot") {
      o.bot = qv::BotStrategyFromText(v);
      if (!o.bot) return Fail(std::string("--bot must be best, random or computer, not '") + v + "'") + 1;
    } else if (arg == "--bot-input") {
      const std::optional<qv::EBotInput> input = qv::BotInputFromText(v);
      if (!input)
        return Fail(std::string("--bot-input must be mouse, keyboard or gamepad, not '") + v + "'") + 1;
      o.botInput = *input;
    } else if (arg == "--level") {
      if (!ParseCount(v, 1000000, n) || n == 0)
        return Fail(std::string("--level needs a level number above 0, not '") + v + "'") + 1;
      o.level = static_cast<int>(n);
    } else if (!ParseCount(v, arg == "--frames" ? INT64_MAX : UINT32_MAX, n) ||
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
    for (auto& event : script.Events())
      if (event.kind == "screenshot") event.text = Absolute(event.text);
  }
  TLineFile trace, record;
  if (!options.trace.empty() && !trace.Open(options.trace))
    return Fail("cannot write the trace " + options.trace);
  if (!options.record.empty() && !record.Open(options.record))
    return Fail("cannot write the record " + options.record);
  qv::TTrace::THandle traceHandle, scriptHandle;
  if (!options.trace.empty())
    traceHandle = qv::TTrace::Listen([&trace](const qv::TTraceEvent& e) { trace.Write(e.Line()); });
  if (const std::vector<std::string> names = script.Names(); !names.empty())
    scriptHandle = qv::TTrace::Listen([&script, names](const qv::TTraceEvent& e) {
      script.EventTraced(e.event, e.frame);
      const std::string* screen = e.Field("screen");
      if ((e.event != "show" && e.event != "close") || !screen) return;
      // One show (or close) starts one waiting part, however many parts
      // wait for it.
      // Screen names have no blanks; the keys of other waits do.
      const bool closed = e.event == "close";
      const std::string prefix = closed ? qv::TInputScript::ClosedKey("") : "";
      for (const std::string& key : names) {
        if (key.rfind(prefix, 0) != 0) continue;
        const std::string name = key.substr(prefix.size());
        if (name.find(' ') != std::string::npos || qv::TTrace::Text(name) != *screen) continue;
        if (closed)
          script.ScreenClosed(name, e.frame);
        else
          script.ScreenShown(name, e.frame);
        break;
      }
    });
  int screenshotFailures = 0;

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
    if (options.level > 0)
      run.beforeStart = [&options](qv::IGame& game) {
        if (auto* shell = dynamic_cast<qv::TGame*>(&game)) shell->StartWithLevel(options.level, options.mode);
      };
    std::optional<qv::TBoardBot> bot;
    if (options.bot) bot.emplace(*options.bot, options.botInput);
    if (!script.Events().empty() || bot) {
      run.beforeFrame = [&script, &bot, raw](int64_t frame) {
        qv::TPlatformWindow* window = raw->GetWindowHandle();
        script.Deliver(frame, window ? &window->Injected() : nullptr);
        if (bot)
          if (auto* shell = dynamic_cast<qv::TGame*>(raw->GetGame().get()))
            bot->BeforeFrame(*shell, window ? &window->Injected() : nullptr);
      };
      run.afterFrame = [&script, &screenshotFailures, raw](int64_t frame) {
        script.AfterFrame(frame, [&](const std::string& file) {
          if (!qv::SavePng(*raw->BackSurface(), file)) {
            std::fprintf(stderr, "quorvanel: cannot write the screenshot %s\n", file.c_str());
            ++screenshotFailures;
          }
        });
      };
    }
    engine->SetRunOptions(std::move(run));
    if (engine->Init(qv::kGameDescriptionFile)) {
      if (!options.record.empty()) {
        const std::string seed = std::to_string(engine->StartSeed());
        record.Write("# seed " + seed + " (replay: quorvanel --seed " + seed + " --fixed-step " +
                     std::to_string(options.fixedStep ? options.fixedStep : 10) + " --input FILE)");
        if (qv::TPlatformWindow* window = engine->GetWindowHandle())
          window->SetRecorder([&record](const std::string& event) {
            record.Write(std::to_string(qv::TTrace::Frame()) + " " + event);
          });
      }
      engine->Run();
      if (qv::TPlatformWindow* window = engine->GetWindowHandle()) window->SetRecorder(nullptr);
      if (!options.screenshot.empty() && !qv::SavePng(*engine->BackSurface(), options.screenshot))
        exitCode = Fail("cannot write the screenshot " + options.screenshot);
      if (screenshotFailures > 0) exitCode = 1;
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
