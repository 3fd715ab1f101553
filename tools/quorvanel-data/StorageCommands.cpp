// Storage commands: enciphering, packages, data paths, parameter strings.
#include <sys/stat.h>

#include <minizip/zip.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "Commands.h"
#include "core/Constants.h"
#include "core/StringUtils.h"
#include "storage/Cipher.h"
#include "storage/DataPaths.h"
#include "storage/Params.h"

namespace qv::tool {

namespace {

std::string KeyFrom(TArgs& args) {
  const auto key = args.Option("--key");
  const auto role = args.Option("--key-role");
  if (key && role) throw EToolError("give either --key or --key-role, not both");
  if (key) return *key;
  if (!role) throw EToolError("missing --key KEY or --key-role game|options|records|profiles");
  if (*role == "game") return kGameKey;
  if (*role == "options") return kOptionsKey;
  if (*role == "records") return kRecordsKey;
  if (*role == "profiles") return kProfilesKey;
  throw EToolError("unknown key role '" + *role + "' (game, options, records or profiles)");
}

std::pair<std::string, std::string> InOut(const TArgs& args) {
  const auto rest = args.Positional();
  if (rest.size() > 2) throw EToolError("too many arguments");
  return {rest.size() > 0 ? rest[0] : "", rest.size() > 1 ? rest[1] : ""};
}

int Encipher(TArgs& args) {
  const std::string key = KeyFrom(args);
  const auto [in, out] = InOut(args);
  WriteOutput(out, EncipherToHex(ReadInput(in), key));
  return 0;
}

// The tool is strict where the game is lenient: enciphered text is pairs of
// hexadecimal digits (either case), with blanks and line breaks allowed
// between them; anything else is a mistake of the author.
void CheckHexText(const std::string& text) {
  size_t digits = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isxdigit(c))
      ++digits;
    else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      char shown[16];
      std::snprintf(shown, sizeof shown, c >= 32 && c < 127 ? "'%c'" : "byte 0x%02X", c);
      throw EToolError("not hexadecimal text: " + std::string(shown) + " at offset " + std::to_string(i));
    }
  }
  if (digits % 2 != 0)
    throw EToolError("not hexadecimal text: an odd number of digits (" + std::to_string(digits) + ")");
}

int Decipher(TArgs& args) {
  const std::string key = KeyFrom(args);
  const auto [in, out] = InOut(args);
  const std::string text = ReadInput(in);
  CheckHexText(text);
  WriteOutput(out, DecipherFromHex(text, key));
  return 0;
}

// The file's modification time in local time, as ZIP entries record it
// (1980 to 2107; earlier times are 1980-01-01 00:00:00).
zip_fileinfo EntryTime(const std::filesystem::path& file) {
  zip_fileinfo info{};
  struct stat st {};
  std::tm tm{};
  const time_t t = ::stat(file.c_str(), &st) == 0 ? st.st_mtime : std::time(nullptr);
  if (!::localtime_r(&t, &tm) || tm.tm_year < 80) {
    tm = std::tm{};
    tm.tm_year = 80;
    tm.tm_mday = 1;
  }
  if (tm.tm_year > 207) {
    tm.tm_year = 207;
    tm.tm_mon = 11;
    tm.tm_mday = 31;
    tm.tm_hour = 23;
    tm.tm_min = 59;
    tm.tm_sec = 58;
  }
  info.tmz_date.tm_sec = static_cast<uInt>(tm.tm_sec > 59 ? 59 : tm.tm_sec);
  info.tmz_date.tm_min = static_cast<uInt>(tm.tm_min);
  info.tmz_date.tm_hour = static_cast<uInt>(tm.tm_hour);
  info.tmz_date.tm_mday = static_cast<uInt>(tm.tm_mday);
  info.tmz_date.tm_mon = static_cast<uInt>(tm.tm_mon);
  info.tmz_date.tm_year = static_cast<uInt>(tm.tm_year + 1900);
  return info;
}

int Pack(TArgs& args) {
  namespace fs = std::filesystem;
  const auto rest = args.Positional();
  if (rest.size() != 2) throw EToolError("usage: pack DIR OUT.tgd");
  const fs::path dir = rest[0];
  if (!fs::is_directory(dir)) throw EToolError("not a folder: " + rest[0]);
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());

  const std::string tmp = rest[1] + ".partial";
  zipFile zip = zipOpen64(tmp.c_str(), APPEND_STATUS_CREATE);
  if (!zip) throw EToolError("cannot create " + rest[1]);
  bool ok = true;
  for (const auto& file : files) {
    const std::string name = fs::relative(file, dir).generic_string();
    const std::string bytes = ReadInput(file.string());
    zip_fileinfo info = EntryTime(file);
    if (zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, bytes.size() >= 0xFFFFFFFFu) != ZIP_OK ||
        zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) != ZIP_OK ||
        zipCloseFileInZip(zip) != ZIP_OK) {
      ok = false;
      break;
    }
  }
  if (zipClose(zip, nullptr) != ZIP_OK) ok = false;
  std::error_code ec;
  if (ok) fs::rename(tmp, rest[1], ec);
  if (!ok || ec) {
    fs::remove(tmp, ec);
    throw EToolError("cannot write " + rest[1]);
  }
  return 0;
}

int Cat(TArgs& args) {
  const auto rest = args.Positional();
  if (rest.size() != 1) throw EToolError("usage: cat PATH");
  auto stream = OpenDataStream(rest[0], true);
  if (!stream) throw EToolError("nothing found at " + rest[0]);
  const std::string bytes = stream->ReadAll();
  if (stream->Failed()) throw EToolError("cannot read " + rest[0]);
  WriteOutput("", bytes);
  return 0;
}

int Params(TArgs& args) {
  const auto rest = args.Positional();
  if (rest.size() != 1) throw EToolError("usage: params TEXT");
  std::string out;
  for (const auto& pair : ParseParams(rest[0])) out += pair.name + "\t" + pair.value + "\n";
  WriteOutput("", out);
  return 0;
}

}  // namespace

void RegisterStorageCommands(TCommandTable& table) {
  const std::string keys =
      "  --key KEY         the key text (its first 16 bytes count; shorter keys are\n"
      "                    padded with zero bytes)\n"
      "  --key-role ROLE   the game's own key for a file kind: game (game description\n"
      "                    and resource lists), options, records or profiles\n"
      "                    (users.dat). Give exactly one of --key and --key-role.\n"
      "  IN                the input file; standard input when missing or \"-\"\n"
      "  OUT               the output file; standard output when missing or \"-\"\n";
  table.Add({"encipher", "(--key KEY | --key-role ROLE) [IN [OUT]]",
             "enciphers bytes (a file or standard input) into hexadecimal text", Encipher,
             "Enciphers the bytes of IN with the storage cipher and writes them as\n"
             "upper-case hexadecimal text: two digits per byte, no line breaks, no header.\n"
             "This is the form of the game description, resource lists, options, records\n"
             "and profiles.\n\n"
             "options:\n" +
                 keys +
                 "\nexit codes: 0 written; 1 a usage error, a bad key role, IN unreadable or a\n"
                 "folder, OUT not writable.\n"});
  table.Add({"decipher", "(--key KEY | --key-role ROLE) [IN [OUT]]",
             "deciphers hexadecimal text back into bytes", Decipher,
             "Reads hexadecimal text (as encipher writes it) and writes the deciphered\n"
             "bytes. Digits may be upper or lower case; blanks and line breaks between\n"
             "them are allowed. Any other character, or an odd number of digits, is an\n"
             "error (the game itself skips such characters). A wrong key is not detected:\n"
             "it gives other bytes.\n\n"
             "options:\n" +
                 keys +
                 "\nexit codes: 0 written; 1 the text is not hexadecimal (the message names\n"
                 "the character and its offset, or the odd digit count), a usage error, IN\n"
                 "unreadable or a folder, OUT not writable.\n"});
  table.Add({"pack", "DIR OUT.tgd", "packs a folder into a deflated ZIP package", Pack,
             "Packs every regular file below DIR (recursively, in name order) into a ZIP\n"
             "package of deflated entries named by their path below DIR with \"/\"\n"
             "separators. Each entry carries its file's modification time (local time;\n"
             "before 1980 it is recorded as 1980-01-01). The package is written to\n"
             "OUT.tgd.partial and renamed over OUT.tgd when complete, so a failed run\n"
             "leaves an existing package as it was.\n\n"
             "arguments:\n"
             "  DIR      the folder to pack\n"
             "  OUT.tgd  the package to write (any name; the game looks for <folder>.tgd)\n\n"
             "exit codes: 0 written; 1 DIR is no folder, a file cannot be read, or the\n"
             "package cannot be written.\n"});
  table.Add({"cat", "PATH", "resolves a data path as the game does and writes its bytes", Cat,
             "Opens PATH as the game opens data files and writes its bytes to standard\n"
             "output: \"\\\" or \"/\" separate folders, \"%apppath%\" is the tool's folder,\n"
             "names match without regard to case, and the deepest folder, file,\n"
             "<folder>.tgd package or \"res:\" block holding the file serves it. Data errors\n"
             "met on the way (a damaged package, an unreadable entry) are printed as\n"
             "\"data error: WHERE: WHAT\" lines on standard error.\n\n"
             "arguments:\n"
             "  PATH  the data path, relative to the current folder unless absolute\n\n"
             "exit codes: 0 written; 1 nothing found at PATH (or it cannot be read).\n"});
  table.Add({"params", "TEXT", "prints each pair of a parameter string as name<TAB>value", Params,
             "Splits TEXT as the game splits parameter strings (items separated by \"\\\",\n"
             "braces group nested text, one outer pair of braces around a value is\n"
             "removed) and prints one line per name=value pair: the name, a tab, the\n"
             "value. Items without \"=\" print nothing.\n\n"
             "arguments:\n"
             "  TEXT  the parameter string, e.g. 'a={x\\y}\\b=2'\n\n"
             "exit codes: 0 printed; 1 a usage error.\n"});
}

}  // namespace qv::tool
