#include "storage/XMLStorage.h"

#include <iconv.h>
#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <set>
#include <sstream>

#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/ProcessContext.h"
#include "core/StringUtils.h"
#include "storage/Cipher.h"
#include "storage/DataPaths.h"
#include "storage/Params.h"
#include "storage/PersistObject.h"

namespace qv {

namespace {

// Out-storage files may name further out-storage files; a chain deeper than
// this is cut (a loop is cut where it closes).
constexpr int kMaxOutStorageDepth = 16;

struct DepthGuard {
  DepthGuard() { ++ProcessContext().outStorageDepth; }
  ~DepthGuard() { --ProcessContext().outStorageDepth; }
};

// Comments are kept (they are child nodes of a value), and so is a text
// that is only blanks when it is an element's one child (" " is a valid
// language string); blanks between elements are layout and dropped.
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_comments | pugi::parse_ws_pcdata_single;

constexpr unsigned kSaveFlags = pugi::format_raw | pugi::format_no_declaration;

std::string Markup(const pugi::xml_node& node) {
  std::ostringstream ss;
  node.print(ss, "", kSaveFlags, pugi::encoding_utf8);
  return ss.str();
}

// Text of every text and CDATA node below the node, in document order.
// Iterative: a text nested 100,000 elements deep must not exhaust the stack.
std::string DeepText(const pugi::xml_node& node) {
  if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) return node.value();
  std::string out;
  pugi::xml_node c = node.first_child();
  while (c) {
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) out += c.value();
    if (c.first_child()) {
      c = c.first_child();
      continue;
    }
    while (c && c != node && !c.next_sibling()) c = c.parent();
    if (!c || c == node) break;
    c = c.next_sibling();
  }
  return out;
}

// The text of an element with no child nodes or exactly one text child;
// otherwise (a comment, a CDATA section, elements, several nodes) the markup
// of its child nodes.
std::string ValueOf(const pugi::xml_node& element) {
  const auto first = element.first_child();
  if (!first) return {};
  if (!first.next_sibling() && first.type() == pugi::node_pcdata) return first.value();
  std::string out;
  for (auto c = first; c; c = c.next_sibling()) out += Markup(c);
  return out;
}

bool Convert(const std::string& bytes, const char* from, std::string& out) {
  iconv_t cd = ::iconv_open("UTF-8", from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.assign(bytes.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  const size_t r = ::iconv(cd, &in, &inLeft, &dst, &outLeft);
  ::iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return false;
  out.resize(out.size() - outLeft);
  return true;
}

// Byte by byte as Latin-1: the last resort, it never fails.
std::string Latin1ToUtf8(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The encoding the text's XML declaration names; empty when it has none,
// names UTF-8, or does not parse. Only a declaration at the very start of
// the text counts (after a byte order mark and blanks): one inside the
// document, in a CDATA section say, is text.
std::string DeclaredEncoding(const std::string& text) {
  size_t open = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (open < text.size() &&
         (text[open] == ' ' || text[open] == '\t' || text[open] == '\r' || text[open] == '\n'))
    ++open;
  if (text.compare(open, 5, "<?xml") != 0 || open + 5 >= text.size()) return {};
  const char after = text[open + 5];
  if (after != ' ' && after != '\t' && after != '\r' && after != '\n' && after != '?') return {};
  const size_t close = text.find("?>", open);
  if (close == std::string::npos) return {};
  pugi::xml_document decl;
  const std::string piece = text.substr(open, close + 2 - open);
  const auto result =
      decl.load_buffer(piece.data(), piece.size(), pugi::parse_declaration, pugi::encoding_utf8);
  if (result.status != pugi::status_ok && result.status != pugi::status_no_document_element) return {};
  const pugi::xml_node first = decl.first_child();
  if (!first || std::string(first.name()) != "xml") return {};
  const std::string enc = first.attribute("encoding").as_string("utf-8");
  return SameText(enc, "utf-8") ? std::string() : enc;
}

// Parses a decoded storage text; reports and gives nothing when it is not
// well-formed or has no root element. An empty text is no document and no
// report (whoever read the file knows why it was empty).
TXMLStorage::Document ParseDocument(const std::string& text, const std::string& where) {
  if (text.empty()) return nullptr;
  const std::string decoded = DecodeStorageText(text);
  auto doc = std::make_shared<pugi::xml_document>();
  const auto result = doc->load_buffer(decoded.data(), decoded.size(), kParseFlags, pugi::encoding_utf8);
  if (!result || !doc->document_element()) {
    ReportDataError(where, std::string("is not well-formed XML (") +
                               (result ? "no root element" : result.description()) + " at byte " +
                               std::to_string(result.offset) + "); not loaded");
    return nullptr;
  }
  return doc;
}

}  // namespace

std::string DecodeStorageText(const std::string& bytes) {
  const std::string encoding = DeclaredEncoding(bytes);
  if (encoding.empty()) return bytes;
  std::string out;
  // Only single-byte encodings are honoured; a text that claims a wide
  // Unicode form is read as Windows-1252 like any unknown encoding.
  const bool wide = StartsWithText(encoding, "utf-16") || StartsWithText(encoding, "utf-32") ||
                    StartsWithText(encoding, "ucs");
  if (!wide && Convert(bytes, encoding.c_str(), out)) return out;
  if (Convert(bytes, "WINDOWS-1252", out)) return out;
  return Latin1ToUtf8(bytes);
}

bool IsXmlName(const std::string& name) {
  if (name.empty()) return false;
  const auto start = [](unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
  };
  if (!start(static_cast<unsigned char>(name[0]))) return false;
  for (unsigned char c : name)
    if (!start(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
  return true;
}

namespace {
// Refuses a name the saved document could not be read back with; only that
// one value is lost, not the file.
bool CheckName(const std::string& name, const char* what) {
  if (IsXmlName(name)) return true;
  ReportDataError("\"" + name + "\"",
                  std::string("is not a valid XML name; the ") + what + " is not written");
  return false;
}
}  // namespace

// The out-storage files of one load: each file is read, deciphered and
// parsed once for all the nodes that name it. Shared by the nodes of a
// loaded document and of the files it reached; dropped when the storage
// layer writes a file.
struct TXMLStorage::TLoadSession {
  struct TEntry {
    Document document;  // empty: the file gave no document
  };
  std::map<std::string, TEntry> files;
  std::set<std::string> loading;   // files whose chain is being walked now
  std::set<std::string> reported;  // cut chains already reported
  long long writes = ProcessContext().storageWrites;
};

void TXMLStorage::Attach(pugi::xml_node element, Document document) {
  Attach(element, std::move(document), std::make_shared<TLoadSession>());
}

void TXMLStorage::Attach(pugi::xml_node element, Document document, Session session) {
  element_ = element;
  document_ = std::move(document);
  session_ = std::move(session);
  cacheValid_ = false;
  cache_.clear();
  fallback_ = nullptr;
  outStorage_ = element_ ? element_.attribute("_outstorage").as_string() : "";
  if (!outStorage_.empty()) fallback_ = OutStorageRoot(outStorage_, session_);
}

Ref<IHierStorage> TXMLStorage::OutStorageRoot(const std::string& outStorageText, const Session& session) {
  const auto file = FindParam(outStorageText, "file");
  if (!file || file->empty()) return nullptr;
  const auto key = FindParam(outStorageText, "cryptkey");
  auto& context = ProcessContext();
  if (session->writes != context.storageWrites) {
    session->files.clear();
    session->writes = context.storageWrites;
  }
  const std::string id = *file + (key ? "\n" + *key : std::string());
  // The chain is walked anew for every node (only the documents are kept),
  // so a loop or the depth limit cuts it at the same place whether a file
  // was parsed before or not.
  if (session->loading.count(id)) {
    if (session->reported.insert(id).second)
      ReportDataError(*file, "out-storage files name each other in a loop; the loop is cut here");
    return nullptr;
  }
  if (context.outStorageDepth >= kMaxOutStorageDepth) {
    if (session->reported.insert(id).second)
      ReportDataError(*file, "out-storage chain deeper than 16 files; cut here");
    return nullptr;
  }
  auto it = session->files.find(id);
  if (it == session->files.end()) {
    ++context.outStorageParses;
    std::string bytes = ReadDataFile(*file);
    Document doc;
    if (bytes.empty()) {
      ReportDataError(*file, "out-storage file is missing or empty; the node has no fallback");
    } else {
      if (key) bytes = DecipherFromHex(bytes, *key);
      doc = ParseDocument(bytes, *file + (key ? " (deciphered)" : ""));
    }
    it = session->files.emplace(id, TLoadSession::TEntry{doc}).first;
  }
  const Document doc = it->second.document;
  if (!doc) return nullptr;
  // The root's own out-storage chain is evaluated now, inside this file.
  DepthGuard guard;
  session->loading.insert(id);
  auto root = MakeRef<TXMLStorage>();
  root->Attach(doc->document_element(), doc, session);
  session->loading.erase(id);
  return root;
}

Ref<IHierStorage> LoadOutStorage(const std::string& outStorageText) {
  return TXMLStorage::OutStorageRoot(outStorageText, std::make_shared<TXMLStorage::TLoadSession>());
}

void TXMLStorage::Detach() {
  element_ = pugi::xml_node();
  document_.reset();
  session_.reset();
  cacheValid_ = false;
  cache_.clear();
  outStorage_.clear();
  fallback_ = nullptr;
}

Ref<IHierStorage> TXMLStorage::Wrap(pugi::xml_node element) const {
  if (!element) return nullptr;
  auto node = MakeRef<TXMLStorage>();
  node->Attach(element, document_, session_ ? session_ : std::make_shared<TLoadSession>());
  return node;
}

const std::vector<pugi::xml_node>& TXMLStorage::Lookup(const std::string& name) {
  if (!cacheValid_ || cachedName_ != name) {
    cache_.clear();
    for (pugi::xml_node c = element_.first_child(); c; c = c.next_sibling())
      if (name.empty() || (c.type() == pugi::node_element && name == c.name())) cache_.push_back(c);
    cachedName_ = name;
    cacheValid_ = true;
  }
  return cache_;
}

std::string TXMLStorage::GetNodeName() const {
  return element_ ? element_.name() : "";
}

int TXMLStorage::GetAttrCount() const {
  int n = 0;
  for (auto a = element_.first_attribute(); a; a = a.next_attribute()) ++n;
  return n;
}

namespace {
pugi::xml_attribute AttrAt(const pugi::xml_node& e, int index) {
  if (index < 0) return {};
  auto a = e.first_attribute();
  for (; a && index > 0; --index) a = a.next_attribute();
  return a;
}
}  // namespace

std::string TXMLStorage::GetAttrName(int index) const {
  return AttrAt(element_, index).name();
}

std::string TXMLStorage::ReadAttrByIndex(int index, const std::string& def) const {
  const auto a = AttrAt(element_, index);
  std::string value = a ? a.value() : def;
  if (value == def && fallback_ && a) return fallback_->ReadAttr(a.name(), def);
  return value;
}

std::string TXMLStorage::ReadAttr(const std::string& name, const std::string& def) const {
  const auto a = element_.attribute(name.c_str());
  std::string value = a ? a.value() : def;
  if (value == def && fallback_) return fallback_->ReadAttr(name, def);
  return value;
}

void TXMLStorage::WriteAttrByIndex(int index, const std::string& value) {
  if (auto a = AttrAt(element_, index)) a.set_value(value.c_str());
}

void TXMLStorage::WriteAttr(const std::string& name, const std::string& value) {
  if (!element_ || !CheckName(name, "attribute")) return;
  auto a = element_.attribute(name.c_str());
  if (!a) a = element_.append_attribute(name.c_str());
  a.set_value(value.c_str());
}

void TXMLStorage::RemoveAttr(const std::string& name) {
  if (element_) element_.remove_attribute(name.c_str());
}

Ref<IHierStorage> TXMLStorage::AddChild(const std::string& name) {
  if (!element_ || !CheckName(name, "element")) return nullptr;
  cacheValid_ = false;
  return Wrap(element_.append_child(name.c_str()));
}

int TXMLStorage::GetChildCount(const std::string& name) {
  if (!element_) return 0;
  const int own = static_cast<int>(Lookup(name).size());
  if (own == 0 && fallback_) return fallback_->GetChildCount(name);
  return own;
}

Ref<IHierStorage> TXMLStorage::GetChild(const std::string& name, int index) {
  if (!element_) return nullptr;
  const auto& list = Lookup(name);
  if (index >= 0 && index < static_cast<int>(list.size())) return Wrap(list[static_cast<size_t>(index)]);
  return fallback_ ? fallback_->GetChild(name, index) : nullptr;
}

Ref<IHierStorage> TXMLStorage::SelectChild(const std::string& path) {
  if (!element_) return nullptr;
  try {
    return Wrap(element_.select_node(path.c_str()).node());
  } catch (const pugi::xpath_exception&) {
    return nullptr;
  }
}

std::string TXMLStorage::GetText() const {
  return element_ ? DeepText(element_) : "";
}

void TXMLStorage::SetText(const std::string& value) {
  if (!element_) return;
  while (element_.first_child()) element_.remove_child(element_.first_child());
  cacheValid_ = false;
  element_.append_child(pugi::node_pcdata).set_value(value.c_str());
}

std::optional<std::string> TXMLStorage::ReadChildText(const std::string& name) const {
  const auto c = element_.child(name.c_str());
  if (!c) return std::nullopt;
  return DeepText(c);
}

void TXMLStorage::WriteChildText(const std::string& name, const std::string& value) {
  if (auto child = FirstChildOrNew(name)) child->SetText(value);
}

void TXMLStorage::AppendCopy(const Ref<IHierStorage>& storage) {
  const auto* other = dynamic_cast<const TXMLStorage*>(storage.get());
  if (!element_ || !other || !other->element_) return;
  element_.append_copy(other->element_);
  cacheValid_ = false;
}

void TXMLStorage::RemoveChild(const Ref<IHierStorage>& storage) {
  const auto* other = dynamic_cast<const TXMLStorage*>(storage.get());
  if (!element_ || !other || other->element_.parent() != element_) return;
  element_.remove_child(other->element_);
  cacheValid_ = false;
}

std::string TXMLStorage::GetMarkup() const {
  return element_ ? Markup(element_) : "";
}

std::string TXMLStorage::GetValue() const {
  return element_ ? ValueOf(element_) : "";
}

void TXMLStorage::SetValue(const std::string& value) {
  if (!element_) return;
  // Markup (one element or several, with text, comments and CDATA between
  // them, as GetValue gives it) is appended node by node; anything else
  // becomes the text.
  pugi::xml_document doc;
  if (doc.load_buffer(value.data(), value.size(), kParseFlags | pugi::parse_fragment, pugi::encoding_utf8) &&
      doc.document_element()) {
    for (auto c = doc.first_child(); c; c = c.next_sibling()) element_.append_copy(c);
    cacheValid_ = false;
  } else {
    SetText(value);
  }
}

std::optional<std::string> TXMLStorage::ReadChildValue(const std::string& name) const {
  const auto c = element_.child(name.c_str());
  if (!c) return std::nullopt;
  return ValueOf(c);
}

void TXMLStorage::WriteChildValue(const std::string& name, const std::string& value) {
  if (auto child = FirstChildOrNew(name)) child->SetValue(value);
}

Ref<TXMLStorage> TXMLStorage::FirstChildOrNew(const std::string& name) {
  if (!element_ || !CheckName(name, "element")) return nullptr;
  auto c = element_.child(name.c_str());
  if (!c) {
    c = element_.append_child(name.c_str());
    cacheValid_ = false;
  }
  auto child = MakeRef<TXMLStorage>();
  child->element_ = c;  // bound without re-reading its out-storage
  child->document_ = document_;
  child->session_ = session_;
  return child;
}

bool TXMLStorage::CreateNew(const std::string& rootName) {
  if (!CheckName(rootName, "document")) return false;
  auto doc = std::make_shared<pugi::xml_document>();
  const auto root = doc->append_child(rootName.c_str());
  if (!root) return false;
  Attach(root, std::move(doc));
  return true;
}

bool TXMLStorage::LoadFromFile(const std::string& path) {
  auto stream = OpenDataStream(path, true);
  if (!stream) return false;
  const std::string bytes = stream->ReadAll();
  if (stream->Failed()) {
    ReportDataError(path, "cannot be read to its end; not loaded");
    return false;
  }
  auto doc = ParseDocument(bytes, path);
  if (!doc) return false;
  const auto root = doc->document_element();
  Attach(root, std::move(doc));
  return true;
}

bool TXMLStorage::LoadFromText(const std::string& text) {
  auto doc = ParseDocument(text, "storage text");
  if (!doc) return false;
  const auto root = doc->document_element();
  Attach(root, std::move(doc));
  return true;
}

bool TXMLStorage::LoadObject(IPersistent& object) {
  object.Load(RefFromThis<IHierStorage>(this));
  return true;
}

bool TXMLStorage::SaveToFile(const std::string& path) {
  // A "res:" block is read-only: nothing is written, and that is a failure.
  if (!document_ || StartsWithText(ReplaceAll(path, "/", "\\"), "res:")) return false;
  return WriteDataFile(path, SaveToText());
}

std::string TXMLStorage::SaveToText() const {
  if (!document_) return {};
  std::ostringstream ss;
  document_->save(ss, "", kSaveFlags, pugi::encoding_utf8);
  return ss.str();
}

bool TXMLStorage::SaveObject(IPersistent& object) {
  object.Save(RefFromThis<IHierStorage>(this));
  return true;
}

Ref<IHierStorage> LoadStorageFile(const std::string& path) {
  auto node = MakeRef<TXMLStorage>();
  if (!node->LoadFromFile(path)) return nullptr;
  return node;
}

Ref<IHierStorage> LoadStorageText(const std::string& text) {
  auto node = MakeRef<TXMLStorage>();
  if (!node->LoadFromText(text)) return nullptr;
  return node;
}

Ref<IHierStorage> NewStorage(const std::string& rootName) {
  auto node = MakeRef<TXMLStorage>();
  if (!node->CreateNew(rootName)) return nullptr;
  return node;
}

Ref<IHierStorageRoot> AsRoot(const Ref<IHierStorage>& storage) {
  return Query<IHierStorageRoot>(storage);
}

bool WriteOutStorage(const Ref<IHierStorage>& storage, const std::string& outStorageText) {
  const auto file = FindParam(outStorageText, "file");
  const auto root = AsRoot(storage);
  if (!file || file->empty() || !root) return false;
  std::string text = root->SaveToText();
  if (const auto key = FindParam(outStorageText, "cryptkey")) text = EncipherToHex(text, *key);
  // Straight to the file system, creating the missing folders on the way
  // (owner-only), relative to the current folder unless absolute.
  std::string path = ReplaceAll(*file, "/", "\\");
  path = ReplaceAllText(path, "%apppath%", ApplicationPath());
  const std::string native = ToNativePath(path);
  for (size_t slash = native.find('/', 1); slash != std::string::npos; slash = native.find('/', slash + 1)) {
    const std::string folder = native.substr(0, slash);
    if (folder.empty() || folder == "." || folder == "..") continue;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) break;
  }
  if (!WriteDataFile(path, text)) {
    ReportDataError(*file, "out-storage file cannot be written; the object's content is not saved");
    return false;
  }
  return true;
}

}  // namespace qv
