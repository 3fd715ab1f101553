// The XML-backed storage node, with its out-storage fallback.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "storage/HierStorage.h"

namespace qv {

class TXMLStorage final : public IXMLStorageSlave, public IHierStorageRoot {
protected:
  ~TXMLStorage() override = default;

public:
  using Document = std::shared_ptr<pugi::xml_document>;
  // The out-storage files of one load, shared by the nodes it reaches.
  struct TLoadSession;
  using Session = std::shared_ptr<TLoadSession>;

  TXMLStorage() = default;

  // Binds to an element of a document (which the node keeps alive), resets
  // the lookup cache and evaluates "_outstorage". Without a session the node
  // starts a load of its own.
  void Attach(pugi::xml_node element, Document document);
  void Attach(pugi::xml_node element, Document document, Session session);
  // The root node of the file an out-storage text names, read and parsed
  // once per session.
  static Ref<IHierStorage> OutStorageRoot(const std::string& outStorageText, const Session& session);
  void Detach() override;
  pugi::xml_node GetElement() const override { return element_; }
  const Document& GetDocument() const { return document_; }
  Ref<IHierStorage> GetFallback() const { return fallback_; }

  // IHierStorage
  std::string GetNodeName() const override;
  int GetAttrCount() const override;
  std::string GetAttrName(int index) const override;
  std::string ReadAttrByIndex(int index, const std::string& def) const override;
  std::string ReadAttr(const std::string& name, const std::string& def) const override;
  void WriteAttrByIndex(int index, const std::string& value) override;
  void WriteAttr(const std::string& name, const std::string& value) override;
  void RemoveAttr(const std::string& name) override;
  Ref<IHierStorage> AddChild(const std::string& name) override;
  int GetChildCount(const std::string& name) override;
  Ref<IHierStorage> GetChild(const std::string& name, int index) override;
  Ref<IHierStorage> SelectChild(const std::string& path) override;
  std::string GetText() const override;
  void SetText(const std::string& value) override;
  std::optional<std::string> ReadChildText(const std::string& name) const override;
  void WriteChildText(const std::string& name, const std::string& value) override;
  void AppendCopy(const Ref<IHierStorage>& storage) override;
  void RemoveChild(const Ref<IHierStorage>& storage) override;
  std::string GetMarkup() const override;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  std::optional<std::string> ReadChildValue(const std::string& name) const override;
  void WriteChildValue(const std::string& name, const std::string& value) override;

  // IHierStorageRoot
  bool CreateNew(const std::string& rootName) override;
  bool LoadFromFile(const std::string& path) override;
  bool LoadFromText(const std::string& text) override;
  bool LoadObject(IPersistent& object) override;
  bool SaveToFile(const std::string& path) override;
  std::string SaveToText() const override;
  bool SaveObject(IPersistent& object) override;

private:
  Ref<IHierStorage> Wrap(pugi::xml_node element) const;
  // The first child of that name, appended when missing.
  Ref<TXMLStorage> FirstChildOrNew(const std::string& name);
  const std::vector<pugi::xml_node>& Lookup(const std::string& name);

  pugi::xml_node element_;
  Document document_;
  Session session_;
  std::string cachedName_;
  bool cacheValid_ = false;
  std::vector<pugi::xml_node> cache_;
  std::string outStorage_;
  Ref<IHierStorage> fallback_;
};

// A new node loaded through the data path resolver; empty on failure (a
// text that does not parse is reported).
Ref<IHierStorage> LoadStorageFile(const std::string& path);
// A new node parsed from text (decoded per its XML declaration); empty on failure.
Ref<IHierStorage> LoadStorageText(const std::string& text);
// A new document with one root element of that name.
Ref<IHierStorage> NewStorage(const std::string& rootName);
// The root node of the file an out-storage text names ("file", deciphered
// with "cryptkey" when given); empty when there is none or it cannot load.
Ref<IHierStorage> LoadOutStorage(const std::string& outStorageText);
// Writes the node's whole document to the file an out-storage text names,
// enciphered when it names a "cryptkey". Straight to the file system
// ("%apppath%" expanded, missing folders created owner-only). False (and a
// data error) when nothing was written.
bool WriteOutStorage(const Ref<IHierStorage>& storage, const std::string& outStorageText);

// Whether the text is a name the parser reads back (element and attribute
// names); writers refuse other names and report them.
bool IsXmlName(const std::string& name);

// Decodes raw file bytes to UTF-8: a declaration at the start of the text
// naming a single-byte encoding other than UTF-8 converts from that
// encoding.
std::string DecodeStorageText(const std::string& bytes);

// The document root of a node as the root interface; empty when the node is
// not an XML storage.
Ref<IHierStorageRoot> AsRoot(const Ref<IHierStorage>& storage);

}  // namespace qv
