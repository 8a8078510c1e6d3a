// Running the press code as a person at the switch meets it: the walk's
// direction, boost and stop, each command of the code table while the cursor
// stands, the corner grab, the mouse software's messages, and JoyToKey's
// warning box, inside which the switch goes on working.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/command_table.h"
#include "executor_fixture.h"
#include "platform/sim/sim_widgets.h"

namespace hopla {
namespace {

struct CodeCase {
  const char* code;
  Events done;  // "FG" stands for the foreground window's handle
};

class CommandCodeTest : public ExecutorTest,
                        public ::testing::WithParamInterface<CodeCase> {};

TEST_P(CommandCodeTest, StandingCodeGivesExactlyItsEvents) {
  const WindowHandle editor = AddWindow("Editor", {50, 50, 400, 300});
  desk_.SetForeground(editor);
  RunCode(GetParam().code);
  Events expected;
  for (std::string event : GetParam().done) {
    if (const size_t at = event.find("FG"); at != std::string::npos) {
      event.replace(at, 2, std::to_string(editor));
    }
    expected.push_back(event);
  }
  EXPECT_EQ(Done(), expected);
  EXPECT_EQ(State().PressCode.Get(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandCodeTest,
    ::testing::Values(
        CodeCase{"1", {"mouse 32770 300,200", "mouse 32772 300,200"}},
        CodeCase{"01", {"mouse 32776 300,200", "mouse 32784 300,200"}},
        CodeCase{"11",
                 {"mouse 32770 300,200", "mouse 32772 300,200",
                  "mouse 32770 300,200", "mouse 32772 300,200"}},
        CodeCase{"010", {"mouse 32800 300,200", "mouse 32832 300,200"}},
        CodeCase{"100",
                 {"key 16 down", "mouse 32770 300,200", "mouse 32772 300,200",
                  "key 16 up"}},
        CodeCase{"101",
                 {"key 17 down", "mouse 32770 300,200", "mouse 32772 300,200",
                  "key 17 up"}},
        CodeCase{"110", {"mouse 32770 300,200"}},
        CodeCase{"0000", {"post FG 274 61536 0"}},
        CodeCase{"001", {"post FG 274 61472 0"}},
        CodeCase{"111", {"post FG 274 61488 0"}},
        // Nothing minimised yet: the restore goes to no window.
        CodeCase{"011", {"post 0 274 61728 0"}},
        CodeCase{"1010", {"shell Hopla.chm"}},
        // Codes of no command, and key input codes in mouse mode.
        CodeCase{"00000", {}}, CodeCase{"10", {}}, CodeCase{"KEY11", {}}),
    [](const auto& info) { return std::string("Code") + info.param.code; });

TEST_F(ExecutorTest, RestoreBringsBackWhatMinimiseOrMaximiseTookLast) {
  const WindowHandle first = AddWindow("First", {0, 0, 200, 200});
  const WindowHandle second = AddWindow("Second", {10, 10, 300, 300});
  desk_.SetForeground(first);
  RunCode("001");
  EXPECT_TRUE(desk_.IsMinimised(first));
  desk_.SetForeground(second);
  RunCode("111");
  EXPECT_TRUE(desk_.IsMaximised(second));
  RunCode("011");
  EXPECT_FALSE(desk_.IsMaximised(second));
  EXPECT_TRUE(desk_.IsMinimised(first));
  EXPECT_EQ(State().MinimisedWindow, second);
}

struct TurnCase {
  int32_t count;
  int32_t from;
  const char* code;
  int32_t to;
};

class TurnTest : public ExecutorTest,
                 public ::testing::WithParamInterface<TurnCase> {};

TEST_P(TurnTest, TurnsWrapOnceAroundTheDirectionCount) {
  Do([this] {
    State().DirectionCount = GetParam().count;
    State().Direction = GetParam().from;
  });
  RunCode(GetParam().code);
  EXPECT_EQ(State().Direction, GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, TurnTest,
    ::testing::Values(TurnCase{4, 0, "0", 1}, TurnCase{4, 0, "00", 2},
                      TurnCase{4, 4, "0", 1}, TurnCase{4, 3, "00", 1},
                      TurnCase{8, 8, "0", 1}, TurnCase{8, 7, "00", 1},
                      TurnCase{8, 8, "00", 2}));

// "110" holds the left button, "0" walks with it down (a drag), "0" and
// "00" turn, "1" stops the walk and lets go, once.
TEST_F(ExecutorTest, DragWalksTurnsAndStopsLettingGoOfTheButton) {
  desk_.RunFor(Enter("110") - desk_.Now() + 1100);
  EXPECT_TRUE(State().ButtonHeld);
  desk_.RunFor(Enter("0") - desk_.Now() + 1100);
  EXPECT_EQ(State().Direction, 1);
  EXPECT_TRUE(State().Moving);
  const Point walked_from = desk_.Cursor();
  desk_.RunFor(Enter("0") - desk_.Now() + 1100);
  EXPECT_EQ(State().Direction, 2);  // down, with four directions
  EXPECT_GT(desk_.Cursor().y, walked_from.y);
  desk_.RunFor(Enter("00") - desk_.Now() + 1100);
  EXPECT_EQ(State().Direction, 4);
  // Codes of the table are discarded while walking.
  desk_.RunFor(Enter("01") - desk_.Now() + 1100);
  desk_.RunFor(Enter("1") - desk_.Now() + 1100);
  EXPECT_EQ(State().Direction, 0);
  EXPECT_FALSE(State().Moving);
  EXPECT_FALSE(State().ButtonHeld);
  const Point stopped_at = desk_.Cursor();
  desk_.RunFor(3000);
  EXPECT_EQ(desk_.Cursor(), stopped_at);
  const auto mouse = EventsOf({"mouse"});
  ASSERT_EQ(mouse.size(), 2u);
  EXPECT_EQ(mouse[0].substr(0, 11), "mouse 32770");
  EXPECT_EQ(mouse[1].substr(0, 11), "mouse 32772");
}

TEST_F(ExecutorTest, BoostSwitchesOnlyWhenAllowed) {
  RunCode("000");
  EXPECT_EQ(State().SpeedFactor, 5);
  EXPECT_TRUE(State().SpeedBoost);
  RunCode("000");
  EXPECT_EQ(State().SpeedFactor, 1);
  EXPECT_FALSE(State().SpeedBoost);
  Do([this] { hopla_->ImadakeSokudo.SetChecked(false); });
  RunCode("000");
  EXPECT_EQ(State().SpeedFactor, 1);
  EXPECT_FALSE(State().SpeedBoost);
}

// The cursor goes to the foreground window's inner bottom-right corner and
// the left button goes down there, with one beep, however many windows the
// search visits.
TEST_F(ExecutorTest, CornerGrabBeepsOnceAndPressesAtTheCorner) {
  for (int i = 0; i < 5; ++i) AddWindow("Other " + std::to_string(i));
  const WindowHandle editor = AddWindow("Editor", {100, 100, 500, 400});
  desk_.SetForeground(editor);
  desk_.PlaceCursor({320, 240});
  RunCode("1000");
  EXPECT_EQ(EventsOf({"beep", "cursor", "mouse"}),
            (Events{"beep ", "cursor 499,399", "mouse 32770 320,240"}));
  EXPECT_EQ(desk_.Cursor(), (Point{499, 399}));
  EXPECT_TRUE(State().ButtonHeld);
  EXPECT_EQ(State().CommandState, kCommandCornerGrab);
}

TEST_F(ExecutorTest, CornerGrabOnThePadWindowStopsTheBeepForGood) {
  const WindowHandle pad =
      AddWindow("ムニパッド のプロパティ", {0, 0, 200, 100});
  const WindowHandle editor = AddWindow("Editor", {100, 100, 500, 400});
  desk_.SetForeground(pad);
  RunCode("1000");
  EXPECT_EQ(State().PadWindow, pad);
  desk_.SetForeground(editor);
  RunCode("1000");
  EXPECT_TRUE(desk_.TraceOf("beep").empty());
  EXPECT_EQ(desk_.Cursor(), (Point{499, 399}));
}

TEST_F(ExecutorTest, CornerGrabWithoutAForegroundWindowUsesTheLastRectangle) {
  desk_.SetForeground(kNoWindow);
  RunCode("1000");
  EXPECT_EQ(desk_.TraceOf("cursor").at(0).text, "0,0");  // (-1, -1) clamped
  EXPECT_EQ(State().CornerX, -1);
  EXPECT_EQ(State().CornerY, -1);
}

struct MouseSoftwareCase {
  bool hook;
  bool executive;
  intptr_t reply;
  Events sends;  // "H" and "E" stand for the two windows
};

class MouseSoftwareTest
    : public ExecutorTest,
      public ::testing::WithParamInterface<MouseSoftwareCase> {};

TEST_P(MouseSoftwareTest, SequenceFollowsTheExecutivesReply) {
  const MouseSoftwareCase& c = GetParam();
  WindowHandle hook = kNoWindow;
  WindowHandle executive = kNoWindow;
  if (c.hook) hook = AddWindow("Logitech GetMessage Hook");
  if (c.executive) {
    executive = desk_.AddWindow(
        {"Logitech E/M Executive",
         {},
         [&c](uint32_t, uintptr_t, intptr_t) { return c.reply; },
         false});
  }
  RunCode("1001");
  Events expected;
  for (std::string send : c.sends) {
    const WindowHandle to = send[0] == 'H' ? hook : executive;
    expected.push_back("send " + std::to_string(to) + send.substr(1));
  }
  EXPECT_EQ(EventsOf({"send"}), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, MouseSoftwareTest,
    ::testing::Values(
        MouseSoftwareCase{true,
                          true,
                          0,
                          {"H 2245 65533 4", "H 2245 65533 0", "E 2252 0 4",
                           "E 2252 0 0", "H 2245 65532 65540",
                           "H 2245 65532 65536", "E 2252 1 4", "E 2252 1 0"}},
        MouseSoftwareCase{
            true,
            true,
            7,
            {"H 2245 65533 4", "H 2245 65533 0", "E 2252 0 4", "E 2252 0 0"}},
        // No executive, no reply: the second half does not run.
        MouseSoftwareCase{true, false, 0, {"H 2245 65533 4", "H 2245 65533 0"}},
        MouseSoftwareCase{false, false, 0, {}}));

// JoyToKey's window has gone: the box is cleared, the program comes forward
// and, half a second after the box's handler, the warning opens. A person with
// one switch closes it by walking to its button, so the code pending when it
// opened and the codes entered inside it run while it stays open.
TEST_F(ExecutorTest, JoyToKeyWarningLetsTheSwitchWorkInsideIt) {
  desk_.AnswerMessageBoxes([](const MessageBoxArgs& box) {
    EXPECT_EQ(box.owner, kNoWindow);
    EXPECT_EQ(box.icon, MessageBoxIcon::kWarning);
    EXPECT_EQ(box.buttons, MessageBoxButtons::kOk);
    return sim::MessageBoxAnswer{DialogResult::kOk, 4000};
  });
  const WindowHandle joytokey = InstallJoyToKey();
  TickJoyToKey();
  desk_.RemoveWindow(joytokey);
  Do([this] { State().PressCode.Set("01"); });
  // The next execution; clearing the box takes its handler's second.
  ASSERT_TRUE(desk_.RunUntil(
      [this] { return !desk_.TraceOf("msgbox").empty(); }, 3000));
  const int64_t opened = desk_.Now();
  EXPECT_FALSE(hopla_->JtkUseCheckBox.Checked());
  EXPECT_EQ(desk_.TraceOf("msgbox").at(0).text,
            "エラー|JoyToKey Vre3.75以降を起動してください\n"
            "JoyToKeyを使うのチェックはクリアされました");
  const auto forward = desk_.TraceOf("foreground");
  ASSERT_EQ(forward.size(), 1u);
  EXPECT_EQ(forward[0].text, std::to_string(hopla_->Handle()));
  EXPECT_EQ(forward[0].time_ms, opened);
  Enter("1", 1500);
  desk_.RunFor(5000);
  const auto answered = desk_.TraceOf("msgbox-answer");
  ASSERT_EQ(answered.size(), 1u);
  EXPECT_EQ(answered[0].time_ms, opened + 4000);
  const auto mouse = desk_.TraceOf("mouse");
  ASSERT_EQ(mouse.size(), 4u) << desk_.DumpTrace();
  EXPECT_EQ(mouse[0].text, "32776 300,200");  // the pending "01"
  // The "1" entered in the box (at the cursor, which its press's mover read).
  EXPECT_EQ(mouse[2].text.substr(0, 5), "32770");
  EXPECT_LT(mouse[3].time_ms, answered[0].time_ms);
}

TEST_F(ExecutorTest, TaskbarButtonCarriesTheTitleAndFlashesInKeyMode) {
  const WindowHandle app = AppWindow();
  ASSERT_NE(app, kNoWindow);
  RunCode("");
  Do([this] { State().KeyMode = true; });
  RunCode("KEY1");
  EXPECT_EQ(EventsOf({"flash"}),
            (Events{"flash " + std::to_string(app) + " 0",
                    "flash " + std::to_string(app) + " 1"}));
}

// However the program was minimised, code "1011" brings it back: by another
// program (the window alone), or with the taskbar button (Win+M).
TEST_F(ExecutorTest, RestoreSelfWorksHoweverTheProgramWasMinimised) {
  for (const bool whole_program : {false, true}) {
    const WindowHandle minimised =
        whole_program ? AppWindow() : hopla_->Handle();
    Do([&] { desk_.Widget(minimised)->ExternalMinimize(); });
    ASSERT_TRUE(desk_.IsMinimised(minimised));
    desk_.SetForeground(kNoWindow);
    RunCode("1011");
    EXPECT_FALSE(desk_.IsMinimised(minimised)) << whole_program;
    EXPECT_TRUE(desk_.IsVisible(hopla_->Handle())) << whole_program;
    EXPECT_EQ(desk_.Foreground(), hopla_->Handle()) << whole_program;
  }
}

// A maximise aimed at the minimised window keeps its normal place and size;
// the rectangle of a minimised window is parked far off the screen.
TEST_F(ExecutorTest, MaximisingTheMinimisedProgramKeepsItsPlace) {
  const WindowHandle window = hopla_->Handle();
  const auto normal = desk_.WindowRectOf(window);
  Do([&] { desk_.Widget(window)->ExternalMinimize(); });
  desk_.SetForeground(window);
  RunCode("111");
  EXPECT_FALSE(desk_.IsMinimised(window));
  EXPECT_EQ(desk_.WindowRectOf(window), normal);
}

}  // namespace
}  // namespace hopla
