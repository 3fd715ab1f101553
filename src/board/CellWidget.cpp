#include "board/CellWidget.h"

#include "board/GameBoardControl.h"
#include "core/Random.h"
#include "screens/ScreenSupport.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

TCellWidget::TCellWidget() {
  SetStorageName("widget");
}

const TPropertyTable<TCellWidget>& TCellWidget::Properties() {
  using W = TCellWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TVisualGroupWidget::Properties())
                                             .Int("Flowercolor", &W::flower_, kNoColour)
                                             .Int("Cellcolor", &W::colour_, kNoColour)
                                             .Int("Celltype", &W::kind_, kCellNone)
                                             .String("flowername", &W::flowerName_, "flower")
                                             .String("lockname", &W::lockName_, "lock")
                                             .String("backgroundname", &W::backgroundName_, "background")
                                             .String("conturname", &W::contourName_, "contour");
  return table;
}

void TCellWidget::AddPicture(const std::string& factory, const std::string& param, int32_t value,
                             const std::string& childName) {
  RemovePicture(childName);
  const Ref<TParamCollection> params =
      param.empty() ? MakeParams({}) : MakeParams({{param.c_str(), std::to_string(value)}});
  const Ref<IWidget> picture = CreateWidget(factory, params.get());
  if (!picture) return;  // the factory lookup has reported it
  picture->SetName(childName);
  InsertWidget(picture);
}

void TCellWidget::RemovePicture(const std::string& childName) {
  const Ref<IWidget> old = GetChild(childName);
  if (!old) return;
  if (childName == flowerName_ && board_) {
    widgets_->DeleteWidget(childName);
    board_->ReleaseFlowerWidget(old);
    return;
  }
  widgets_->DeleteWidget(childName);
}

void TCellWidget::SetCell(int32_t colour, int32_t kind) {
  colour_ = colour;
  kind_ = kind;
  RemovePicture(backgroundName_);
  RemovePicture(contourName_);
  RemovePicture(lockName_);
  if (kind == kCellComplete) {
    AddPicture("CellTypeComplete", "", 0, backgroundName_);
  } else {
    AddPicture("CellTypeNormal", "Cellcolor", colour >= 0 ? colour / 10 : -1, backgroundName_);
    if (colour >= 0) AddPicture("CellTypeFlowerContur", "Celltype", colour % 10, contourName_);
  }
  if (kind == kCellDouble) AddPicture("CellTypeDouble", "", 0, lockName_);
  if (kind == kCellTriple) AddPicture("CellTypeTriple", "", 0, lockName_);
  UpdateContour();
}

void TCellWidget::UpdateContour() {
  const Ref<IWidget> contour = GetContourWidget();
  if (!contour) return;
  const bool hasFlower = flower_ != kNoColour && GetFlowerWidget();
  if (!hasFlower || !flowerShown_) {
    contour->SetVisible(true);
    contour->SetPaused(true);
  } else if (flower_ == colour_) {
    contour->SetVisible(true);
    contour->SetPaused(false);
  } else {
    contour->SetVisible(false);
  }
}

void TCellWidget::ShowFlower(bool visible) {
  flowerShown_ = visible;
  if (const Ref<IWidget> flower = GetFlowerWidget()) flower->Show(visible);
  UpdateContour();
}

void TCellWidget::SetFlower(int32_t code) {
  RemovePicture(flowerName_);
  flower_ = code;
  if (code != kNoColour && board_) {
    if (const Ref<IWidget> flower = board_->TakeFlowerWidget(code)) {
      flower->SetName(flowerName_);
      flower->SetAnchorLeft(0);
      flower->SetAnchorTop(0);
      flower->SetTransparentLevel(255);
      InsertWidget(flower);
      flower->Show(flowerShown_);
    }
  }
  UpdateContour();
}

Ref<IWidget> TCellWidget::TakeFlower() {
  Ref<IWidget> flower = GetFlowerWidget();
  if (flower) widgets_->DeleteWidget(flowerName_);
  flower_ = kNoColour;
  UpdateContour();
  return flower;
}

void TCellWidget::PutFlower(const Ref<IWidget>& flower, int32_t code) {
  RemovePicture(flowerName_);
  flower_ = code;
  if (flower) {
    flower->SetName(flowerName_);
    InsertWidget(flower);
    flower->Show(flowerShown_);
  }
  UpdateContour();
}

void TCellWidget::SetFlowerOffset(double x, double y) {
  if (const Ref<IWidget> flower = GetFlowerWidget()) {
    flower->SetAnchorLeft(x);
    flower->SetAnchorTop(y);
  }
}

void TCellWidget::Shine() {
  if (flower_ == kArtifact) {
    const Ref<TParamCollection> params =
        MakeParams({{"Effect", std::to_string(RandomInt(2) + 1)}, {"delay", "0"}});
    if (const Ref<IWidget> effect = CreateWidget("ShineArtifact", params.get())) InsertWidget(effect);
    return;
  }
  if (const Ref<IWidget> background = GetBackgroundWidget()) background->Restart();
}

void TCellWidget::HidePictures() {
  for (const std::string* name : {&flowerName_, &lockName_, &backgroundName_, &contourName_})
    if (const Ref<IWidget> picture = GetChild(*name)) picture->Show(false);
  flowerShown_ = false;
}

void TCellWidget::ShowBase() {
  if (const Ref<IWidget> background = GetBackgroundWidget()) background->Show(true);
  UpdateContour();
}

void TCellWidget::ShowLock(bool visible) {
  if (const Ref<IWidget> lock = GetLockWidget()) lock->Show(visible);
}

}  // namespace qv
