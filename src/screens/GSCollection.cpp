#include "screens/GSCollection.h"

#include "core/Diagnostics.h"

namespace qv {

bool TGSCollection::AddScreen(const Ref<IGameScreenSlave>& screen) {
  return screen && AddByName(screen);
}

void TGSCollection::AddItem(const Ref<IInterface>& item) {
  if (!Query<IGameScreenSlave>(item)) {
    ReportDataError("gamescreens", "an item that is not a game screen is dropped");
    return;
  }
  AddByName(item);
}

}  // namespace qv
