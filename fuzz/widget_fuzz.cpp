// Widget trees as screens and previews load them: the storage text created
// by its "type", put under a top owner on an engine without a window, run
// for a few frames (time, the dirty pass, drawing), hit-tested and asked
// for its picture.
#include "FuzzSupport.h"
#include "app/Engine.h"
#include "app/TopWidgetOwner.h"
#include "graphics/Surface.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "widgets/IWidget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  TEngine* engine = &fuzz::HeadlessEngine();
  const StorageRef root = LoadStorageText(std::string(fuzz::Bytes(data, size)));
  if (!root) return 0;
  const Ref<IWidget> widget = CreateFromNodeAs<IWidget>(root);
  if (!widget) return 0;
  const Ref<TTopWidgetOwner> owner = MakeRef<TTopWidgetOwner>(*engine);
  widget->SetOwner(owner.get());
  const Ref<TSurface> target = MakeRef<TSurface>(320, 240, false);
  for (int frame = 0; frame < 4; ++frame) {
    widget->Advance(frame == 2 ? 250 : 17);
    widget->UpdateDirtyRegion(false, false);
    target->SetClip(true, {0, 0, 320, 240});
    widget->Draw(target.get(), 0, 0);
    engine->ClearUpdateRects();
  }
  for (const TPoint point : {TPoint{0, 0}, TPoint{10, 10}, TPoint{160, 120}})
    (void)widget->WidgetAtPos(point);
  const TRect rect = widget->GetRect();
  if (rect.Width() > 0 && rect.Height() > 0 && rect.Width() <= 2048 && rect.Height() <= 2048)
    (void)widget->GetImage();
  widget->Detach();
  return 0;
}
