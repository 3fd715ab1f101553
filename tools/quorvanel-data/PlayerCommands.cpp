// Player-data commands: the per-user files of a data folder, decoded for a
// bug report.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Commands.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "playerdata/PlayerFile.h"
#include "storage/XMLStorage.h"

namespace qv::tool {

namespace {

struct TPlayerFileKind {
  const char* name;
  const char* key;
  const char* root;
};

const TPlayerFileKind kPlayerFiles[] = {
    {kProfilesFileName, kProfilesKey, "userprofiles"},
    {kRecordsFileName, kRecordsKey, "highscores"},
    {kHighScoresFileName, "", "highscores"},
    {kOptionsFileName, kOptionsKey, "options"},
};

int Players(TArgs& args) {
  const auto only = args.Option("--only");
  const auto rest = args.Positional();
  if (rest.size() != 1) throw EToolError("usage: players [--only FILE] DATADIR");
  const std::filesystem::path folder(rest[0]);
  if (!std::filesystem::is_directory(folder)) throw EToolError("'" + rest[0] + "' is not a folder");
  bool known = !only;
  bool damaged = false;
  std::string out;
  for (const TPlayerFileKind& kind : kPlayerFiles) {
    if (only && *only != kind.name) continue;
    known = true;
    const TPlayerFile file(folder.string(), kind.name, kind.key);
    EPlayerFileState state = EPlayerFileState::kMissing;
    std::string why;
    StorageRef root;
    {
      // The parser's own words belong in the status line.
      TDiagnosticsCollector parser;
      root = file.Inspect(kind.root, state, why);
      if (!parser.Errors().empty()) why += " (" + parser.Errors().front().what + ")";
    }
    if (state == EPlayerFileState::kMissing) {
      out += std::string(kind.name) + ": missing\n";
    } else if (state == EPlayerFileState::kDamaged) {
      damaged = true;
      out += std::string(kind.name) + ": damaged: " + why + "\n";
    } else {
      out += std::string(kind.name) + ": ok\n" + AsRoot(root)->SaveToText() + "\n";
    }
    for (int n = 1;; ++n) {
      const std::filesystem::path kept = folder / (std::string(kind.name) + ".damaged-" + std::to_string(n));
      std::error_code error;
      const auto size = std::filesystem::file_size(kept, error);
      if (error) break;
      out += kept.filename().string() + ": kept damaged copy, " + std::to_string(size) + " bytes\n";
    }
  }
  if (!known)
    throw EToolError("--only takes users.dat, records.dat, highscores.dat or options, not '" + *only + "'");
  WriteOutput("", out);
  return damaged ? 2 : 0;
}

}  // namespace

void RegisterPlayerCommands(TCommandTable& table) {
  table.Add({"players", "[--only FILE] DATADIR",
             "decodes the per-user files of a data folder (profiles, records, high scores, options)", Players,
             "Reads the player's files of DATADIR as the game reads them, deciphered with\n"
             "the game's keys, and prints each one's state and document, for a bug report.\n"
             "It changes nothing: unlike the game, it never sets a damaged file aside.\n\n"
             "options:\n"
             "  --only FILE  one file only: users.dat, records.dat, highscores.dat or options\n"
             "  DATADIR      the data folder (the game's per-user folder, or --user-data)\n\n"
             "output, per file in that order:\n"
             "  FILE: ok                the next line is its document, one line of markup\n"
             "  FILE: missing           the folder has no such file\n"
             "  FILE: damaged: WHY      it does not decipher or parse, or its root is not the\n"
             "                          file's (the game would set it aside and start anew)\n"
             "  FILE.damaged-N: kept damaged copy, BYTES bytes\n"
             "                          a copy the game set aside earlier\n\n"
             "exit codes: 0 printed, nothing damaged; 2 printed, some file damaged; 1 a usage\n"
             "error, DATADIR is no folder, or --only names no player file.\n"});
}

}  // namespace qv::tool
