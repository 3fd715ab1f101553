// Game screens by index or name: the game's collection of all its screens
// (element "gamescreens", items "gamescreen" created by their "type") and,
// filled by the game, its stack of shown screens.
#pragma once

#include <string>

#include "screens/IGSCollection.h"
#include "screens/IGameScreenSlave.h"
#include "storage/Collections.h"

namespace qv {

class TGSCollection : public TTypedCreationPersistItemCollection, public IGSCollection {
public:
  TGSCollection() {
    SetStorageName("gamescreens");
    SetItemElementName("gamescreen");
  }

  int GetCount() const override { return Count(); }
  Ref<IGameScreenSlave> GetItem(int index) override { return ItemAs<IGameScreenSlave>(index); }
  Ref<IGameScreenSlave> GetItem(const std::string& name) override {
    return ItemAs<IGameScreenSlave>(std::string_view(name));
  }
  // Keyed by name: a second screen of a name (in any case) is dropped and
  // reported, like a loaded item that is no screen.
  bool AddScreen(const Ref<IGameScreenSlave>& screen);
  void AddItem(const Ref<IInterface>& item) override;

protected:
  ~TGSCollection() override = default;
};

}  // namespace qv
