// Key input mode as a person meets it: each code of the key table typed as
// keys, or handed to JoyToKey as its key index with the exact messages and
// pauses, the two codes that show JoyToKey, and the codes of no key.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/key_table.h"
#include "hopla_fixture.h"
#include "sim_test_support.h"

namespace hopla {
namespace {

using Events = std::vector<std::string>;
using sim::testing::TextsOf;

class KeyInputTest : public HoplaTest {
 protected:
  void SetUp() override {
    Start();
    joytokey_ = desk_.AddWindow({"JoyToKey 6.9", {}, nullptr, false});
    Do([this] { State().KeyMode = true; });
  }

  void UseJoyToKey() {
    InstallJoyToKey(false);
    TickJoyToKey();
  }

  // The next execution runs `code` in key input mode, and its pauses end.
  void RunCode(const std::string& code) {
    Do([&] { State().PressCode.Set(code); });
    desk_.ClearTrace();
    const size_t executions = desk_.TraceOf("flash").size();
    ASSERT_TRUE(desk_.RunUntil(
        [&] { return desk_.TraceOf("flash").size() > executions; }, 2000));
    desk_.RunFor(600);
  }

  // Key events, and what went to JoyToKey's window (not its heartbeat),
  // with the time since the first of them.
  Events Typed() const {
    Events typed;
    const std::string to = std::to_string(joytokey_) + " ";
    int64_t first = -1;
    for (const auto& entry : desk_.Trace()) {
      const bool key = entry.kind == "key";
      const bool message = entry.kind == "send" &&
                           entry.text.rfind(to, 0) == 0 &&
                           entry.text.find(" 33768 ") == std::string::npos;
      if (!key && !message) continue;
      if (first < 0) first = entry.time_ms;
      typed.push_back(
          (key ? "key " + entry.text : "send " + entry.text.substr(to.size())) +
          " +" + std::to_string(entry.time_ms - first));
    }
    return typed;
  }

  WindowHandle joytokey_ = kNoWindow;
};

class KeyTableTest : public KeyInputTest,
                     public ::testing::WithParamInterface<KeyCode> {};

// Without JoyToKey a row with a first key types four key events (the two in
// the middle with virtual key 0 when there is no second key); with JoyToKey,
// and for the rows without a key, its key index goes to JoyToKey: 33788,
// 33779, 100 ms, 33778.
TEST_P(KeyTableTest, EachCodeTypesItsKeysOrHandsItsIndexToJoyToKey) {
  const KeyCode& row = GetParam();
  for (const bool joytokey : {false, true}) {
    if (joytokey) UseJoyToKey();
    // Without JoyToKey in use its window is still the one last found.
    Do([this] { State().JoyToKeyWindow = joytokey_; });
    RunCode(std::string(row.code));
    const Events typed = Typed();
    ASSERT_FALSE(typed.empty()) << row.code;
    if (row.first_key != 0 && !joytokey) {
      const std::string first = std::to_string(row.first_key);
      const std::string second = std::to_string(row.second_key);
      EXPECT_EQ(
          typed,
          (Events{"key " + first + " down +0", "key " + second + " down +0",
                  "key " + second + " up +0", "key " + first + " up +0"}))
          << row.code;
    } else {
      const std::string index = std::to_string(row.key_index);
      EXPECT_EQ(typed,
                (Events{"send 33788 0 48 +0", "send 33779 0 " + index + " +0",
                        "send 33778 0 " + index + " +100"}))
          << row.code << (joytokey ? " with JoyToKey" : "");
    }
    EXPECT_EQ(State().PressCode.Get(), "KEY1");
  }
}

INSTANTIATE_TEST_SUITE_P(Table, KeyTableTest, ::testing::ValuesIn(kKeyCodes),
                         [](const auto& info) {
                           return std::string(info.param.code);
                         });

TEST_F(KeyInputTest, ShowCodesMessageJoyToKeyAndBringItForward) {
  UseJoyToKey();
  RunCode("KEY101");
  EXPECT_EQ(Typed(), (Events{"send 33789 0 0 +0"}));
  const auto forward = desk_.TraceOf("foreground");
  ASSERT_EQ(forward.size(), 1u);
  EXPECT_EQ(forward[0].text, std::to_string(joytokey_));
  for (const auto& send : desk_.TraceOf("send")) {
    if (send.text.find(" 33789 ") == std::string::npos) continue;
    EXPECT_EQ(forward[0].time_ms, send.time_ms + 500);  // the pause
  }
  RunCode("KEY1001");
  EXPECT_EQ(Typed(), (Events{"send 33790 0 0 +0"}));
  EXPECT_TRUE(desk_.TraceOf("foreground").empty());
}

TEST_F(KeyInputTest, NoKeyCodesTypeNothingAndLeavingKeepsTheCode) {
  for (const char* code : {"KEY1", "KEY", "KEY1111111", "KEY0"}) {
    RunCode(code);
    EXPECT_TRUE(Typed().empty()) << code;
    EXPECT_EQ(State().PressCode.Get(), "KEY1");
  }
  // Leaving the mode from "KEY1" makes "KEY11": in mouse mode, nothing.
  Do([this] {
    State().KeyMode = false;
    State().PressCode.Set("KEY11");
  });
  desk_.ClearTrace();
  desk_.RunFor(1100);
  EXPECT_TRUE(EventsOf({"key", "mouse", "post"}).empty());
  EXPECT_EQ(State().PressCode.Get(), "");
}

// Handing a key to a JoyToKey that takes 400 ms over each message, the
// program still answers what is sent to its window: Windows' shut-down query
// and a close, each at once; the close ends the program, with no box after
// the question.
TEST_F(KeyInputTest, ShutDownAndCloseSentDuringAWaitForJoyToKeyAreAnswered) {
  UseJoyToKey();
  desk_.SetBusy(joytokey_, 400);
  Do([this] { State().PressCode.Set("KEY1100"); });
  const std::string begin = std::to_string(joytokey_) + " 33788 0 48";
  ASSERT_TRUE(desk_.RunUntil(
      [&] {
        const auto sent = TextsOf(desk_, "send");
        return std::find(sent.begin(), sent.end(), begin) != sent.end();
      },
      2000));
  const int64_t waiting = desk_.Now();
  process_->SendAt(waiting + 50, hopla_->Handle(), kWmQueryEndSession, 0, 0);
  process_->SendAt(waiting + 100, hopla_->Handle(), kWmClose, 0, 0);
  desk_.RunFor(3000);
  EXPECT_EQ(process_->LastEndSessionAnswer(), std::optional<bool>(true));
  const auto boxes = desk_.TraceOf("msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].time_ms, waiting + 100);
  EXPECT_FALSE(process_->Running());
  EXPECT_LT(process_->LongestSilence().ms, 250);
}

// While the cursor walks, executions take the normal branch even in key
// input mode: "1" stops the walk, no key is typed.
TEST_F(KeyInputTest, WalkingCursorTakesTheNormalBranch) {
  Do([this] {
    State().KeyMode = false;
    State().PressCode.Set("0");
  });
  desk_.RunFor(1100);
  ASSERT_TRUE(State().Moving);
  Do([this] { State().KeyMode = true; });
  desk_.RunFor(Enter("1") - desk_.Now() + 1100);
  EXPECT_FALSE(State().Moving);
  EXPECT_EQ(State().Direction, 0);
  EXPECT_TRUE(EventsOf({"key"}).empty());
}

}  // namespace
}  // namespace hopla
