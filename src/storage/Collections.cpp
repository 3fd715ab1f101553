#include "storage/Collections.h"

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"

namespace qv {

std::string TKeySequence::Next() {
  if (last_.empty()) {
    last_.assign(1, '!');
  } else if (last_.back() == 'Z') {
    last_ += '!';
  } else {
    ++last_.back();
  }
  return last_;
}

void TKeySequence::Observe(const std::string& key) {
  if (CompareText(key, last_) > 0) last_ = key;
}

int TCollection::AddNamed(const Ref<IInterface>& item) {
  std::optional<std::string> key;
  if (const auto* named = dynamic_cast<const INamedObject*>(item.get()); named && !named->GetName().empty())
    key = named->GetName();
  return items_.Add(std::move(key), item);
}

void TPersistCollection::LoadFromStorage(const StorageRef& storage) {
  if (!storage) return;
  const int n = storage->GetChildCount(itemElementName_);
  for (int i = 0; i < n; ++i) {
    if (auto child = storage->GetChild(itemElementName_, i)) LoadItem(child);
  }
}

void TPersistCollection::SaveToStorage(const StorageRef& storage) {
  if (!storage) return;
  for (int i = 0; i < Count(); ++i) {
    auto child = storage->AddChild(itemElementName_);
    if (child && !SaveItem(Item(i), child)) storage->RemoveChild(child);
  }
}

void TPersistItemCollection::LoadItem(const StorageRef& storage) {
  Ref<IInterface> item = CreateItem(storage);
  if (!item) return;
  if (auto persistent = Query<IPersistent>(item)) persistent->Load(storage);
  AddItem(item);
}

bool TPersistItemCollection::SaveItem(const Ref<IInterface>& item, const StorageRef& storage) {
  auto persistent = Query<IPersistent>(item);
  if (!persistent) return false;
  if (auto ex = Query<IPersistentEx>(item); ex && !ex->IsStored()) return false;
  persistent->Save(storage);
  return true;
}

bool TPersistItemCollection::AddByName(const Ref<IInterface>& item) {
  if (AddNamed(item) >= 0) return true;
  const auto* named = dynamic_cast<const INamedObject*>(item.get());
  ReportDataError(GetStorageName().empty() ? GetItemElementName() : GetStorageName(),
                  "a second item named \"" + (named ? named->GetName() : std::string()) +
                      "\" (names ignore case) is dropped");
  return false;
}

void TPersistItemCollection::AddKeepingAll(const Ref<IInterface>& item) {
  if (AddNamed(item) < 0) Insert(-1, std::nullopt, item);
}

Ref<IInterface> TTypedCreationPersistItemCollection::CreateItem(const StorageRef& storage) {
  return CreateFromType(ReadString(storage, "type", ""), ReadString(storage, "name", ""));
}

}  // namespace qv
