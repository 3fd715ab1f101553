// Storage commands: enciphering, packages, data paths, parameter strings.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <minizip/zip.h>

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

int Decipher(TArgs& args) {
  const std::string key = KeyFrom(args);
  const auto [in, out] = InOut(args);
  WriteOutput(out, DecipherFromHex(ReadInput(in), key));
  return 0;
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
    zip_fileinfo info{};
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
  WriteOutput("", stream->ReadAll());
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
  table.Add({"encipher", "(--key KEY | --key-role ROLE) [IN [OUT]]",
             "enciphers bytes (a file or standard input) into hexadecimal text", Encipher, ""});
  table.Add({"decipher", "(--key KEY | --key-role ROLE) [IN [OUT]]",
             "deciphers hexadecimal text back into bytes", Decipher, ""});
  table.Add({"pack", "DIR OUT.tgd", "packs a folder into a deflated ZIP package", Pack, ""});
  table.Add({"cat", "PATH", "resolves a data path as the game does and writes its bytes", Cat, ""});
  table.Add({"params", "TEXT", "prints each pair of a parameter string as name<TAB>value", Params, ""});
}

}  // namespace qv::tool
