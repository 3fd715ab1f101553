// A node of a hierarchical storage tree (an XML element). Values cross this
// interface as UTF-8 text. Operations on an unbound node return empty values,
// 0 counts and empty children; they never fail. Element and attribute names
// that are no valid XML names are refused (and reported), so a saved
// document always loads again.
#pragma once

#include <optional>
#include <string>

#include "core/Ref.h"

namespace pugi {
class xml_node;
}

namespace qv {

class IPersistent;

class IHierStorage : public virtual IInterface {
protected:
  ~IHierStorage() override = default;

public:
  virtual std::string GetNodeName() const = 0;
  virtual int GetAttrCount() const = 0;
  virtual std::string GetAttrName(int index) const = 0;
  // Both readers fall back to the out-storage file when the element's value
  // equals `def` (missing, or holding exactly the default).
  virtual std::string ReadAttrByIndex(int index, const std::string& def) const = 0;
  virtual std::string ReadAttr(const std::string& name, const std::string& def) const = 0;
  virtual void WriteAttrByIndex(int index, const std::string& value) = 0;
  virtual void WriteAttr(const std::string& name, const std::string& value) = 0;
  virtual void RemoveAttr(const std::string& name) = 0;
  virtual Ref<IHierStorage> AddChild(const std::string& name) = 0;
  // Children of that name; an empty name counts all child nodes. When the
  // element has none of that name, the out-storage file answers.
  virtual int GetChildCount(const std::string& name) = 0;
  virtual Ref<IHierStorage> GetChild(const std::string& name, int index) = 0;
  virtual Ref<IHierStorage> SelectChild(const std::string& path) = 0;
  virtual std::string GetText() const = 0;
  virtual void SetText(const std::string& value) = 0;
  // Text of the first child of that name; nullopt when there is none.
  virtual std::optional<std::string> ReadChildText(const std::string& name) const = 0;
  virtual void WriteChildText(const std::string& name, const std::string& value) = 0;
  virtual void AppendCopy(const Ref<IHierStorage>& storage) = 0;
  virtual void RemoveChild(const Ref<IHierStorage>& storage) = 0;
  virtual std::string GetMarkup() const = 0;
  // The text when the element has no child nodes or one text child;
  // otherwise (comments, CDATA, elements, several nodes) the markup of the
  // children.
  virtual std::string GetValue() const = 0;
  // Markup (a fragment, several roots included) is appended node by node;
  // any other value replaces the text.
  virtual void SetValue(const std::string& value) = 0;
  virtual std::optional<std::string> ReadChildValue(const std::string& name) const = 0;
  virtual void WriteChildValue(const std::string& name, const std::string& value) = 0;
};

// The binding side of a storage node.
class IXMLStorageSlave : public IHierStorage {
protected:
  ~IXMLStorageSlave() override = default;

public:
  virtual void Detach() = 0;
  // The bound element; an empty handle when unbound.
  virtual pugi::xml_node GetElement() const = 0;
};

// The document side of a storage node.
class IHierStorageRoot : public virtual IInterface {
protected:
  ~IHierStorageRoot() override = default;

public:
  virtual bool CreateNew(const std::string& rootName) = 0;
  virtual bool LoadFromFile(const std::string& path) = 0;
  virtual bool LoadFromText(const std::string& text) = 0;
  virtual bool LoadObject(IPersistent& object) = 0;
  virtual bool SaveToFile(const std::string& path) = 0;
  virtual std::string SaveToText() const = 0;
  virtual bool SaveObject(IPersistent& object) = 0;
};

using StorageRef = Ref<IHierStorage>;

}  // namespace qv
