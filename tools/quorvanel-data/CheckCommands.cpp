// The content authors' lint: "check APPDIR" reads an application folder the
// way the game does and prints one line per problem.
//
// Every data error the loading code reports goes into a collecting sink and
// becomes a problem line of the file being read, so whatever the game would
// report, check reports; the checks of its own (registered types, resource
// content, glyph rectangles, text keys, characters the fonts lack) add what
// the game leaves silent. Each further kind of file (screens, levels) is one
// more step in RunCheck.
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Commands.h"
#include "app/IGame.h"
#include "app/RegisterTypes.h"
#include "audio/EngineAudio.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/StringUtils.h"
#include "localisation/MultiLanguages.h"
#include "resources/FontResource.h"
#include "resources/GroupResource.h"
#include "resources/ImageResource.h"
#include "resources/MusicResource.h"
#include "resources/ResourceCollection.h"
#include "resources/ResourceFile.h"
#include "resources/SoundResource.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv::tool {

namespace {

namespace fs = std::filesystem;

// The variables the game sets at run time; texts may name them although the
// language file does not define them. The main screen sets "username" and
// the "pattern_" values of each mode's progress.
const char* const kRunTimeVariables[] = {
    "player_name", "level_number", "cell_count",    "artifact_count", "winner_name",       "profile_name",
    "combo_count", "username",     "pattern_level", "pattern_score",  "pattern_difficulty"};

// Resource lists found by their place, besides those the game description names.
const char* const kListFolders[] = {"data/res", "data/fonts"};
// The per-language files: each one's strings replace the default's.
const char kLanguagesFolder[] = "Languages";

// A language file's string entries in order: name and raw text (nameless
// ones skipped, as the game skips them).
using TEntries = std::vector<std::pair<std::string, std::string>>;
TEntries ReadEntries(const StorageRef& root) {
  TEntries out;
  StorageRef entries = root;
  if (root->GetChildCount("strings") > 0) entries = root->GetChild("strings", 0);
  for (int i = 0; i < entries->GetChildCount("string"); ++i) {
    const StorageRef entry = entries->GetChild("string", i);
    const std::string name = ReadString(entry, "name");
    if (!name.empty()) out.emplace_back(name, entry->GetText());
  }
  return out;
}

// A file's path as the game writes it ("\" between folders) and as the
// author sees it ("/").
std::string Shown(const std::string& gamePath) {
  return ReplaceAll(gamePath, "\\", "/");
}
std::string GamePath(const std::string& shown) {
  return ReplaceAll(shown, "/", "\\");
}

// UTF-8 to code points; a malformed sequence gives -1 for its first byte.
std::vector<int> CodePoints(const std::string& s) {
  std::vector<int> out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80             ? 0
                      : (b & 0xE0) == 0xC0 ? 1
                      : (b & 0xF0) == 0xE0 ? 2
                      : (b & 0xF8) == 0xF0 ? 3
                                           : -1;
    int code = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = extra >= 0 && i + static_cast<size_t>(extra) < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
      if ((c & 0xC0) != 0x80) ok = false;
      code = (code << 6) | (c & 0x3F);
    }
    out.push_back(ok ? code : -1);
    i += ok ? static_cast<size_t>(extra) + 1 : 1;
  }
  return out;
}

std::string CharName(int code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
  std::string shown;
  if (code >= 32 && code != 127) {
    // The character itself, encoded back for the line.
    if (code < 0x80) {
      shown = std::string(1, static_cast<char>(code));
    } else if (code < 0x800) {
      shown = {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
    } else if (code < 0x10000) {
      shown = {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
               static_cast<char>(0x80 | (code & 0x3F))};
    } else {
      shown = {static_cast<char>(0xF0 | (code >> 18)), static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
               static_cast<char>(0x80 | ((code >> 6) & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
    }
    return "'" + shown + "' (" + hex + ")";
  }
  return hex;
}

// The macro names of a text ("%%" is a percent sign, a "%" without a partner
// stays literal), and its literal characters.
struct TMacroText {
  std::vector<std::string> names;
  std::string literal;
};

TMacroText SplitMacros(const std::string& text) {
  TMacroText out;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t open = text.find('%', pos);
    if (open == std::string::npos) break;
    out.literal += text.substr(pos, open - pos);
    const size_t close = text.find('%', open + 1);
    if (close == std::string::npos) {
      pos = open;
      break;
    }
    if (close == open + 1)
      out.literal += '%';
    else
      out.names.push_back(text.substr(open + 1, close - open - 1));
    pos = close + 1;
  }
  if (pos < text.size()) out.literal += text.substr(pos);
  return out;
}

// The owner of the checked resources: data streams from the data path
// resolver, audio decoded by the audio library without an output device,
// other resources found in the checked collection.
class TCheckOwner : public IResourceOwner, private IAudioResources {
protected:
  ~TCheckOwner() override = default;

public:
  TCheckOwner() : audio_(*this) {
    resources_ = MakeRef<TResourceCollection>();
    resources_->Initialize();
    audio_.Init(0);
  }
  TResourceCollection& Resources() { return *resources_; }
  bool AudioAvailable() const { return audio_.Available(); }
  void Done() {
    resources_->RemoveGroup("");
    audio_.Done();
  }

  std::unique_ptr<TStream> OpenResourceStream(const std::string& path) override {
    try {
      return OpenDataStream(path, true);
    } catch (const std::runtime_error& e) {
      ReportDataError(path, std::string("cannot be read: ") + e.what());
      return nullptr;
    }
  }
  uint32_t LoadMusicModule(const std::string& file) override { return audio_.LoadMusicModule(file); }
  void FreeMusicModule(uint32_t handle) override { audio_.FreeMusicModule(handle); }
  uint32_t LoadSample(const std::string& file, int maxPlaybacks) override {
    return audio_.LoadSample(file, maxPlaybacks, false);
  }
  uint32_t LoadStream(const std::string& file, std::string& memory) override {
    return audio_.LoadStream(file, memory);
  }
  void FreeSampleOrStream(uint32_t handle) override { audio_.FreeSampleOrStream(handle); }
  Ref<IResource> FindResource(const std::string& name) override { return resources_->FindResource(name); }

private:
  // Nothing is played here.
  bool FindMusic(const std::string&, bool, uint32_t&, int&) override { return false; }
  bool FindSound(const std::string&, bool, uint32_t&, int&) override { return false; }
  std::vector<uint32_t> SoundSamples() override { return {}; }

  Ref<TResourceCollection> resources_;
  TEngineAudio audio_;
};

class TChecker {
public:
  explicit TChecker(std::vector<std::string> variables) : variables_(std::move(variables)) {}

  int Run(const std::string& appDir);

private:
  void Problem(const std::string& file, const std::string& what) {
    const std::string line = file + ": " + what;
    if (seen_.insert(line).second) problems_.push_back(line);
  }
  // Every data error reported since the last call becomes a problem of `file`.
  void TakeReports(const std::string& file);
  // The storage text of a file: deciphered with the game key, or as it is
  // when `plainToo` and it is plain markup. Empty when missing.
  std::string ReadStorageText(const std::string& gamePath, bool plainToo, bool& plain);
  void CheckTypes(const std::string& file, const StorageRef& root);
  void CheckGameDescription();
  void CheckResourceList(const std::string& gamePath, bool named);
  void CheckResourceContent(const std::string& file, IResource& resource);
  void CheckLanguage();
  // Every file of "Languages" against the default language.
  void CheckLanguageFiles();
  void CheckLanguageFile(const std::string& gamePath);
  void CheckKeys(const std::string& file, const std::string& where, const std::string& text);
  void CheckGlyphs();
  bool Defined(const std::string& name) const;

  std::vector<std::string> variables_;
  TDiagnosticsCollector collector_;
  std::vector<std::string> problems_;
  std::set<std::string> seen_;
  Ref<TCheckOwner> owner_;
  TMultiLanguages languages_;
  // Resource lists read, by their shown path; the fonts each one brought.
  std::set<std::string> listsRead_;
  std::vector<std::pair<std::string, Ref<TFontResource>>> fonts_;
  // Texts read by the game as texts while loading, with the file they came from.
  std::vector<std::pair<std::string, std::string>> readTexts_;
  std::string currentFile_;
  // Every place a data error named (shown form, lower case).
  std::set<std::string> reportedAt_;
  // Strings of the default language file in order: name and raw text.
  TEntries strings_;
  // The same of each file of "Languages", by its shown path.
  std::vector<std::pair<std::string, TEntries>> translations_;
  int filesRead_ = 0;
  int resourceCount_ = 0;
  size_t fontCount_ = 0;
};

void TChecker::TakeReports(const std::string& file) {
  for (const TDataError& e : collector_.Errors()) {
    reportedAt_.insert(LowerCase(Shown(e.where)));
    const bool same = Shown(e.where) == file || e.where.empty();
    Problem(file, same ? e.what : e.where + ": " + e.what);
  }
  collector_.Clear();
}

std::string TChecker::ReadStorageText(const std::string& gamePath, bool plainToo, bool& plain) {
  const std::string bytes = ReadDataFile(gamePath);
  const size_t first = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  plain = first != std::string::npos && bytes[first] == '<';
  if (bytes.empty() || (plain && plainToo)) return bytes;
  return DecipherFromHex(bytes, kGameKey);
}

void TChecker::CheckTypes(const std::string& file, const StorageRef& root) {
  auto* bound = QueryPtr<IXMLStorageSlave>(root.get());
  if (!bound) return;
  std::vector<pugi::xml_node> stack{bound->GetElement()};
  while (!stack.empty()) {
    const pugi::xml_node node = stack.back();
    stack.pop_back();
    if (const pugi::xml_attribute type = node.attribute("type")) {
      // A creation string names its type before the parameters.
      std::string text = type.value();
      text = Trim(text.substr(0, text.find('{')));
      if (!TClassRegistry::Instance().Find(text)) {
        const std::string name = node.attribute("name").value();
        // The wording of the loaders, so one fault gives one line.
        Problem(file, "<" + std::string(node.name()) + (name.empty() ? "" : " name=\"" + name + "\"") +
                          ">: unknown type \"" + text + "\"; nothing is created");
      }
    }
    for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling())
      if (child.type() == pugi::node_element) stack.push_back(child);
  }
}

void TChecker::CheckGameDescription() {
  const std::string file = Shown(kGameDescriptionFile);
  currentFile_ = file;
  bool plain = false;
  const std::string text = ReadStorageText(kGameDescriptionFile, false, plain);
  if (text.empty()) {
    Problem(file, "the game description is missing or empty");
    return;
  }
  ++filesRead_;
  if (plain) {
    Problem(file, "the game description is plain markup; the game reads it enciphered with the game key");
    return;
  }
  const StorageRef root = LoadStorageText(text);
  TakeReports(file);
  if (!root) {
    Problem(file, "the game description does not parse (not enciphered with the game key, or no XML)");
    return;
  }
  CheckTypes(file, root);
  const std::string type = ReadString(root, "type", "");
  if (type.empty()) Problem(file, "the game description names no \"type\"");
  // The game object loads itself as in the game (it is not started).
  if (Ref<TAbstractObject> game = CreateFromType(type, ReadString(root, "name", ""))) {
    if (!Query<IGame>(game)) Problem(file, "the type \"" + type + "\" is not a game");
    try {
      if (Ref<IPersistent> persistent = Query<IPersistent>(game)) persistent->Load(root);
    } catch (const std::runtime_error& e) {
      Problem(file, std::string("the game did not load: ") + e.what());
    }
  }
  TakeReports(file);
  // The resource lists it names, read as the engine reads them.
  const Ref<TResourceFileCollection> lists = MakeRef<TResourceFileCollection>();
  lists->Initialize();
  if (const StorageRef node = root->GetChild("resourcefiles", 0)) lists->Load(node);
  TakeReports(file);
  for (int i = 0; i < lists->Count(); ++i)
    if (Ref<TResourceFile> list = lists->ItemAs<TResourceFile>(i))
      CheckResourceList(list->GetFileName(), true);
}

void TChecker::CheckResourceList(const std::string& gamePath, bool named) {
  const std::string file = Shown(gamePath);
  if (!listsRead_.insert(LowerCase(file)).second) return;
  currentFile_ = file;
  bool plain = false;
  const std::string text = ReadStorageText(gamePath, !named, plain);
  if (text.empty()) {
    Problem(file, "the resource list is missing or empty");
    return;
  }
  ++filesRead_;
  if (named && plain) {
    Problem(file, "the resource list is plain markup; the engine reads it enciphered with the game key");
    return;
  }
  const StorageRef root = LoadStorageText(text);
  TakeReports(file);
  if (!root) {
    Problem(file, "the resource list does not parse");
    return;
  }
  CheckTypes(file, root);
  const StorageRef content = root->GetChild("content", 0);
  if (!content) {
    Problem(file, "the resource list has no \"content\"; nothing is loaded");
    return;
  }
  // Element by element as the engine loads a list: exact names already
  // loaded are skipped, a data error while one loads drops that one only.
  TResourceCollection& registry = owner_->Resources();
  const int count = content->GetChildCount("resource");
  for (int i = 0; i < count; ++i) {
    const StorageRef element = content->GetChild("resource", i);
    if (!element) continue;
    const std::string name = ReadString(element, "name", "");
    if (Ref<IResource> loaded = registry.FindResource(name); loaded && loaded->GetName() == name) continue;
    const std::string where = "resource " + name;
    try {
      Ref<IResource> resource = Query<IResource>(CreateFromNode(element));
      if (!resource) {
        TakeReports(file);
        // An unknown type was said by the type walk and the loader.
        if (TClassRegistry::Instance().Find(ReadString(element, "type", "")))
          Problem(file, where + ": the type \"" + ReadString(element, "type", "") +
                            "\" is not a resource; skipped");
        continue;
      }
      resource->SetGroupName(gamePath);
      resource->SetOwner(owner_.get());
      if (registry.AddNamed(resource) < 0) {
        resource->ReleaseResource();
        Problem(file, where + ": another resource has this name in another case; this one is dropped");
        continue;
      }
      ++resourceCount_;
      CheckResourceContent(file, *resource);
    } catch (const std::runtime_error& e) {
      Problem(file, where + ": cannot be loaded: " + e.what());
    }
    TakeReports(file);
  }
}

void TChecker::CheckResourceContent(const std::string& file, IResource& resource) {
  const std::string where = "resource " + resource.GetName();
  auto* res = QueryPtr<TResource>(&resource);
  if (!res) return;
  if (auto* group = QueryPtr<TGroupResource>(res)) {
    group->Load();
    for (int i = 0; i < group->Members().Count(); ++i)
      if (Ref<IResource> member = group->Members().ResourceAt(i)) CheckResourceContent(file, *member);
    return;
  }
  // Resources loaded by demand load here, as at their first use.
  res->Load();
  TakeReports(file);
  // Whatever the loading code said about the resource or its files stands
  // for the resource's own line.
  const auto said = [this](const std::string& where) {
    return reportedAt_.count(LowerCase(Shown(where))) > 0;
  };
  const bool reported = said(where) || said(res->GetFile()) || said(JpngColourPath(res->GetFile()));
  const std::string source = "\"" + res->GetFile() + "\"";
  if (auto* image = QueryPtr<TImageResource>(res)) {
    const Ref<ISurface> surface = image->GetSurface();
    if (!surface) {
      if (!reported)
        Problem(file, where + ": no picture can be loaded from " + source +
                          (image->GetFormat() == TImageResource::kUnknown ? " (no \"format\" given)" : ""));
      return;
    }
    if (auto* font = QueryPtr<TFontResource>(res)) {
      const int w = surface->GetWidth(), h = surface->GetHeight();
      fonts_.emplace_back(file, Ref<TFontResource>(font));
      if (font->Symbols().Count() == 0) Problem(file, where + ": the font has no symbols");
      for (int i = 0; i < font->Symbols().Count(); ++i) {
        const Ref<ISymbol> s = font->Symbols().ItemAs<ISymbol>(i);
        if (!s) continue;
        const TRect r = s->GetRect();
        if (r.left < 0 || r.top < 0 || r.right > w || r.bottom > h || r.right < r.left || r.bottom < r.top)
          Problem(file, where + ": the glyph of " + CharName(s->GetCode()) + " (" + std::to_string(r.left) +
                            ", " + std::to_string(r.top) + ", " + std::to_string(r.Width()) + " x " +
                            std::to_string(r.Height()) + ") lies outside its atlas of " + std::to_string(w) +
                            " x " + std::to_string(h));
      }
    }
  } else if (auto* sound = QueryPtr<TSoundResource>(res)) {
    if (owner_->AudioAvailable() && sound->GetSample() == 0 && !reported)
      Problem(file, where + ": no sound can be loaded from " + source);
  } else if (auto* music = QueryPtr<TMusicResource>(res)) {
    if (owner_->AudioAvailable() && music->GetMusicHandle() == 0 && !reported)
      Problem(file, where + ": no music can be loaded from " + source);
  }
  // Decoded content is not kept: the next resource may be large too.
  res->Unload();
}

bool TChecker::Defined(const std::string& name) const {
  if (languages_.FindString(name)) return true;
  for (const char* v : kRunTimeVariables)
    if (name == v) return true;
  return std::find(variables_.begin(), variables_.end(), name) != variables_.end();
}

void TChecker::CheckKeys(const std::string& file, const std::string& where, const std::string& text) {
  for (const std::string& name : SplitMacros(text).names)
    if (!Defined(name)) Problem(file, where + ": %" + name + "% is not defined in the default language");
}

void TChecker::CheckLanguage() {
  const std::string file = Shown(kDefaultLanguageFile);
  currentFile_ = file;
  const bool loaded = languages_.LoadFile(kDefaultLanguageFile);
  TakeReports(file);
  if (!loaded) return;
  ++filesRead_;
  const StorageRef root = LoadStorageText(ReadDataFile(kDefaultLanguageFile));
  collector_.Clear();  // said already
  if (!root) return;
  CheckTypes(file, root);
  strings_ = ReadEntries(root);
}

void TChecker::CheckLanguageFiles() {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(kLanguagesFolder, ec))
    if (e.is_regular_file() && LowerCase(e.path().extension().string()) == ".lng")
      found.push_back(e.path().generic_string());
  std::sort(found.begin(), found.end());
  for (const std::string& f : found) CheckLanguageFile(GamePath(f));
}

void TChecker::CheckLanguageFile(const std::string& gamePath) {
  const std::string file = Shown(gamePath);
  const std::string langFile = Shown(kDefaultLanguageFile);
  currentFile_ = file;
  // Loaded as the game loads it on top of the default: its own errors first.
  TMultiLanguages language;
  const bool loaded = language.LoadFile(gamePath);
  TakeReports(file);
  if (!loaded) return;
  ++filesRead_;
  const StorageRef root = LoadStorageText(ReadDataFile(gamePath));
  collector_.Clear();  // said already
  if (!root) return;
  CheckTypes(file, root);
  if (language.GetLanguageName().empty())
    Problem(file, "the language has no \"name\"; the options show it without one");
  TEntries entries = ReadEntries(root);
  // Each default string the language lacks shows in English; each string
  // the default lacks is asked for by nothing.
  for (const auto& [name, text] : strings_) {
    const std::string* translated = language.FindString(name);
    if (!translated) {
      Problem(file, "string \"" + name + "\" of " + langFile + " is missing; the default text shows");
      continue;
    }
    const std::vector<std::string> ours = SplitMacros(*translated).names;
    for (const std::string& macro : SplitMacros(text).names)
      if (std::none_of(ours.begin(), ours.end(), [&](const std::string& m) { return SameText(m, macro); }))
        Problem(file, "string \"" + name + "\": %" + macro + "% of the default text is missing");
  }
  for (const auto& [name, text] : entries) {
    if (!languages_.FindString(name))
      Problem(file, "string \"" + name + "\" is not in " + langFile + "; nothing asks for it");
    CheckKeys(file, "string \"" + name + "\"", text);
  }
  translations_.emplace_back(file, std::move(entries));
}

void TChecker::CheckGlyphs() {
  // The first string that uses each character, in file order: the default
  // language, then each file of "Languages".
  std::map<int, std::string> used;
  const auto collect = [&](const std::string& langFile, const TEntries& entries) {
    for (const auto& [name, text] : entries) {
      for (const int code : CodePoints(SplitMacros(text).literal)) {
        if (code < 0) {
          Problem(langFile, "string \"" + name + "\": the text is not valid UTF-8");
          break;
        }
        if (code >= 32 && !used.count(code)) used.emplace(code, "string \"" + name + "\" of " + langFile);
      }
    }
  };
  collect(Shown(kDefaultLanguageFile), strings_);
  for (const auto& [file, entries] : translations_) collect(file, entries);
  fontCount_ = fonts_.size();
  for (const auto& [file, font] : fonts_)
    for (const auto& [code, first] : used)
      if (!font->GetSymbol(code))
        Problem(file, "resource " + font->GetName() + ": no glyph for " + CharName(code) +
                          " (first used by " + first + ")");
}

int TChecker::Run(const std::string& appDir) {
  std::error_code ec;
  if (!fs::is_directory(appDir, ec)) throw EToolError("not a folder: " + appDir);
  fs::current_path(appDir, ec);
  if (ec) throw EToolError("cannot enter " + appDir);
  SetApplicationPath(fs::current_path(ec).string());

  owner_ = MakeRef<TCheckOwner>();
  collector_.Clear();
  if (!owner_->AudioAvailable())
    Problem(appDir, "the audio library cannot start; sounds and music are not checked");

  // The language first: resources and texts read through it as in the game.
  CheckLanguage();
  CheckLanguageFiles();
  // Texts the game reads while loading are collected (and expanded as in
  // the game) until the lists are read, also when an error ends the run.
  struct THookScope {
    ~THookScope() { SetReadTextHook(nullptr); }
  } hookScope;
  SetReadTextHook([this](const std::string& text) {
    readTexts_.emplace_back(currentFile_, text);
    return languages_.ExpandText(text, true);
  });
  CheckGameDescription();
  for (const char* folder : kListFolders) {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(folder, ec))
      if (e.is_regular_file() && LowerCase(e.path().extension().string()) == ".xml")
        found.push_back(e.path().generic_string());
    std::sort(found.begin(), found.end());
    for (const std::string& f : found) CheckResourceList(GamePath(f), false);
  }

  const std::string langFile = Shown(kDefaultLanguageFile);
  for (const auto& [name, text] : strings_) CheckKeys(langFile, "string \"" + name + "\"", text);
  for (const auto& [file, text] : readTexts_) CheckKeys(file, "text \"" + text + "\"", text);
  CheckGlyphs();
  TakeReports(appDir);
  fonts_.clear();
  owner_->Done();
  owner_ = nullptr;
  TakeReports(appDir);

  for (const std::string& line : problems_) std::printf("%s\n", line.c_str());
  if (!problems_.empty()) {
    std::fflush(stdout);
    std::fprintf(stderr, "%zu problem%s\n", problems_.size(), problems_.size() == 1 ? "" : "s");
    return 1;
  }
  std::printf("no problems: %d files, %d resources, %zu strings, %zu fonts\n", filesRead_, resourceCount_,
              strings_.size(), fontCount_);
  return 0;
}

int RunCheck(TArgs& args) {
  const auto variables = args.Options("--variable");
  const auto rest = args.Positional();
  if (rest.size() != 1) throw EToolError("usage: check [--variable NAME]... APPDIR");
  // The game's registrations, the stand-in game included.
  RegisterGameExecutableTypes();
  // The data tool prints reports as they come; here they become problem lines.
  TChecker checker(variables);
  return checker.Run(rest[0]);
}

const char kCheckHelp[] =
    "Reads the application folder APPDIR the way the game reads it and prints one\n"
    "line per problem, \"PATH: problem\" (PATH relative to APPDIR with \"/\"). What\n"
    "it reads, in order:\n"
    "  lang/default.lng      the default language (it must load)\n"
    "  Languages/*.lng       each further language, loaded over the default\n"
    "  data/ini/Zintara.ini  the game description, deciphered with the game key: it\n"
    "                        must parse, its root \"type\" must be registered, and\n"
    "                        the game object loads from it (it is not started)\n"
    "  resource lists        each \"resourcefile\" of the description's\n"
    "                        \"resourcefiles\" (enciphered with the game key, as the\n"
    "                        engine reads them), then every *.xml in data/res/ and\n"
    "                        data/fonts/ (plain markup or enciphered)\n"
    "What it checks:\n"
    "  - every data error the game's loading code reports while reading them\n"
    "    (missing files, parse errors, bad values, names taken, undecodable media)\n"
    "  - every \"type\" attribute of every storage file read is a registered type\n"
    "    (the game's registrations)\n"
    "  - every resource loads (by-demand ones too): images decode in a colour type\n"
    "    image resources accept (8-bit RGB or RGBA PNG), sounds and music decode\n"
    "    through the audio library (no output device), fonts have symbols and\n"
    "    every glyph rectangle lies inside the font's atlas\n"
    "  - every %KEY% in the language's strings and in the texts the game reads\n"
    "    while loading is a string of the default language or a run-time variable\n"
    "    (player_name, level_number, cell_count, artifact_count, winner_name,\n"
    "    profile_name, combo_count, username, pattern_level, pattern_score,\n"
    "    pattern_difficulty, and those given with --variable)\n"
    "  - every language file of Languages/ has every string of lang/default.lng\n"
    "    (a missing one would show in English), no string the default lacks,\n"
    "    every %KEY% of the default's text of each string, and a \"name\"\n"
    "  - every font has a glyph for every character of the languages' texts\n"
    "    (outside macros, control characters aside): one line per font and\n"
    "    character, naming the first string that uses it\n"
    "\n"
    "options:\n"
    "  --variable NAME  one more run-time variable texts may name (exact case);\n"
    "                   repeatable\n"
    "  APPDIR           the application folder (holding data/, lang/ and\n"
    "                   Languages/)\n"
    "\n"
    "output: the problem lines on standard output, then their count on standard\n"
    "error; without problems one line \"no problems: N files, N resources, N\n"
    "strings, N fonts\".\n"
    "\n"
    "exit codes:\n"
    "  0  no problem found\n"
    "  1  problems were printed, APPDIR is no folder, or bad arguments\n";

}  // namespace

void RegisterCheckCommands(TCommandTable& table) {
  table.Add({"check", "[--variable NAME]... APPDIR",
             "lint an application folder as the game reads it: one line per problem", RunCheck, kCheckHelp});
}

}  // namespace qv::tool
