// A person who has only the switch: walks Hopla's walking cursor onto a
// rectangle with the codes of mouse mode and clicks it there, watching the
// cursor as they would watch the screen, and going by what the cursor does
// rather than by what a press should have done. Nothing but the switch moves
// or clicks.
#ifndef HOPLA_TESTS_WIN32_SWITCH_WALKER_H_
#define HOPLA_TESTS_WIN32_SWITCH_WALKER_H_

#include <windows.h>

#include <functional>
#include <string>

#include "hopla_program.h"

namespace hopla::wine_test {

class SwitchWalker {
 public:
  // `hopla` runs with four directions, the timing of QuickSettings and its
  // cursor standing.
  explicit SwitchWalker(HoplaProgram& hopla) : hopla_(hopla) {}

  // Walks the cursor until it stands inside `target` (screen pixels) and
  // clicks there with "1", again if need be, until `clicked` holds. False
  // when that did not come within a bounded number of tries; "1" is never
  // pressed on a standing cursor outside `target`.
  bool ClickOn(const RECT& target, const std::function<bool()>& clicked);

  // What was pressed and where the cursor went.
  const std::string& log() const { return log_; }

 private:
  // The four directions, numbered as the program numbers them.
  enum Heading { kStanding = 0, kRight = 1, kDown = 2, kLeft = 3, kUp = 4 };
  // How a walk on one axis ends: "1", or "0" turning into the other axis.
  enum Finish { kStop = 0, kTurn = 1 };
  // The band of one axis the cursor should end in, ends included.
  struct Leg {
    bool vertical;
    LONG low;
    LONG high;
    bool Holds(LONG at) const { return at >= low && at <= high; }
    double Centre() const { return (low + high) / 2.0; }
    // The heading along this axis towards the centre.
    Heading Toward(LONG at) const;
  };
  enum class Outcome { kDone, kPassed, kFailed };

  bool WalkOnto(const Leg& across, const Leg& down);
  // From standing, codes that walk towards `heading`. True when the cursor
  // walks afterwards, whichever way.
  bool Start(Heading heading);
  // Enters `code`, then watches which way the cursor goes.
  void Enter(const std::string& code);
  // Sets heading_ to the way the cursor walks, or standing when it has not
  // walked within `timeout_ms`. True when it walks.
  bool Watch(int timeout_ms);
  // Walks on towards the leg's centre and ends there as `then` says, or,
  // when too late to end there, walks past far enough to come back.
  Outcome Approach(const Leg& leg, Heading then);
  void FinishAt(LONG pressed_at, const Leg& leg, Heading then);
  bool StandsStill();
  static LONG Along(const Leg& leg);
  void Log(const std::string& line);

  HoplaProgram& hopla_;
  Heading heading_ = kStanding;
  // Pixels per millisecond, learnt on the way; 0 until then.
  double speed_ = 0;
  // From the switch going down to the cursor standing, for each finish: a
  // first guess, refined by every finish as a running mean.
  double lag_ms_[2] = {30, 30};
  int lag_count_[2] = {0, 0};
  std::string log_;
};

}  // namespace hopla::wine_test

#endif  // HOPLA_TESTS_WIN32_SWITCH_WALKER_H_
