// One existing cell of the board on screen: a visual group holding the
// cell's background, the contour of the flower that completes it, its lock
// and its flower. It shows what the board has shown so far, which may lag
// behind the rules while an animation runs; at rest both agree.
#pragma once

#include <cstdint>
#include <string>

#include "game/BoardTypes.h"
#include "widgets/VisualGroupWidget.h"

namespace qv {

class TGameBoardControl;

class TCellWidget : public TVisualGroupWidget {
public:
  TCellWidget();

  // "Flowercolor", "Cellcolor", "Celltype" (what the cell shows) and the
  // names of its four pictures: "flowername", "lockname",
  // "backgroundname", "conturname".
  QV_PROPERTY_TABLE(TCellWidget)

  // The board the cell takes its pictures and flowers from (a back-pointer
  // set when the board builds the cell).
  void SetBoard(TGameBoardControl* board) { board_ = board; }
  TGameBoardControl* GetBoard() const { return board_; }
  TCellPos GetPos() const { return pos_; }
  void SetPos(TCellPos pos) { pos_ = pos; }

  // Shows or hides the flower picture and sets the contour: with the flower
  // hidden the contour is a still outline; shown, it runs when the flower
  // is the required colour and is hidden otherwise.
  void ShowFlower(bool visible);
  bool IsFlowerShown() const { return flowerShown_; }
  int32_t GetFlower() const { return flower_; }
  // A new flower picture for the code (-1 none), the old one going back
  // to the board's pool.
  void SetFlower(int32_t code);
  int32_t GetCellColour() const { return colour_; }
  int32_t GetKind() const { return kind_; }
  // Rebuilds the background, contour and lock pictures for the colour and kind.
  void SetCell(int32_t colour, int32_t kind);

  Ref<IWidget> GetFlowerWidget() { return GetChild(flowerName_); }
  Ref<IWidget> GetBackgroundWidget() { return GetChild(backgroundName_); }
  Ref<IWidget> GetContourWidget() { return GetChild(contourName_); }
  Ref<IWidget> GetLockWidget() { return GetChild(lockName_); }
  // An artifact runs "ShineArtifact" with a drawn "Effect" 1 or 2; any
  // other cell restarts its background's animation.
  void Shine();
  // The four pictures hidden (the level start shows them one by one).
  void HidePictures();
  // The background and contour shown (flower and lock stay as they are).
  void ShowBase();
  // The lock picture shown or hidden.
  void ShowLock(bool visible);
  // A falling flower changes cells: the widget leaves this cell (which
  // becomes empty) and enters another with its code.
  Ref<IWidget> TakeFlower();
  void PutFlower(const Ref<IWidget>& flower, int32_t code);
  // Where the flower picture is drawn, from the cell's centre (animations).
  void SetFlowerOffset(double x, double y);

protected:
  ~TCellWidget() override = default;

private:
  // A picture from the board's factories, named and inserted; nothing
  // when the factory is missing (reported by the factory lookup).
  void AddPicture(const std::string& factory, const std::string& param, int32_t value,
                  const std::string& childName);
  void RemovePicture(const std::string& childName);
  void UpdateContour();

  TGameBoardControl* board_ = nullptr;
  TCellPos pos_;
  int32_t flower_ = kNoColour;
  int32_t colour_ = kNoColour;
  int32_t kind_ = kCellNone;
  bool flowerShown_ = true;
  std::string flowerName_ = "flower";
  std::string lockName_ = "lock";
  std::string backgroundName_ = "background";
  std::string contourName_ = "contour";
};

}  // namespace qv
