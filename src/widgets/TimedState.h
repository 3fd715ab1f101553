// The schedule that animations, blinks and sound widgets share: a start
// delay, the running part, a cycle delay between loops, finished.
#pragma once

namespace qv {

enum ETimedState : int { kStateStartDelay = 0, kStateRunning = 1, kStateCycleDelay = 2, kStateFinished = 3 };

// Back to the start delay, active again (Restart, and a loop switched on
// after the end).
inline void RewindSchedule(int& state, bool& active) {
  state = kStateStartDelay;
  active = true;
}

// "loop" written: switching it on revives a finished schedule.
inline void SetScheduleLoop(bool value, bool& loop, int& state, bool& active) {
  loop = value;
  if (value && state == kStateFinished) RewindSchedule(state, active);
}

}  // namespace qv
