// One dirty pass over a widget tree. Nothing moves while it runs, so a
// group may keep what it computed in it (its bounds, its children's screen
// origin) for the rest of the same pass instead of walking its children
// again for every ancestor that asks. The outermost group of a pass opens
// it; passes are numbered, and outside every pass the number is 0, so
// nothing computed in a pass is trusted after it.
#pragma once

#include <cstdint>

namespace qv {

class TDirtyPass {
public:
  TDirtyPass() {
    if (depth_++ == 0) ++number_;
  }
  ~TDirtyPass() { --depth_; }
  TDirtyPass(const TDirtyPass&) = delete;
  TDirtyPass& operator=(const TDirtyPass&) = delete;

  // The running pass, 0 outside every pass.
  static uint64_t Current() { return depth_ > 0 ? number_ : 0; }

private:
  static inline int depth_ = 0;
  static inline uint64_t number_ = 0;
};

}  // namespace qv
