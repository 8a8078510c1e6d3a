// The executor's tests' fixture: the program started, the cursor standing
// at 300, 200, and what a code did.
#ifndef HOPLA_TESTS_EXECUTOR_FIXTURE_H_
#define HOPLA_TESTS_EXECUTOR_FIXTURE_H_

#include <string>
#include <vector>

#include "hopla_fixture.h"

namespace hopla {

using Events = std::vector<std::string>;

class ExecutorTest : public HoplaTest {
 protected:
  void SetUp() override {
    Start();
    Do([this] {
      State().CursorX = 300;
      State().CursorY = 200;
    });
    desk_.ClearTrace();
  }

  // The next execution runs `code`, with the cursor standing. Returns once
  // it has run (or waits in a pause or a box).
  void RunCode(const std::string& code) {
    Do([&] { State().PressCode.Set(code); });
    const size_t executions = desk_.TraceOf("flash").size();
    ASSERT_TRUE(desk_.RunUntil(
        [&] { return desk_.TraceOf("flash").size() > executions; }, 2000));
  }

  WindowHandle AddWindow(const std::string& title, Rect rect = {}) {
    return desk_.AddWindow({title, rect, nullptr, false});
  }

  // What the code did to the mouse, the keys, other windows and the shell.
  Events Done() const { return EventsOf({"mouse", "key", "post", "shell"}); }

  // Changes the extended settings as the dialog would.
  void SetExtended(void (*change)(ExtendedSettings&)) {
    Do([this, change] {
      ExtendedSettings values = hopla_->Extended();
      change(values);
      hopla_->SetExtended(values);
    });
  }
};

}  // namespace hopla

#endif  // HOPLA_TESTS_EXECUTOR_FIXTURE_H_
