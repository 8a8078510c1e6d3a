// Windows on the simulated desktop: other programs' windows, messages to
// them, programs' forms and their controls.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_widgets.h"
#include "sim_test_support.h"

namespace hopla::sim {
namespace {

using testing::TextsOf;
using testing::TimerHost;
using testing::TimesOf;
using Times = std::vector<int64_t>;
using Texts = std::vector<std::string>;

// Records what a form hears.
class FormEvents : public WidgetEvents {
 public:
  explicit FormEvents(SimDesktop& desktop) : desktop_(desktop) {}
  void OnCloseRequest() override { Note("close"); }
  void OnSysCommand(uint32_t command) override {
    Note("syscommand " + std::to_string(command));
  }
  bool OnQueryEndSession() override {
    Note("query-end-session");
    return end_session_answer;
  }
  void OnGetMinMaxInfo(MinMaxInfo& info) override {
    Note("minmax " + std::to_string(info.max_size.x) + "x" +
         std::to_string(info.max_size.y) + "@" +
         std::to_string(info.max_position.x) + "," +
         std::to_string(info.max_position.y));
    info.max_size.y -= 40;  // leaves room for a taskbar
  }
  void OnShown() override { Note("shown"); }
  void OnRestored() override { Note("restored"); }
  void OnUserClicked() override { Note("clicked"); }
  void OnUserChecked(bool checked) override {
    Note("checked " + std::to_string(checked));
  }
  void OnUserPosition(int32_t position) override {
    Note("position " + std::to_string(position));
  }
  bool end_session_answer = false;

 private:
  void Note(const std::string& text) { desktop_.Record("event", text); }
  SimDesktop& desktop_;
};

WidgetArgs MakeDesc(WidgetKind kind, const std::string& caption) {
  WidgetArgs desc;
  desc.kind = kind;
  desc.caption = caption;
  return desc;
}

// Launches a program with one form of 300 x 200 captioned "ホプラー",
// shown at start unless told otherwise, then runs its UI loop. Everything
// the program makes lives on its own thread. Returns the form's handle.
WindowHandle LaunchFormProgram(SimDesktop& desktop, SimProcess** process,
                               bool show = true,
                               bool end_session_answer = false) {
  WindowHandle handle = kNoWindow;
  SimProcess& launched = desktop.Launch(
      "form.exe", [&desktop, &handle, show, end_session_answer](Platform& p) {
        FormEvents events(desktop);
        events.end_session_answer = end_session_answer;
        WidgetArgs desc;
        desc.kind = WidgetKind::kForm;
        desc.caption = "ホプラー";
        desc.bounds = {0, 0, 300, 200};
        auto form = p.CreateWidget(desc, nullptr, &events);
        handle = form->Handle();
        if (show) form->Show(false);
        TimerHost host(p, 0);
        p.RunMessageLoop(host);
        return 0;
      });
  desktop.RunFor(0);  // lets it create its form (handle outlives this call)
  if (process != nullptr) *process = &launched;
  return handle;
}

// The form is a window centred on the screen, titled with its caption,
// hidden until shown; programs' forms come first in the enumeration.
TEST(SimWindows, FormIsACentredTopmostWindow) {
  SimDesktop desktop;
  WindowHandle notepad =
      desktop.AddWindow({"Notepad", {10, 10, 500, 400}, nullptr, false});
  WindowHandle form = LaunchFormProgram(desktop, nullptr, false);
  ASSERT_NE(form, kNoWindow);
  EXPECT_EQ(desktop.WindowRectOf(form), (Rect{362, 284, 662, 484}));
  EXPECT_FALSE(desktop.IsVisible(form));
  WindowHandle later = desktop.AddWindow({"Later", {}, nullptr, false});
  std::vector<WindowHandle> order;
  for (const WindowInfo& info : desktop.Windows()) order.push_back(info.handle);
  EXPECT_EQ(order, (std::vector<WindowHandle>{form, later, notepad}));
  EXPECT_EQ(desktop.FindWindowByTitle("ホプラー"), form);
  SimWidget* peer = desktop.Widget(form);
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(peer->Kind(), WidgetKind::kForm);
  EXPECT_EQ(desktop.FindWidget("ホプラー"), peer);
}

// Showing the form brings it to the front once (OnShown once); its caption
// is its title.
TEST(SimWindows, ShowingAFormMakesItTheForeground) {
  SimDesktop desktop;
  SimProcess* process = nullptr;
  WindowHandle form = LaunchFormProgram(desktop, &process);
  EXPECT_TRUE(desktop.IsVisible(form));
  EXPECT_EQ(desktop.Foreground(), form);
  EXPECT_EQ(TextsOf(desktop, "event"), (Texts{"shown"}));
  process->At(100, [&] {
    SimWidget* peer = desktop.Widget(form);
    peer->SetCaption("renamed");
    peer->Show(false);  // already shown: no second OnShown
  });
  desktop.RunFor(200);
  EXPECT_EQ(desktop.Windows().front().title, "renamed");
  EXPECT_EQ(TextsOf(desktop, "event"), (Texts{"shown"}));
}

// Another program minimises, restores and maximises the form; each system
// command reaches the form before its default handling.
TEST(SimWindows, SystemCommandsToAForm) {
  SimDesktop desktop;
  SimProcess* process = nullptr;
  WindowHandle form = LaunchFormProgram(desktop, &process);
  desktop.ClearTrace();
  process->PostAt(100, form, kWmSysCommand, kScMinimize, 0);
  desktop.RunFor(150);
  EXPECT_TRUE(desktop.IsMinimised(form));
  EXPECT_EQ(desktop.Foreground(), kNoWindow);
  process->PostAt(200, form, kWmSysCommand, kScRestore, 0);
  process->PostAt(300, form, kWmSysCommand, kScMaximize, 0);
  desktop.RunFor(250);
  EXPECT_FALSE(desktop.IsMinimised(form));
  EXPECT_TRUE(desktop.IsMaximised(form));
  EXPECT_EQ(desktop.WindowRectOf(form), (Rect{0, 0, 1024, 728}));
  process->PostAt(500, form, kWmSysCommand, kScRestore, 0);
  process->PostAt(500, form, kWmSysCommand, kScClose, 0);
  process->PostAt(500, form, kWmClose, 0, 0);
  desktop.RunFor(100);
  EXPECT_EQ(desktop.WindowRectOf(form), (Rect{362, 284, 662, 484}));
  EXPECT_EQ(TextsOf(desktop, "event"),
            (Texts{"syscommand 61472", "syscommand 61728", "shown", "restored",
                   "syscommand 61488", "minmax 1024x768@0,0",
                   "syscommand 61728", "syscommand 61536", "close", "close"}));
  EXPECT_TRUE(desktop.IsVisible(form));  // the form decides; nothing closed
}

// A program that starts minimised: nothing is shown until it restores its
// form; then it hears OnShown, then OnRestored (as the Win32 peer reports).
TEST(SimWindows, StartingMinimisedThenRestoring) {
  SimDesktop desktop;
  SimProcess* process = nullptr;
  WindowHandle form = LaunchFormProgram(desktop, &process, false);
  process->At(10, [&] { desktop.Widget(form)->Show(true); });
  desktop.RunFor(20);
  EXPECT_TRUE(desktop.IsMinimised(form));
  EXPECT_TRUE(desktop.IsVisible(form));
  EXPECT_EQ(desktop.Foreground(), kNoWindow);
  EXPECT_TRUE(TextsOf(desktop, "event").empty());
  process->At(100, [&] { desktop.Widget(form)->Restore(); });
  desktop.RunFor(100);
  EXPECT_FALSE(desktop.IsMinimised(form));
  EXPECT_EQ(desktop.Foreground(), form);
  EXPECT_EQ(TextsOf(desktop, "event"), (Texts{"shown", "restored"}));
}

// Windows asks whether the session may end; the form's answer is kept.
TEST(SimWindows, QueryEndSessionAnswerIsRemembered) {
  SimDesktop desktop;
  SimProcess* process = nullptr;
  WindowHandle form = LaunchFormProgram(desktop, &process, true, false);
  EXPECT_EQ(process->LastEndSessionAnswer(), std::nullopt);
  process->PostAt(10, form, kWmQueryEndSession, 0, 0);
  desktop.RunFor(20);
  EXPECT_EQ(process->LastEndSessionAnswer(), false);
}

// A send from another program waits for the form's UI thread and is handled
// at once when that thread is idle in its loop; a busy UI thread makes the
// send time out in virtual time, and the message is handled later.
TEST(SimWindows, SendToAFormWaitsForItsUiThread) {
  SimDesktop desktop;
  SimProcess* owner = nullptr;
  WindowHandle form = LaunchFormProgram(desktop, &owner);
  std::vector<bool> sent;
  Times returned;
  owner->At(1000, [&] { owner->Sleep(2000); });  // busy from 1000 to 3000
  desktop.Launch("sender.exe", [&](Platform& p) {
    sent.push_back(p.SendToWindow(form, kWmClose, 0, 0, 500).has_value());
    returned.push_back(p.NowMs());
    p.Sleep(1500);
    sent.push_back(p.SendToWindow(form, kWmClose, 0, 0, 500).has_value());
    returned.push_back(p.NowMs());
    return 0;
  });
  desktop.RunFor(5000);
  EXPECT_EQ(sent, (std::vector<bool>{true, false}));
  EXPECT_EQ(returned, (Times{0, 2000}));
  EXPECT_EQ(TimesOf(desktop, "event"), (Times{0, 0, 3000}));  // shown, close
  EXPECT_EQ(TextsOf(desktop, "send"),
            (Texts{std::to_string(form) + " 16 0 0",
                   std::to_string(form) + " 16 0 0"}));
}

// The form's own UI thread sends to it directly; other threads of the
// same program post through the queue.
TEST(SimWindows, OwnUiThreadSendIsDirect) {
  SimDesktop desktop;
  SimProcess* process = nullptr;
  WindowHandle form = LaunchFormProgram(desktop, &process);
  desktop.ClearTrace();
  process->At(100, [&] {
    EXPECT_TRUE(process->SendToWindow(form, kWmClose, 0, 0, 1000));
    desktop.Record("event", "after send");
    EXPECT_TRUE(process->PostToWindow(form, kWmClose, 0, 0));
    desktop.Record("event", "after post");
  });
  desktop.RunFor(200);
  EXPECT_EQ(TextsOf(desktop, "event"),
            (Texts{"close", "after send", "after post", "close"}));
}

// A UI thread that waits for a hung window's answer answers what another
// program sends to its form meanwhile, while a posted message waits for the
// loop; its silence counts the waits that answer nothing, but not a sound.
TEST(SimWindows, SenderAnswersSentMessagesAndSilenceIsMeasured) {
  SimDesktop desktop;
  SimProcess* process = nullptr;
  const WindowHandle form = LaunchFormProgram(desktop, &process);
  const WindowHandle hung = desktop.AddWindow({"hung", {}, nullptr, true});
  desktop.SetSoundLength("long.wav", 900);
  desktop.ClearTrace();
  process->At(100, [&] {
    process->SendToWindow(hung, 0x400, 0, 0, 1000);  // to 1100, answering
    process->PlaySoundFile("long.wav");              // to 2000, a sound
    process->Sleep(300);                             // to 2300, silent
  });
  process->SendAt(500, form, kWmClose, 0, 0);
  process->PostAt(600, form, kWmClose, 0, 0);
  desktop.RunFor(3000);
  EXPECT_EQ(TimesOf(desktop, "event"), (Times{500, 2300}));
  EXPECT_EQ(process->LongestSilence().ms, 300);
  EXPECT_EQ(process->LongestSilence().ended_at_ms, 2300);
}

// A program that returns from main leaves behind the threads it started
// that still run; one that the system ends does nothing more: its threads
// unwind, but what they still write or press goes nowhere.
TEST(SimWindows, ProgramsLeaveThreadsOrNothingMore) {
  SimDesktop desktop;
  SimProcess& leaving = desktop.Launch("leaving.exe", [](Platform& p) {
    p.StartThread([&p] { p.Sleep(10000); });
    return 0;
  });
  SimProcess& ended = desktop.Launch("ended.exe", [](Platform& p) {
    struct OnTheWayOut {
      Platform& p;
      ~OnTheWayOut() {
        p.ReplaceFileBytes("f.ini", "late");
        p.KeyEvent(0x10, true);
      }
    } saves{p};
    p.MouseButton(kMouseLeftDown, {});
    p.KeyEvent(0x10, false);
    p.Sleep(10000);
    return 0;
  });
  desktop.RunFor(100);
  EXPECT_EQ(leaving.ThreadsLeftAtExit(), 1);
  EXPECT_EQ(desktop.HeldInput(), (Texts{"left", "key 16"}));
  ended.Terminate();
  desktop.RunFor(100);
  EXPECT_FALSE(ended.Running());
  EXPECT_EQ(desktop.File("f.ini"), std::nullopt);
  EXPECT_EQ(desktop.HeldInput(), (Texts{"left", "key 16"}));
}

// A foreign window answers through its handler on the sender's thread, in
// no time; a hung one makes a send wait out its time-out.
TEST(SimWindows, ForeignWindowsAnswerOrHang) {
  SimDesktop desktop;
  std::vector<std::string> heard;
  WindowHandle joy = desktop.AddWindow(
      {"JoyToKey",
       {0, 0, 100, 100},
       [&](uint32_t message, uintptr_t wparam, intptr_t lparam) -> intptr_t {
         heard.push_back(std::to_string(message) + "/" +
                         std::to_string(wparam) + "/" + std::to_string(lparam));
         return 0;
       },
       false});
  WindowHandle hung = desktop.AddWindow({"Hung", {}, nullptr, true});
  std::vector<bool> results;
  Times at;
  desktop.Launch("sender.exe", [&](Platform& p) {
    results.push_back(p.SendToWindow(joy, 0x8001, 2, -1, 1000).has_value());
    results.push_back(p.PostToWindow(joy, 0x8002, 3, 4));
    at.push_back(p.NowMs());
    results.push_back(p.SendToWindow(hung, 0x8001, 0, 0, 5000).has_value());
    at.push_back(p.NowMs());
    results.push_back(
        p.SendToWindow(kNoWindow, 0x8001, 0, 0, 5000).has_value());
    results.push_back(p.PostToWindow(kNoWindow, 0x8001, 0, 0));
    results.push_back(p.PostToWindow(0xDEAD, 0x8001, 0, 0));
    return 0;
  });
  desktop.RunFor(10000);
  EXPECT_EQ(heard, (Texts{"32769/2/-1", "32770/3/4"}));
  EXPECT_EQ(results,
            (std::vector<bool>{true, true, false, false, false, false}));
  EXPECT_EQ(at, (Times{0, 5000}));
  EXPECT_EQ(TextsOf(desktop, "send").front(),
            std::to_string(joy) + " 32769 2 -1");
  EXPECT_EQ(desktop.TraceOf("post").size(), 3u);
}

// Other programs' windows take system commands as Windows' default handling
// does; the foreground moves on when it is minimised or closed.
TEST(SimWindows, ForeignWindowsFollowSystemCommands) {
  SimDesktop desktop;
  WindowHandle back =
      desktop.AddWindow({"Back", {0, 0, 50, 50}, nullptr, false});
  WindowHandle front =
      desktop.AddWindow({"Front", {10, 20, 110, 220}, nullptr, false});
  desktop.SetForeground(front);
  WindowHandle foreground_seen = kNoWindow;
  std::optional<Rect> maximised;
  desktop.Launch("commander.exe", [&](Platform& p) {
    foreground_seen = p.ForegroundWindow();
    p.PostToWindow(front, kWmSysCommand, kScMaximize, 0);
    maximised = p.WindowRect(front);
    p.PostToWindow(front, kWmSysCommand, kScRestore, 0);
    p.PostToWindow(front, kWmSysCommand, kScMinimize, 0);
    return 0;
  });
  desktop.RunFor(10);
  EXPECT_EQ(foreground_seen, front);
  EXPECT_EQ(maximised, desktop.Screen());
  // Minimised, it is parked far off the screen, as Windows reports it.
  EXPECT_EQ(desktop.WindowRectOf(front),
            (Rect{-32000, -32000, -31840, -31972}));
  EXPECT_TRUE(desktop.IsMinimised(front));
  EXPECT_EQ(desktop.Foreground(), back);
  desktop.Launch("closer.exe", [&](Platform& p) {
    EXPECT_TRUE(p.SetForegroundWindow(front));
    p.SendToWindow(back, kWmClose, 0, 0, 100);
    p.FlashWindow(front, true);
    p.ShowWindowNormal(front);
    return 0;
  });
  desktop.RunFor(10);
  EXPECT_EQ(desktop.WindowRectOf(back), std::nullopt);
  EXPECT_EQ(desktop.Foreground(), front);
  EXPECT_TRUE(desktop.IsMinimised(front));  // SW_SHOW does not restore
  EXPECT_EQ(TextsOf(desktop, "flash"), (Texts{std::to_string(front) + " 1"}));
}

// When the program ends, its form goes away and sends to it fail.
TEST(SimWindows, FormsGoAwayWithTheirProgram) {
  SimDesktop desktop;
  SimProcess* process = nullptr;
  WindowHandle form = LaunchFormProgram(desktop, &process);
  process->PostAt(100, form, kWmQuit, 0, 0);
  desktop.RunFor(200);
  EXPECT_EQ(TimesOf(desktop, "exit"), (Times{100}));
  EXPECT_FALSE(process->Running());
  EXPECT_EQ(desktop.WindowRectOf(form), std::nullopt);
  EXPECT_TRUE(desktop.Windows().empty());
  EXPECT_EQ(desktop.Widget(form), nullptr);
}

// The person works the controls on the UI thread; a disabled or hidden
// control does not react, and a value it already has raises nothing.
TEST(SimWindows, PersonActsOnControls) {
  SimDesktop desktop;
  std::vector<bool> acted;
  SimProcess& process = desktop.Launch("controls.exe", [&](Platform& p) {
    FormEvents events(desktop);
    auto form =
        p.CreateWidget(MakeDesc(WidgetKind::kForm, "F"), nullptr, &events);
    WidgetArgs box = MakeDesc(WidgetKind::kCheckBox, "Box");
    auto check = p.CreateWidget(box, form.get(), &events);
    WidgetArgs bar = MakeDesc(WidgetKind::kTrackBar, "Bar");
    bar.max = 10;
    auto track = p.CreateWidget(bar, form.get(), &events);
    WidgetArgs off = MakeDesc(WidgetKind::kPushButton, "Off");
    off.enabled = false;
    auto button = p.CreateWidget(off, form.get(), &events);
    TimerHost host(p, 0);
    p.RunMessageLoop(host);
    return 0;
  });
  process.At(10, [&] {
    SimWidget* box = desktop.FindWidget("Box");
    SimWidget* bar = desktop.FindWidget("Bar");
    acted.push_back(box->UserClick());
    acted.push_back(box->UserCheck(true));   // already checked: no event
    acted.push_back(bar->UserPosition(25));  // clamped to 10
    acted.push_back(desktop.FindWidget("Off")->UserClick());
    box->SetVisible(false);
    acted.push_back(box->UserClick());
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(bar->Parent(), desktop.FindWidget("F"));
  });
  desktop.RunFor(20);
  EXPECT_EQ(acted, (std::vector<bool>{true, true, true, false, false}));
  EXPECT_EQ(TextsOf(desktop, "event"), (Texts{"checked 1", "position 10"}));
}

}  // namespace
}  // namespace hopla::sim
