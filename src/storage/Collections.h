// Keyed lists and the collection base classes.
//
// A keyed list is ordered; each entry has a key, compared case-insensitively
// and unique within the list. Generated keys run "!", "\"", ... "Z", "Z!",
// "Z\"", ... "ZZ", "ZZ!" and so on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Ref.h"
#include "core/StringUtils.h"
#include "storage/PersistObject.h"

namespace qv {

// The generated-key sequence and uniqueness rules, independent of the value.
class TKeySequence {
public:
  std::string Next();
  // An explicit key that sorts after the last key becomes the last key.
  void Observe(const std::string& key);

private:
  std::string last_;
};

template <class V>
class TKeyedList {
public:
  struct Entry {
    std::string key;
    V value;
  };

  int Count() const { return static_cast<int>(entries_.size()); }
  int IndexOf(std::string_view key) const {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (SameText(entries_[i].key, key)) return static_cast<int>(i);
    return -1;
  }
  bool Contains(std::string_view key) const { return IndexOf(key) >= 0; }

  // Inserts at `pos` (-1 appends) with an explicit key, or a generated key
  // when `key` is nullopt. Returns the index, or -1 when the key exists.
  int Insert(int pos, std::optional<std::string> key, V value) {
    std::string k = key ? *key : keys_.Next();
    if (key) {
      if (Contains(k)) return -1;
      keys_.Observe(k);
    } else {
      while (Contains(k)) k = keys_.Next();
    }
    if (pos < 0 || pos > Count()) pos = Count();
    entries_.insert(entries_.begin() + pos, Entry{std::move(k), std::move(value)});
    return pos;
  }
  int Add(std::optional<std::string> key, V value) { return Insert(-1, std::move(key), std::move(value)); }

  const V& At(int index) const { return entries_.at(static_cast<size_t>(index)).value; }
  V& At(int index) { return entries_.at(static_cast<size_t>(index)).value; }
  const std::string& KeyAt(int index) const { return entries_.at(static_cast<size_t>(index)).key; }
  const V* Find(std::string_view key) const {
    const int i = IndexOf(key);
    return i < 0 ? nullptr : &entries_[static_cast<size_t>(i)].value;
  }

  bool Delete(int index) {
    if (index < 0 || index >= Count()) return false;
    entries_.erase(entries_.begin() + index);
    return true;
  }
  bool Delete(std::string_view key) { return Delete(IndexOf(key)); }
  void Clear() { entries_.clear(); }

  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

private:
  std::vector<Entry> entries_;
  TKeySequence keys_;
};

using TInterfaceCollection = TKeyedList<Ref<IInterface>>;
using TStringCollection = TKeyedList<std::string>;

class ICollection : public virtual IInterface {
public:
  virtual int Count() const = 0;
  virtual Ref<IInterface> Item(int index) const = 0;
  virtual Ref<IInterface> ItemByKey(std::string_view key) const = 0;
};

// A collection of reference-counted items; it holds one reference per item.
class TCollection : public TAbstractObject, public ICollection {
public:
  int Count() const override { return items_.Count(); }
  Ref<IInterface> Item(int index) const override {
    return index >= 0 && index < items_.Count() ? items_.At(index) : nullptr;
  }
  Ref<IInterface> ItemByKey(std::string_view key) const override {
    const auto* p = items_.Find(key);
    return p ? *p : nullptr;
  }
  template <class T>
  Ref<T> ItemAs(int index) const {
    return Query<T>(Item(index));
  }
  template <class T>
  Ref<T> ItemAs(std::string_view key) const {
    return Query<T>(ItemByKey(key));
  }
  int IndexOf(std::string_view key) const { return items_.IndexOf(key); }
  bool Contains(std::string_view key) const { return items_.Contains(key); }

  // Appends with the item's name as key (a generated key when the item has
  // no name). Returns the index, or -1 when the key exists.
  int AddNamed(const Ref<IInterface>& item);
  int Insert(int pos, std::optional<std::string> key, const Ref<IInterface>& item) {
    return items_.Insert(pos, std::move(key), item);
  }

  virtual void Delete(int index) { items_.Delete(index); }
  virtual void Delete(std::string_view key) { items_.Delete(key); }
  virtual void Clear() { items_.Clear(); }

protected:
  TInterfaceCollection& Items() { return items_; }
  const TInterfaceCollection& Items() const { return items_; }

private:
  TInterfaceCollection items_;
};

class TPersistCollection : public TCollection, public TPersistent {
public:
  virtual void LoadItem(const StorageRef& storage) { (void)storage; }
  virtual bool SaveItem(const Ref<IInterface>& item, const StorageRef& storage) {
    (void)item;
    (void)storage;
    return false;
  }
  // Loads every child named with the item element name, in document order.
  void LoadFromStorage(const StorageRef& storage) override;
  // Saves every item into a new child; a child whose item did not save is
  // removed again.
  void SaveToStorage(const StorageRef& storage) override;
  virtual void ClearItems() { Clear(); }

  const std::string& GetItemElementName() const { return itemElementName_; }
  void SetItemElementName(const std::string& name) { itemElementName_ = name; }

private:
  std::string itemElementName_ = "item";
};

class TPersistItemCollection : public TPersistCollection {
public:
  void LoadItem(const StorageRef& storage) override;
  bool SaveItem(const Ref<IInterface>& item, const StorageRef& storage) override;
  virtual Ref<IInterface> CreateItem(const StorageRef& storage) {
    (void)storage;
    return nullptr;
  }
  // Stores a loaded item. The base does nothing: each collection says how
  // it keeps its items, usually with AddByName or AddKeepingAll.
  virtual void AddItem(const Ref<IInterface>& item) { (void)item; }

protected:
  // Keyed by the item's name (a generated key without one). An item whose
  // name is taken (case-insensitively) is dropped and reported. True when
  // it was added.
  bool AddByName(const Ref<IInterface>& item);
  // Every item is kept, in order: under its name when that is free, else
  // under a generated key (lookups by name find the first).
  void AddKeepingAll(const Ref<IInterface>& item);
};

// Items of one fixed class.
template <class T>
class TStaticCreationPersistItemCollection : public TPersistItemCollection {
public:
  Ref<IInterface> CreateItem(const StorageRef&) override {
    Ref<T> item = MakeRef<T>();
    item->Initialize();
    return item;
  }
};

// Items created through the class registry from their "type" attribute.
class TTypedCreationPersistItemCollection : public TPersistItemCollection {
public:
  Ref<IInterface> CreateItem(const StorageRef& storage) override;
};

}  // namespace qv
