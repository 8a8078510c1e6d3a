// The real program from outside, pressed only through the test switch: what
// each code does to a window of another program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hopla_program.h"

namespace hopla::wine_test {
namespace {

constexpr RECT kLoggerRect{40, 40, 440, 240};
constexpr RECT kButtonRect{200, 100, 300, 160};

TEST(Win32BlackBox, StandingLeftClickReachesTheWindowUnderTheCursor) {
  auto logger = InputLogger::Start(kLoggerRect, kButtonRect);
  ASSERT_NE(logger, nullptr);
  TempFolder folder;
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(4));
  ASSERT_NE(hopla, nullptr);
  SetCursorPos(100, 200);
  hopla->Run("1");
  ASSERT_TRUE(logger->WaitForLines(2, 3000));
  EXPECT_EQ(logger->Lines(),
            (std::vector<std::string>{"ldown 100 200 -", "lup 100 200 -"}));
  EXPECT_TRUE(hopla->Quit());
}

}  // namespace
}  // namespace hopla::wine_test
