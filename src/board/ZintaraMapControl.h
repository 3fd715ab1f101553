// One page of the map. Its description lists the map levels ("maplevels",
// each "maplevel" with "name" (the level number), "anchor_left",
// "anchor_top", "z": the point the mascot stands on) and the locations
// ("locations", each "location" with a "name" and its "levels" as "level"
// children with a "number"). Its children are the level buttons
// ("maplevel" followed by the number), the locations' buttons ("button_"
// followed by a level number), the location widgets and the mascot
// ("quib").
//
// The screen tells it the difficulty ("Difficulty") and then either the
// current level ("level": the mascot stands on it) or a walk to it
// ("animate_quib": the mascot walks from the level before), and asks for
// a location's unlock animation ("animate_level").
#pragma once

#include <string>
#include <vector>

#include "controls/ControlWidget.h"

namespace qv {

// The last level of the map; reaching it by a walk is remembered.
inline constexpr int kMapLastWalkLevel = 70;

class TZintaraMapControl : public TControlWidget {
public:
  struct TMapLevel {
    int number = 0;
    int x = 0;
    int y = 0;
    int z = 0;
  };
  struct TLocation {
    std::string name;
    std::vector<int> levels;
    int First() const;
    int Last() const;
  };

  // "Difficulty", "level", "animate_quib", "animate_level" as properties.
  QV_PROPERTY_TABLE(TZintaraMapControl)

  // The control, then the map levels and the locations.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  int GetDifficulty() const { return difficulty_; }
  void SetDifficulty(int value) { difficulty_ = value; }
  int GetLevel() const { return level_; }
  // The mascot stands on level n; buttons and locations follow.
  void SetLevel(int n);
  // The mascot walks from level n - 1 to level n; the buttons and the
  // locations show level n - 1 until the screen sets level n. A page
  // without both levels hides the mascot and shows level n.
  void AnimateQuib(int n);
  // Every location widget's unlock animation of level n.
  void AnimateLevel(int n);

  const TMapLevel* FindMapLevel(int number) const;
  const std::vector<TMapLevel>& GetMapLevels() const { return mapLevels_; }
  const std::vector<TLocation>& GetLocations() const { return locations_; }
  // Complete: difficulty above 1 or the current level not below its last.
  bool IsLocationComplete(const TLocation& location) const;
  // The location (of the data) holding level n; null when none.
  const TLocation* LocationOf(int n) const;
  // The location whose level the last walk started from ("" when none).
  const std::string& GetMarkedLocation() const { return marked_; }
  bool ReachedLastLevel() const { return reachedLast_; }
  int GetWalkFrom() const { return walkFrom_; }

protected:
  ~TZintaraMapControl() override = default;

private:
  void Build();
  // The level buttons, the locations' buttons and the location widgets
  // for level n.
  void ShowLevel(int n);
  Ref<IWidget> Quib();
  int GetZero() const { return 0; }
  void Report(const std::string& what);

  std::vector<TMapLevel> mapLevels_;
  std::vector<TLocation> locations_;
  bool built_ = false;
  int difficulty_ = 1;
  int level_ = 0;
  int walkFrom_ = 0;
  bool reachedLast_ = false;
  std::string marked_;
};

}  // namespace qv
