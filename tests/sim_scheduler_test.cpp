// The simulated desktop's scheduler: virtual time, the order in which
// threads run, events, dead ends, crashes and teardown.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "sim_test_support.h"

namespace hopla::sim {
namespace {

using testing::TextsOf;
using testing::TimesOf;
using Times = std::vector<int64_t>;
using Texts = std::vector<std::string>;

// A thread sleeps 1 s five times: ten seconds pass in no real time, and it
// wakes on each whole second.
TEST(SimScheduler, TimeJumpsToEachWakeUp) {
  SimDesktop desktop;
  Times wakes;
  desktop.Launch("sleeper.exe", [&](Platform& p) {
    for (int i = 0; i < 5; ++i) {
      p.Sleep(1000);
      wakes.push_back(p.NowMs());
    }
    return 0;
  });
  desktop.RunFor(10000);
  EXPECT_EQ(desktop.Now(), 10000);
  EXPECT_EQ(wakes, (Times{1000, 2000, 3000, 4000, 5000}));
  EXPECT_EQ(TimesOf(desktop, "exit"), (Times{5000}));
}

// RunFor stops at its target even in the middle of a sleep, and the next
// RunFor goes on from there.
TEST(SimScheduler, RunForStopsAtItsTarget) {
  SimDesktop desktop;
  Times wakes;
  desktop.Launch("sleeper.exe", [&](Platform& p) {
    for (int i = 0; i < 3; ++i) {
      p.Sleep(1000);
      wakes.push_back(p.NowMs());
    }
    return 0;
  });
  desktop.RunFor(2500);
  EXPECT_EQ(desktop.Now(), 2500);
  EXPECT_EQ(wakes, (Times{1000, 2000}));
  desktop.RunFor(500);
  EXPECT_EQ(wakes, (Times{1000, 2000, 3000}));
}

// Threads that wake at the same time run in the order they began waiting; a
// new thread runs after its creator's slice; Sleep(0) lets the others go.
TEST(SimScheduler, TiesGoToTheFirstWaiter) {
  SimDesktop desktop;
  desktop.Launch("ties.exe", [&](Platform& p) {
    p.StartThread([&] {
      desktop.Record("note", "a starts");
      p.Sleep(100);  // waits from 0 until 100
      desktop.Record("note", "a wakes");
    });
    p.StartThread([&] {
      desktop.Record("note", "b starts");
      p.Sleep(50);
      p.Sleep(50);  // waits from 50 until 100: after a
      desktop.Record("note", "b wakes");
    });
    desktop.Record("note", "main goes on");
    p.Sleep(0);
    desktop.Record("note", "main after yield");
    p.Sleep(100);  // waits from 0 until 100: after a, before b
    desktop.Record("note", "main wakes");
    p.Sleep(100);  // returning from main would end a and b
    return 0;
  });
  desktop.RunFor(1000);
  EXPECT_EQ(TextsOf(desktop, "note"),
            (Texts{"main goes on", "a starts", "b starts", "main after yield",
                   "a wakes", "main wakes", "b wakes"}));
}

TEST(SimScheduler, EventIsAutoResetAndRemembersASetWithoutWaiter) {
  SimDesktop desktop;
  std::vector<bool> taken;
  Times at;
  desktop.Launch("event.exe", [&](Platform& p) {
    auto event = p.CreateAutoResetEvent(false);
    event->Set();
    event->Set();  // no one waits: stays set once, not twice
    taken.push_back(event->Wait(-1));  // set before the wait: at once
    at.push_back(p.NowMs());
    taken.push_back(event->Wait(0));
    taken.push_back(event->Wait(300));  // times out
    at.push_back(p.NowMs());
    auto initially = p.CreateAutoResetEvent(true);
    taken.push_back(initially->Wait(0));
    taken.push_back(initially->Wait(0));
    return 0;
  });
  desktop.RunFor(1000);
  EXPECT_EQ(taken, (std::vector<bool>{true, false, false, true, false}));
  EXPECT_EQ(at, (Times{0, 300}));
}

// A set from another thread wakes the first waiter at the time of the set;
// one set releases one waiter only.
TEST(SimScheduler, EventSetWakesOneWaiterAtTheSetTime) {
  SimDesktop desktop;
  desktop.Launch("event.exe", [&](Platform& p) {
    auto event = p.CreateAutoResetEvent(false);
    p.StartThread([&] {
      bool ok = event->Wait(1000);
      desktop.Record("waiter", "first " + std::to_string(ok));
    });
    p.StartThread([&] {
      bool ok = event->Wait(1000);
      desktop.Record("waiter", "second " + std::to_string(ok));
    });
    p.Sleep(250);
    event->Set();
    p.Sleep(2000);  // keeps the event alive until both waiters are done
    return 0;
  });
  desktop.RunFor(3000);
  EXPECT_EQ(TextsOf(desktop, "waiter"), (Texts{"first 1", "second 0"}));
  EXPECT_EQ(TimesOf(desktop, "waiter"), (Times{250, 1000}));
}

// A worker thread wakes the UI loop from outside: RunDueWork runs at once,
// at the worker's time, though no timer is due.
TEST(SimScheduler, WakeMessageLoopFromAnotherThread) {
  std::unique_ptr<testing::TimerHost> host;  // outlives the program
  SimDesktop desktop;
  desktop.Launch("loop.exe", [&](Platform& p) {
    host = std::make_unique<testing::TimerHost>(p, 0);
    p.StartThread([&p] {
      p.Sleep(700);
      p.WakeMessageLoop();
      p.Sleep(100);
      p.WakeMessageLoop();
      p.WakeMessageLoop();  // a second wake before the loop ran: one call
    });
    p.RunMessageLoop(*host);
    return 0;
  });
  desktop.RunFor(5000);
  EXPECT_EQ(host->calls, (Times{0, 700, 800}));
}

// The test waits for a condition that a program fulfils at 4 s.
TEST(SimScheduler, RunUntilStopsWhenTheConditionHolds) {
  SimDesktop desktop;
  bool done = false;
  desktop.Launch("late.exe", [&](Platform& p) {
    p.Sleep(4000);
    done = true;
    p.Sleep(100000);
    return 0;
  });
  EXPECT_TRUE(desktop.RunUntil([&] { return done; }, 60000));
  EXPECT_EQ(desktop.Now(), 4000);
  // Not within the limit: stops at the limit.
  EXPECT_FALSE(desktop.RunUntil([] { return false; }, 1000));
  EXPECT_EQ(desktop.Now(), 5000);
}

// A thread that waits forever on an event no one sets, and a UI loop with
// nothing to do: RunUntil reports the dead end at once instead of hanging.
TEST(SimScheduler, RunUntilDetectsADeadEnd) {
  SimDesktop desktop;
  desktop.Launch("stuck.exe", [&](Platform& p) {
    auto never = p.CreateAutoResetEvent(false);
    p.StartThread([&p] {
      testing::TimerHost idle(p, 0);
      p.RunMessageLoop(idle);
    });
    p.Sleep(300);
    never->Wait(-1);
    return 0;
  });
  EXPECT_FALSE(desktop.RunUntil([] { return false; }, 3600000));
  EXPECT_EQ(desktop.Now(), 300);
}

// A person's action still to come keeps RunUntil going; the action wakes
// the idle UI loop.
TEST(SimScheduler, RunUntilWaitsForAScriptedAction) {
  SimDesktop desktop;
  bool clicked = false;
  SimProcess& process = desktop.Launch("idle.exe", [&](Platform& p) {
    testing::TimerHost idle(p, 0);
    p.RunMessageLoop(idle);
    return 0;
  });
  process.At(5000, [&] { clicked = true; });
  EXPECT_TRUE(desktop.RunUntil([&] { return clicked; }, 60000));
  EXPECT_EQ(desktop.Now(), 5000);
}

// An exception escaping a program fails the test loudly, with its text.
TEST(SimScheduler, CrashSurfacesFromRunFor) {
  SimDesktop desktop;
  SimProcess& process = desktop.Launch("crash.exe", [&](Platform& p) -> int {
    p.StartThread([&p] { p.Sleep(1000000); });
    p.Sleep(300);
    throw std::runtime_error("boom at 300");
  });
  try {
    desktop.RunFor(1000);
    FAIL() << "RunFor should have thrown";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("boom at 300"), std::string::npos);
  }
  EXPECT_EQ(TextsOf(desktop, "crash"), (Texts{"boom at 300"}));
  EXPECT_TRUE(TimesOf(desktop, "exit").empty());
  EXPECT_FALSE(process.Running());
  desktop.RunFor(1000);  // reported once; the process is gone
}

// A crash on a worker thread ends its whole process.
TEST(SimScheduler, CrashOnAWorkerEndsTheProcess) {
  SimDesktop desktop;
  SimProcess& process = desktop.Launch("crash.exe", [&](Platform& p) {
    p.StartThread([&p] {
      p.Sleep(200);
      throw std::logic_error("worker broke");
    });
    testing::TimerHost host(p, 50);
    p.RunMessageLoop(host);
    return 0;
  });
  EXPECT_THROW(desktop.RunUntil([] { return false; }, 1000),
               std::runtime_error);
  EXPECT_FALSE(process.Running());
  EXPECT_EQ(TimesOf(desktop, "crash"), (Times{200}));
}

// When main returns, the process ends: "exit" with its code, and its other
// threads unwind at their next wait point.
TEST(SimScheduler, ReturningMainEndsTheOtherThreads) {
  SimDesktop desktop;
  int unwound = 0;
  struct Witness {
    int* count;
    ~Witness() { ++*count; }
  };
  SimProcess& process = desktop.Launch("short.exe", [&](Platform& p) {
    p.StartThread([&] {
      Witness w{&unwound};
      p.Sleep(1000000);
      desktop.Record("note", "never");
    });
    p.Sleep(100);
    return 3;
  });
  desktop.RunFor(200);
  EXPECT_EQ(process.ExitCode(), 3);
  EXPECT_EQ(TextsOf(desktop, "exit"), (Texts{"3"}));
  EXPECT_EQ(unwound, 1);
  EXPECT_TRUE(desktop.TraceOf("note").empty());
}

// The desktop goes away while threads wait in every kind of wait; program
// code that catches std::exception does not stop the unwinding.
TEST(SimScheduler, TeardownEndsThreadsInEveryKindOfWait) {
  int unwound = 0;
  bool swallowed = false;
  struct Witness {
    int* count;
    ~Witness() { ++*count; }
  };
  {
    SimDesktop desktop;
    desktop.SetSoundLength("long.wav", 1000000000);
    desktop.AnswerMessageBoxes([](const MessageBoxArgs&) {
      return MessageBoxAnswer{DialogResult::kOk, 1000000000};
    });
    WindowHandle hung = desktop.AddWindow({"Hung", {}, nullptr, true});
    desktop.Launch("waits.exe", [&, hung](Platform& p) {
      auto event = p.CreateAutoResetEvent(false);
      p.StartThread([&] {
        Witness w{&unwound};
        try {
          p.Sleep(-1);
        } catch (const std::exception&) {
          swallowed = true;
        }
      });
      p.StartThread([&] {
        Witness w{&unwound};
        event->Wait(-1);
      });
      p.StartThread([&] {
        Witness w{&unwound};
        p.PlaySoundFile("long.wav");
      });
      p.StartThread([&, hung] {
        Witness w{&unwound};
        p.SendToWindow(hung, kWmClose, 0, 0, -1);
      });
      Witness w{&unwound};
      bool shown = false;
      testing::TimerHost host(p, 10, [&p, &shown] {
        if (shown) return;  // the box's loop runs this timer too
        shown = true;
        MessageBoxArgs desc;
        p.ShowMessageBox(desc);
      });
      p.RunMessageLoop(host);
      return 0;
    });
    desktop.RunFor(50);
    EXPECT_EQ(desktop.TraceOf("msgbox").size(), 1u);
    EXPECT_EQ(unwound, 0);
  }
  EXPECT_EQ(unwound, 5);
  EXPECT_FALSE(swallowed);
}

// The same scenario, run twice, gives the same trace.
TEST(SimScheduler, SameScenarioSameTrace) {
  auto run = [] {
    SimDesktop desktop;
    SimProcess& process = desktop.Launch("busy.exe", [&](Platform& p) {
      auto event = p.CreateAutoResetEvent(false);
      for (int t = 0; t < 3; ++t) {
        p.StartThread([&p, &event, t] {
          for (int i = 0; i < 20; ++i) {
            p.Sleep(7 * (t + 1));
            p.SetCursorPos({t * 100 + i, i});
            if (i % 3 == t) event->Set();
          }
        });
      }
      testing::TimerHost host(p, 13, [&] {
        if (event->Wait(0)) p.PlaySoundFile("tick.wav");
        if (p.NowMs() >= 600) p.QuitMessageLoop();
      });
      p.RunMessageLoop(host);
      p.Sleep(1000);
      return 0;
    });
    process.At(100, [&] { process.PostToWindow(kNoWindow, 1, 2, 3); });
    desktop.RunFor(2000);
    return desktop.DumpTrace();
  };
  std::string first = run();
  EXPECT_GT(first.size(), 1000u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(run(), first);
}

}  // namespace
}  // namespace hopla::sim
