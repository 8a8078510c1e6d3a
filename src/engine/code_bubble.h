// The code bubble: while a code is entered, a small window beside the cursor
// shows the marks so far, a bar that fills during a hold, the command the
// code will run (named from the tables the execution uses) and the time
// until it runs. The heartbeat drives it at its ticks and at every poll of a
// hold; it needs no timer of its own and costs no drawing while hidden.
#ifndef HOPLA_ENGINE_CODE_BUBBLE_H_
#define HOPLA_ENGINE_CODE_BUBBLE_H_

#include <cstdint>
#include <optional>
#include <string>

#include "platform/bubble_view.h"
#include "platform/platform.h"
#include "shared/engine_state.h"
#include "toolkit/timer.h"

namespace hopla {

// The name of what `code` does now, as the execution would choose it.
std::string DescribeCode(const std::string& code, const EngineState& state,
                         bool joytokey_used, bool boost_allowed);

class CodeBubble {
 public:
  CodeBubble(Platform& platform, const EngineState& state,
             const Timer& execution_timer)
      : platform_(platform), state_(state), execution_timer_(execution_timer) {}

  // At a heartbeat tick: shows the code waiting to run, or hides.
  void Refresh();
  // At each poll of a hold.
  void Holding(int32_t hold_ticks);
  // Hides the bubble now (the program ends, the option is turned off).
  void Hide();

 private:
  // The marks the person has entered of `code`, the code waiting to run.
  static std::string EnteredMarks(const std::string& code);
  void Show(const BubbleView& view);

  Platform& platform_;
  const EngineState& state_;
  const Timer& execution_timer_;
  std::optional<BubbleView> shown_;
};

}  // namespace hopla

#endif  // HOPLA_ENGINE_CODE_BUBBLE_H_
