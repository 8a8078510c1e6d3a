// The window's own behaviour on the simulated desktop: the stepping buttons,
// the hover growth, the cursor over the link, the link, the minimise button
// and the banner.
#include <gtest/gtest.h>

#include "hopla_fixture.h"
#include "platform/codepage.h"
#include "platform/sim/sim_widgets.h"
#include "settings/distributor.h"
#include "settings/ini_file.h"
#include "settings/sign_in_start.h"

namespace hopla {
namespace {

using K = MouseButtonKind;

class WindowTest : public HoplaTest {
 protected:
  sim::SimWidget& Peer(Control& control) {
    return *desk_.Widget(control.Handle());
  }
  // From the system menu, as the person opens it.
  ExtendedDialog* OpenExtendedDialog(sim::SimProcess& process) {
    process.PostAt(desk_.Now(), hopla_->Handle(), kWmSysCommand,
                   kExtendedSettingsCommand, 0);
    desk_.RunFor(100);
    return hopla_->ExtendedSettingsDialog();
  }
};

// Each press steps, whichever button and however quickly; at an end the
// slider stays and its map still runs; a held button steps once; the
// release and the keys step nothing.
TEST_F(WindowTest, SteppingButtonsStepOnEveryPressAndAlwaysRunTheMap) {
  Start();
  Do([&] { hopla_->SpeedBar.SetPosition(1); });
  const int32_t slowest = State().StepDelay;
  State().StepDelay = 999;  // what the brake's lengthened pause leaves
  Do([&] { Peer(hopla_->CuteButton1).UserMouseDown(K::kLeft); });
  EXPECT_EQ(hopla_->SpeedBar.Position(), 1);
  EXPECT_EQ(State().StepDelay, slowest);
  Do([&] {
    sim::SimWidget& faster = Peer(hopla_->CuteButton2);
    faster.UserMouseUp(K::kLeft);
    faster.UserMouseDown(K::kRight);  // right steps like left
    faster.UserMouseUp(K::kRight);
    // A double click is two presses.
    faster.UserMouseDown(K::kLeft);
    faster.UserMouseUp(K::kLeft);
    faster.UserMouseDown(K::kLeft);
    faster.UserMouseUp(K::kLeft);
    faster.UserFocus(true);
    faster.UserKey(kKeySpace, true);
    faster.UserKey(kKeyReturn, true);
  });
  EXPECT_EQ(hopla_->SpeedBar.Position(), 4);
  for (int i = 0; i < 6; ++i) {
    Do([&] { Peer(hopla_->CuteButton8).UserMouseDown(K::kMiddle); });
  }
  EXPECT_EQ(hopla_->KeyModeBar.Position(), 8);
  const int32_t long_press = hopla_->NagaHanteiTrackBar.Position();
  const int32_t delay = hopla_->JikkouTrackBar.Position();
  Do([&] { Peer(hopla_->CuteButton3).UserMouseDown(K::kLeft); });
  Do([&] { Peer(hopla_->CuteButton6).UserMouseDown(K::kLeft); });
  EXPECT_EQ(hopla_->NagaHanteiTrackBar.Position(), long_press - 1);
  EXPECT_EQ(hopla_->JikkouTrackBar.Position(), delay + 1);
}

// Under the pointer a stepping button measures 51 x 43 with its corner where
// it was, and 41 x 33 again after; only that button changes.
TEST_F(WindowTest, SteppingButtonGrowsUnderThePointer) {
  Start();
  const Rect normal{376, 232, 417, 265};
  ASSERT_EQ(hopla_->CuteButton6.Bounds(), normal);
  Do([&] { Peer(hopla_->CuteButton6).UserMouseEnter(); });
  EXPECT_EQ(hopla_->CuteButton6.Bounds(), (Rect{376, 232, 427, 275}));
  EXPECT_EQ(Peer(hopla_->CuteButton6).Bounds(), (Rect{376, 232, 427, 275}));
  EXPECT_EQ(hopla_->CuteButton5.Bounds(), (Rect{128, 232, 169, 265}));
  Do([&] { Peer(hopla_->CuteButton6).UserMouseLeave(); });
  EXPECT_EQ(hopla_->CuteButton6.Bounds(), normal);
}

// The hand over the link stays over every control until the pointer
// crosses bare background; a click opens the help file (no distributor has
// set a home page); the minimise button
// minimises the foreground window and remembers it for the restore.
TEST_F(WindowTest, LinkCursorAndMinimiseButton) {
  Start();
  sim::SimWidget& application = *desk_.Widget(AppWindow());
  EXPECT_EQ(application.Cursor(), CursorShape::kNone);
  Do([&] { Peer(hopla_->Label3).UserMouseMove(); });
  EXPECT_EQ(application.Cursor(), CursorShape::kHandPoint);
  Do([&] { Peer(*hopla_).UserMouseMove({300, 400}); });
  EXPECT_EQ(application.Cursor(), CursorShape::kArrow);
  Do([&] { Peer(hopla_->Label3).UserClick(); });
  EXPECT_EQ(desk_.TraceOf("shell").back().text, kHelpFile);
  ASSERT_EQ(desk_.Foreground(), hopla_->Handle());
  Do([&] { Peer(hopla_->SaishoukaButton).UserClick(); });
  // Its own window's minimise leaves the application for the restore.
  EXPECT_EQ(State().MinimisedWindow, AppWindow());
  EXPECT_TRUE(desk_.IsMinimised(AppWindow()));
}

// The banner starts with the window, a pass lasts 50 s, showing the window
// again does not restart it, and each pass starts again from the right.
TEST_F(WindowTest, BannerRunsPassAfterPass) {
  Start();
  TMarqueeLabel& banner = hopla_->MarqueeLabel1;
  EXPECT_TRUE(banner.Running());
  EXPECT_EQ(banner.Caption().rfind("スイッチを押す長短で", 0), 0u);
  desk_.RunFor(10000);
  const int32_t step = banner.GetCurrentStep();
  EXPECT_NEAR(step, 100, 1);
  Do([&] { hopla_->FormShow(*hopla_); });
  EXPECT_EQ(banner.GetCurrentStep(), step);
  desk_.RunFor(40000 + 1000);
  EXPECT_TRUE(banner.Running());
  EXPECT_NEAR(banner.GetCurrentStep(), 10, 1);
}

// What a distributor sets beside the programs: an account of the right form
// goes into the banner after "カンパ歓迎です。", an http or https address is
// what the link opens. Anything else, the placeholder of zeros included,
// counts as unset: no account sentence, and the help file.
TEST_F(WindowTest, DistributorValuesOfTheRightFormOnly) {
  Start();
  struct Case {
    const char* file;
    const char* account;  // in the banner, or null: none
    const char* opens;
  };
  const Case cases[] = {
      {"[Distributor]\r\nDonationAccount= 01230-4-56789 \r\n"
       "HomePage=https://example.org/hopla/\r\n",
       "01230-4-56789", "https://example.org/hopla/"},
      {"[Distributor]\r\nDonationAccount=00000-0-00000\r\n"
       "HomePage=C:\\Windows\\notepad.exe\r\n",
       nullptr, kHelpFile},
      {"[Distributor]\r\nDonationAccount=1234-5-6\r\n"
       "HomePage=https://x.org/a b\r\n",
       nullptr, kHelpFile},
      {"\xEF\xBB\xBF[Distributor]\r\nDonationAccount=12345-6-7\r\n",
       "12345-6-7", kHelpFile},
      {"garbage", nullptr, kHelpFile},
  };
  for (const Case& c : cases) {
    desk_.PutFile(kDistributorFile, c.file);
    Do([&] { hopla_->FormShow(*hopla_); });
    const std::string banner = hopla_->MarqueeLabel1.Caption();
    EXPECT_EQ(banner.find("振替口座") != std::string::npos,
              c.account != nullptr)
        << c.file;
    if (c.account != nullptr) {
      EXPECT_NE(
          banner.find("カンパ歓迎です。\u3000\u3000郵便郵便振替口座"
                      "\u3000\u3000" +
                      std::string(c.account) + "\u3000「ポムラボ。」     "),
          std::string::npos)
          << banner;
    }
    Do([&] { Peer(hopla_->Label3).UserClick(); });
    EXPECT_EQ(desk_.TraceOf("shell").back().text, c.opens) << c.file;
  }
}

// The extended settings from the system menu: a new switch that is not
// pressed within 15 s gives way to the old one again; pressed, it stays, and
// that press is no mark. A try shows the press it measures. Only what was
// changed lands in the settings file.
TEST_F(WindowTest, NewSwitchMustBePressedOrTheOldOneComesBack) {
  sim::SimProcess& process = Start();
  ExtendedDialog* dialog = OpenExtendedDialog(process);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Peer(*dialog).Visible());
  SwitchChoice space;
  space.kind = SwitchKind::kKey;
  space.key = kVkSpace;
  auto kind = [this] { return hopla_->Extended().switch_choice.kind; };

  Do([&] { Peer(dialog->KeyRadio).UserClick(); });
  EXPECT_EQ(kind(), SwitchKind::kKey);
  desk_.HoldSwitch(desk_.Now() + 1000, desk_.Now() + 1100);  // the joystick
  desk_.RunFor(kConfirmSeconds * 1000 + 500);
  EXPECT_EQ(kind(), SwitchKind::kJoystick);
  EXPECT_TRUE(dialog->JoystickRadio.Checked());
  EXPECT_EQ(dialog->TryLabel.Caption(),
            "押されなかったので、元のスイッチに戻しました");

  Do([&] { Peer(dialog->KeyRadio).UserClick(); });
  desk_.HoldSwitch(desk_.Now() + 2000, desk_.Now() + 2005, space);
  desk_.RunFor(kConfirmSeconds * 1000 + 500);
  EXPECT_EQ(kind(), SwitchKind::kKey);
  EXPECT_EQ(
      dialog->TryLabel.Caption().rfind("新しいスイッチで押せました：短い"), 0u);
  Do([&] { Peer(dialog->TryButton).UserClick(); });
  desk_.HoldSwitch(desk_.Now() + 500, desk_.Now() + 1500, space);
  desk_.RunFor(2000);
  EXPECT_EQ(dialog->TryLabel.Caption().rfind("長い押し（1）"), 0u);
  EXPECT_EQ(State().PressCode.Get(), "") << "the tries made no code";
  Do([&] { Peer(dialog->CloseButton).UserClick(); });
  EXPECT_FALSE(Peer(*dialog).Visible());

  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  desk_.RunFor(100);
  const std::string text = Cp932ToUtf8(*desk_.File(kSettingsFile));
  EXPECT_NE(text.find("[拡張設定]\r\nスイッチ=1\r\n"), std::string::npos);
  EXPECT_EQ(text.find("キー="), std::string::npos) << text;
}

// Windows shutting down while a new switch waits for its first press saves
// the switch the person is known to press (a next start must not come up
// with one nobody has pressed); what else changed meanwhile is saved.
TEST_F(WindowTest, SwitchNotYetPressedIsNotSaved) {
  sim::SimProcess& process = Start();
  ExtendedDialog* dialog = OpenExtendedDialog(process);
  ASSERT_NE(dialog, nullptr);
  Do([&] { Peer(dialog->MouseRadio).UserClick(); });
  Do([&] { Peer(dialog->BubbleCheckBox).UserClick(); });
  ASSERT_EQ(hopla_->Extended().switch_choice.kind, SwitchKind::kMouseButton);
  process.SendAt(desk_.Now() + 1000, hopla_->Handle(), kWmQueryEndSession, 0,
                 0);
  desk_.RunFor(1100);
  EXPECT_EQ(StoredValue(desk_, "拡張設定", "スイッチ"), std::nullopt);
  EXPECT_EQ(StoredValue(desk_, "拡張設定", "吹き出し"), "0");
}

// Ticked, the sign-in entry starts this copy in its working folder; cleared,
// it is gone. At a start, another copy's entry is left alone while its file
// exists and pointed here once it is gone. Started with its folder named,
// the program works there, or in its own folder when that one is gone.
TEST_F(WindowTest, StartWithWindowsIsThisCopysEntryAndMendsAMovedOne) {
  const std::string here =
      "\"C:\\Program Files\\Hopla\\Hopla.exe\" /folder "
      "\"C:\\Program Files\\Hopla\"";
  const std::string other = "\"D:\\Other\\Hopla.exe\" /folder \"D:\\\\\"";
  desk_.PutFile(kHoplaPath, "MZ");
  desk_.PutFile("D:\\Other\\Hopla.exe", "MZ");
  desk_.PutFile("C:\\Settings\\Hoplar.ini", "");
  desk_.SetSignInEntry(kSignInEntryName, other);
  ExtendedDialog* dialog = OpenExtendedDialog(Start());
  EXPECT_FALSE(dialog->SignInCheckBox.Checked());
  EXPECT_EQ(dialog->SignInNote.Caption(),
            "別の場所のHoplaが登録されています：D:\\Other\\Hopla.exe");
  Do([&] { Peer(dialog->SignInCheckBox).UserCheck(true); });
  EXPECT_EQ(desk_.SignInEntry(kSignInEntryName), here);
  Do([&] { Peer(dialog->SignInCheckBox).UserCheck(false); });
  EXPECT_EQ(desk_.SignInEntry(kSignInEntryName), std::nullopt);

  struct Case {
    std::string entry_before;
    std::vector<std::string> arguments;
    std::string entry_after;
    std::string folder;
  };
  const std::string gone = "\"D:\\Gone\\Hopla.exe\" /folder \"D:\\Gone\"";
  for (const Case& c : std::vector<Case>{
           {other, {}, other, "C:\\Program Files\\Hopla"},
           {gone, {}, here, "C:\\Program Files\\Hopla"},
           {"", {"/folder", "C:\\Settings"}, "", "C:\\Settings"},
           {"", {"/FOLDER", "E:\\Gone"}, "", "C:\\Program Files\\Hopla"},
       }) {
    Do([&] { hopla_->ShuuryouBtnClick(*hopla_); });  // OK at the question
    desk_.RunFor(100);
    ASSERT_FALSE(process_->Running());
    desk_.SetSignInEntry(kSignInEntryName,
                         c.entry_before.empty()
                             ? std::nullopt
                             : std::optional<std::string>(c.entry_before));
    Start(kHoplaPath, c.arguments);
    EXPECT_EQ(desk_.SignInEntry(kSignInEntryName).value_or(""), c.entry_after)
        << c.entry_before;
    EXPECT_EQ(process_->CurrentFolder(), c.folder);
  }
}

}  // namespace
}  // namespace hopla
