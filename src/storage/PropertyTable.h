// Property tables: one declaration per persistent key.
//
// A class lists its keys once, in a table kept in a function-local static:
//
//   const TPropertyTable<TSound>& TSound::Properties() {
//     static const TPropertyTable<TSound> table =
//         TPropertyTable<TSound>(TPropertyObject::Properties())   // the base's keys first
//             .String("resourcename", &TSound::resourceName_).Always().ReadOnly()
//             .Int("volume", &TSound::volume_, kDefaultVolume)
//             .Bool("mutemusic", &TSound::muteMusic_).WhenTrue();
//     return table;
//   }
//
// and the table loads, saves, reads and writes them by name: LoadFromStorage,
// SaveToStorage, GetPropertyValue and SetPropertyValue of the persist object
// base run the table of the object's class (QV_PROPERTY_TABLE in the class
// declares it). Only real special cases (child nodes, collections, keys
// whose meaning depends on one another) stay hand-written beside the table.
//
// An entry has a key, an accessor (a data member, or a getter with a setter,
// member functions or lambdas alike; a getter alone makes a key that is saved
// and read but never loaded or written), a kind and a default:
//   String  the attribute unchanged          Text    expanded through ReadText
//   Bool    "yes"/"no"                       Int     decimal, "$" hexadecimal
//   Float   "." as the decimal point         Enum    the position in a "/" list
//   Colour  a 32-bit 0xAARRGGBB value stored as a (signed) decimal integer,
//           or as "$AARRGGBB" with Hex(); reading takes either form.
// Modifiers apply to the entry added last:
//   written: UnlessDefault() (the rule unless told otherwise), Always(),
//            WhenTrue(), WriteIf(predicate), LoadOnly() (never written);
//   access:  StorageOnly() (no property), PropertyOnly() (no storage),
//            ReadOnly() (property not writable), WriteOnly() (not readable);
//   reading: Read(reader) replaces the typed reader (for strict rules; a
//            reader may throw), Hex() for colours.
//
// Chaining: a table made from its base class's table starts with the base's
// entries (in their order); an entry with a key the base already has
// replaces the base's entry in place. Keys are matched case-insensitively
// through one index per table, built as the entries are added.
//
// Loading reads every key first and stores them afterwards, so a reader that
// throws leaves the object unchanged. A value that is present but does not
// parse as its kind is reported as a data error and the default is used.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/Variant.h"
#include "storage/HierStorage.h"

namespace qv {

class TAbstractObject;

enum class EPropertyKind { kString, kText, kBool, kInt, kFloat, kEnum, kColour };

// When a key is written on save.
enum class EWriteRule { kUnlessDefault, kAlways, kWhenTrue, kIf, kNever };

enum EPropertyFlag : unsigned {
  kPropStorageOnly = 1u,   // loaded and saved; no property access
  kPropPropertyOnly = 2u,  // property access only; never loaded or saved
  kPropReadOnly = 4u,      // the property cannot be written (loading still sets it)
  kPropWriteOnly = 8u,     // the property cannot be read
};

// What a table knows of one key, apart from how it reaches the object.
struct TPropertyInfo {
  std::string key;
  EPropertyKind kind = EPropertyKind::kString;
  std::string enumNames;  // kEnum: "/first/second/..."
  TVariant def;           // in the kind's value form (see PropertyValue)
  EWriteRule write = EWriteRule::kUnlessDefault;
  unsigned flags = 0;
  bool hex = false;  // kColour written as "$AARRGGBB"
  // Replaces the typed reader when set.
  std::function<TVariant(const StorageRef&, const std::string&)> read;

  bool Loaded() const { return !(flags & kPropPropertyOnly); }
  bool Saved() const { return !(flags & kPropPropertyOnly) && write != EWriteRule::kNever; }
  bool Readable() const { return !(flags & (kPropStorageOnly | kPropWriteOnly)); }
  bool Writable() const { return !(flags & (kPropStorageOnly | kPropReadOnly)); }
};

// The value form of each kind inside a table: text for kString and kText,
// bool, long long for kInt and kEnum (the position), double for kFloat, and
// the unsigned 32-bit value as long long for kColour.
TVariant PropertyValue(EPropertyKind kind, const TVariant& value);
// The stored value of a key (the kind's typed reader, or the entry's own);
// a present value that does not parse is reported and gives the default.
TVariant ReadPropertyValue(const TPropertyInfo& info, const StorageRef& storage);
void WritePropertyValue(const TPropertyInfo& info, const StorageRef& storage, const TVariant& value);
bool ShouldWriteProperty(const TPropertyInfo& info, const TVariant& value);
// What GetPropertyValue answers (colours as signed 32-bit integers).
TVariant PublicPropertyValue(const TPropertyInfo& info, const TVariant& value);
// A property write converted to the kind; `current` stays where it does
// not convert.
TVariant AssignedPropertyValue(const TPropertyInfo& info, const TVariant& value, const TVariant& current);

// The type-erased face of a table, as the persist object base uses it.
class IPropertyTable {
public:
  virtual void LoadObject(TAbstractObject& object, const StorageRef& storage) const = 0;
  virtual void SaveObject(const TAbstractObject& object, const StorageRef& storage) const = 0;
  // False when the name is not a readable property.
  virtual bool GetObjectProperty(const TAbstractObject& object, std::string_view name,
                                 TVariant& value) const = 0;
  // False when the name is not a writable property.
  virtual bool SetObjectProperty(TAbstractObject& object, std::string_view name,
                                 const TVariant& value) const = 0;
  virtual const TPropertyInfo* FindProperty(std::string_view name) const = 0;

protected:
  ~IPropertyTable() = default;
};

namespace property_detail {

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept;
};
struct TextEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept;
};

template <class R>
TVariant ToVariant(const R& v) {
  if constexpr (std::is_same_v<R, TVariant>)
    return v;
  else if constexpr (std::is_convertible_v<const R&, std::string>)
    return std::string(v);
  else if constexpr (std::is_same_v<R, bool>)
    return v;
  else if constexpr (std::is_floating_point_v<R>)
    return static_cast<double>(v);
  else if constexpr (std::is_enum_v<R> || std::is_integral_v<R>)
    return static_cast<long long>(v);
  else
    static_assert(sizeof(R) == 0, "a property value must be text, bool, a number or an enumeration");
}

template <class R>
R FromVariant(const TVariant& v) {
  if constexpr (std::is_same_v<R, TVariant>)
    return v;
  else if constexpr (std::is_same_v<R, std::string>)
    return VarToString(v);
  else if constexpr (std::is_same_v<R, bool>)
    return VarToBool(v);
  else if constexpr (std::is_floating_point_v<R>)
    return static_cast<R>(VarToFloat(v));
  else
    return static_cast<R>(VarToInt(v));
}

}  // namespace property_detail

// A data member given to an entry.
template <class A>
concept PropertyMember = std::is_member_object_pointer_v<A>;
// A setter given to an entry: a member function, a callable, or nullptr.
template <class S>
concept PropertySetter =
    std::is_null_pointer_v<S> || std::is_member_function_pointer_v<S> || std::is_class_v<S>;

template <class C>
class TPropertyTable : public IPropertyTable {
public:
  struct Entry : TPropertyInfo {
    std::function<TVariant(const C&)> get;
    std::function<void(C&, const TVariant&)> set;  // empty: never loaded nor written
    std::function<bool(const C&)> writeIf;
  };

  // A table without a base.
  TPropertyTable() = default;
  // A table that starts with the entries of the base class's table.
  template <class B>
  requires(std::is_base_of_v<B, C> &&
           !std::is_same_v<B, C>) explicit TPropertyTable(const TPropertyTable<B>& base) {
    for (const auto& b : base.Entries()) {
      Entry e;
      static_cast<TPropertyInfo&>(e) = b;
      e.get = b.get;
      if (b.set) e.set = b.set;
      if (b.writeIf) e.writeIf = b.writeIf;
      Put(std::move(e));
    }
  }

  // --- entries ---------------------------------------------------------------
  // Each kind takes a data member, or a getter and a setter (nullptr for
  // none), then the default.
  template <PropertyMember A>
  TPropertyTable& String(std::string key, A member, std::string def = {}) {
    return Add(EPropertyKind::kString, std::move(key), member, TVariant(std::move(def)));
  }
  template <class G, PropertySetter S>
  TPropertyTable& String(std::string key, G get, S set, std::string def = {}) {
    return Add(EPropertyKind::kString, std::move(key), get, set, TVariant(std::move(def)));
  }
  template <PropertyMember A>
  TPropertyTable& Text(std::string key, A member, std::string def = {}) {
    return Add(EPropertyKind::kText, std::move(key), member, TVariant(std::move(def)));
  }
  template <class G, PropertySetter S>
  TPropertyTable& Text(std::string key, G get, S set, std::string def = {}) {
    return Add(EPropertyKind::kText, std::move(key), get, set, TVariant(std::move(def)));
  }
  template <PropertyMember A>
  TPropertyTable& Bool(std::string key, A member, bool def = false) {
    return Add(EPropertyKind::kBool, std::move(key), member, TVariant(def));
  }
  template <class G, PropertySetter S>
  TPropertyTable& Bool(std::string key, G get, S set, bool def = false) {
    return Add(EPropertyKind::kBool, std::move(key), get, set, TVariant(def));
  }
  template <PropertyMember A>
  TPropertyTable& Int(std::string key, A member, long long def = 0) {
    return Add(EPropertyKind::kInt, std::move(key), member, TVariant(def));
  }
  template <class G, PropertySetter S>
  TPropertyTable& Int(std::string key, G get, S set, long long def = 0) {
    return Add(EPropertyKind::kInt, std::move(key), get, set, TVariant(def));
  }
  template <PropertyMember A>
  TPropertyTable& Float(std::string key, A member, double def = 0.0) {
    return Add(EPropertyKind::kFloat, std::move(key), member, TVariant(def));
  }
  template <class G, PropertySetter S>
  TPropertyTable& Float(std::string key, G get, S set, double def = 0.0) {
    return Add(EPropertyKind::kFloat, std::move(key), get, set, TVariant(def));
  }
  // `names` is the "/"-separated list; the value is the position in it.
  template <PropertyMember A>
  TPropertyTable& Enum(std::string key, std::string names, A member, long long def = 0) {
    Add(EPropertyKind::kEnum, std::move(key), member, TVariant(def));
    entries_[last_].enumNames = std::move(names);
    return *this;
  }
  template <class G, PropertySetter S>
  TPropertyTable& Enum(std::string key, std::string names, G get, S set, long long def = 0) {
    Add(EPropertyKind::kEnum, std::move(key), get, set, TVariant(def));
    entries_[last_].enumNames = std::move(names);
    return *this;
  }
  template <PropertyMember A>
  TPropertyTable& Colour(std::string key, A member, uint32_t def = 0) {
    return Add(EPropertyKind::kColour, std::move(key), member, TVariant(static_cast<long long>(def)));
  }
  template <class G, PropertySetter S>
  TPropertyTable& Colour(std::string key, G get, S set, uint32_t def = 0) {
    return Add(EPropertyKind::kColour, std::move(key), get, set, TVariant(static_cast<long long>(def)));
  }

  // --- modifiers of the entry added last ---------------------------------------
  TPropertyTable& UnlessDefault() { return Rule(EWriteRule::kUnlessDefault); }
  TPropertyTable& Always() { return Rule(EWriteRule::kAlways); }
  TPropertyTable& WhenTrue() { return Rule(EWriteRule::kWhenTrue); }
  TPropertyTable& LoadOnly() { return Rule(EWriteRule::kNever); }
  template <class P>
  TPropertyTable& WriteIf(P predicate) {
    entries_[last_].writeIf = [predicate](const C& c) {
      return static_cast<bool>(std::invoke(predicate, c));
    };
    return Rule(EWriteRule::kIf);
  }
  TPropertyTable& StorageOnly() { return Flag(kPropStorageOnly); }
  TPropertyTable& PropertyOnly() { return Flag(kPropPropertyOnly); }
  TPropertyTable& ReadOnly() { return Flag(kPropReadOnly); }
  TPropertyTable& WriteOnly() { return Flag(kPropWriteOnly); }
  TPropertyTable& Hex() {
    entries_[last_].hex = true;
    return *this;
  }
  // reader(storage, key) gives the value (text, bool or a number); it may
  // throw to refuse the whole load.
  template <class F>
  TPropertyTable& Read(F reader) {
    entries_[last_].read = [reader](const StorageRef& s, const std::string& key) {
      return property_detail::ToVariant(reader(s, key));
    };
    return *this;
  }

  // --- running the table ---------------------------------------------------------
  void Load(C& object, const StorageRef& storage) const {
    std::vector<TVariant> values(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i)
      if (Loads(entries_[i])) values[i] = ReadPropertyValue(entries_[i], storage);
    for (size_t i = 0; i < entries_.size(); ++i)
      if (Loads(entries_[i])) entries_[i].set(object, values[i]);
  }
  void Save(const C& object, const StorageRef& storage) const {
    if (!storage) return;
    for (const Entry& e : entries_) {
      if (!e.Saved()) continue;
      const TVariant value = e.get(object);
      const bool write = e.write == EWriteRule::kIf ? e.writeIf(object) : ShouldWriteProperty(e, value);
      if (write) WritePropertyValue(e, storage, value);
    }
  }
  bool Get(const C& object, std::string_view name, TVariant& value) const {
    const Entry* e = Find(name);
    if (!e || !e->Readable()) return false;
    value = PublicPropertyValue(*e, e->get(object));
    return true;
  }
  bool Set(C& object, std::string_view name, const TVariant& value) const {
    const Entry* e = Find(name);
    if (!e || !e->set || !e->Writable()) return false;
    e->set(object, AssignedPropertyValue(*e, value, e->get(object)));
    return true;
  }

  const Entry* Find(std::string_view name) const {
    const auto it = index_.find(name);
    return it == index_.end() ? nullptr : &entries_[it->second];
  }
  const std::vector<Entry>& Entries() const { return entries_; }

  // IPropertyTable
  void LoadObject(TAbstractObject& object, const StorageRef& storage) const override {
    Load(static_cast<C&>(object), storage);
  }
  void SaveObject(const TAbstractObject& object, const StorageRef& storage) const override {
    Save(static_cast<const C&>(object), storage);
  }
  bool GetObjectProperty(const TAbstractObject& object, std::string_view name,
                         TVariant& value) const override {
    return Get(static_cast<const C&>(object), name, value);
  }
  bool SetObjectProperty(TAbstractObject& object, std::string_view name,
                         const TVariant& value) const override {
    return Set(static_cast<C&>(object), name, value);
  }
  const TPropertyInfo* FindProperty(std::string_view name) const override { return Find(name); }

private:
  static bool Loads(const Entry& e) { return e.set && e.Loaded(); }

  // A data member.
  template <PropertyMember A>
  TPropertyTable& Add(EPropertyKind kind, std::string key, A member, TVariant def) {
    static_assert(std::is_member_object_pointer_v<A>, "pass a data member, or a getter and a setter");
    using R = std::remove_cvref_t<decltype(std::declval<const C&>().*member)>;
    Entry e;
    e.get = [member](const C& c) { return property_detail::ToVariant(c.*member); };
    e.set = [member](C& c, const TVariant& v) { c.*member = property_detail::FromVariant<R>(v); };
    return Put(Prepare<R>(std::move(e), kind, std::move(key), std::move(def)));
  }
  // A getter and a setter (or nullptr).
  template <class G, class S>
  TPropertyTable& Add(EPropertyKind kind, std::string key, G get, S set, TVariant def) {
    using R = std::remove_cvref_t<std::invoke_result_t<G, const C&>>;
    Entry e;
    e.get = [get](const C& c) { return property_detail::ToVariant(std::invoke(get, c)); };
    if constexpr (!std::is_null_pointer_v<S>)
      e.set = [set](C& c, const TVariant& v) { std::invoke(set, c, property_detail::FromVariant<R>(v)); };
    return Put(Prepare<R>(std::move(e), kind, std::move(key), std::move(def)));
  }
  // The default as the accessor's own type would hold it, so a float member
  // compares equal to its default.
  template <class R>
  static Entry Prepare(Entry e, EPropertyKind kind, std::string key, TVariant def) {
    e.key = std::move(key);
    e.kind = kind;
    e.def = PropertyValue(
        kind, property_detail::ToVariant(property_detail::FromVariant<R>(PropertyValue(kind, def))));
    auto get = std::move(e.get);
    e.get = [get, kind](const C& c) { return PropertyValue(kind, get(c)); };
    return e;
  }
  TPropertyTable& Put(Entry e) {
    if (const auto it = index_.find(e.key); it != index_.end()) {
      last_ = it->second;
      entries_[last_] = std::move(e);
    } else {
      last_ = entries_.size();
      index_.emplace(e.key, last_);
      entries_.push_back(std::move(e));
    }
    return *this;
  }
  TPropertyTable& Rule(EWriteRule rule) {
    entries_[last_].write = rule;
    return *this;
  }
  TPropertyTable& Flag(unsigned flag) {
    entries_[last_].flags |= flag;
    return *this;
  }

  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t, property_detail::TextHash, property_detail::TextEqual> index_;
  size_t last_ = 0;
};

}  // namespace qv

// Declares a class's property table (defined in its .cpp) and makes it the
// one the persist object base runs for the class. Place it in the public
// part of the class.
#define QV_PROPERTY_TABLE(Class)                                  \
  static const ::qv::TPropertyTable<Class>& Properties();         \
  const ::qv::IPropertyTable& GetPropertyTable() const override { \
    return Properties();                                          \
  }
