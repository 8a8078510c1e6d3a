// The settings file as a user meets it: the first run, values edited by hand,
// saves that keep what they do not know, and a disk that refuses to write.
#include <gtest/gtest.h>

#include "first_run_file.h"
#include "hopla_fixture.h"
#include "platform/codepage.h"
#include "settings/ini_file.h"

namespace hopla {
namespace {

class SettingsTest : public HoplaTest {
 protected:
  void StartWith(const std::string& utf8_file) {
    desk_.PutFile(kSettingsFile, Sjis(utf8_file));
    Start();
  }
  // Quits with OK at the question.
  void Quit() {
    Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
    desk_.RunFor(100);
    ASSERT_FALSE(process_->Running());
  }
};

TEST_F(SettingsTest, FirstRunWorksWithTheDefaultsAndWritesTheFullFile) {
  Start();
  EXPECT_EQ(hopla_->SpeedBar.Position(), 3);
  EXPECT_EQ(State().StepDelay, 20);
  EXPECT_EQ(State().StepPixels, 1);
  EXPECT_EQ(State().LongPressTicks, 40);
  EXPECT_EQ(State().ExecuteDelay, 1000);
  EXPECT_EQ(State().PollInterval, 8);
  EXPECT_EQ(State().SpeedFactor, 1);
  EXPECT_EQ(State().DirectionCount, 4);
  EXPECT_TRUE(hopla_->OrikaesiCheckBox.Checked());
  EXPECT_TRUE(hopla_->ImadakeSokudo.Checked());
  EXPECT_TRUE(hopla_->SoundCheckBox.Checked());
  EXPECT_FALSE(hopla_->SaishouCheckBox.Checked());
  EXPECT_FALSE(hopla_->JtkUseCheckBox.Checked());
  EXPECT_TRUE(hopla_->BreakNasiRadioButton.Checked());
  EXPECT_EQ(State().BrakeDelay, 1);
  EXPECT_FALSE(desk_.IsMinimised(hopla_->Handle()));
  Quit();
  EXPECT_EQ(desk_.File(kSettingsFile), Sjis(kFirstRunFile));
}

struct SpeedCase {
  const char* stored;
  int32_t position;
  int32_t step_delay;
  int32_t step_pixels;
};

class StoredSpeedTest : public SettingsTest,
                        public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(StoredSpeedTest, LoadsClampedOrDefaultPosition) {
  StartWith(std::string("[マウス]\r\nマウス移動速度=") + GetParam().stored +
            "\r\n");
  EXPECT_EQ(hopla_->SpeedBar.Position(), GetParam().position);
  EXPECT_EQ(State().StepDelay, GetParam().step_delay);
  EXPECT_EQ(State().StepPixels, GetParam().step_pixels);
}

INSTANTIATE_TEST_SUITE_P(HandEdited, StoredSpeedTest,
                         ::testing::Values(SpeedCase{"0", 1, 50, 1},
                                           SpeedCase{"12", 8, 1, 5},
                                           SpeedCase{"abc", 3, 20, 1},
                                           SpeedCase{"0x6", 6, 3, 3},
                                           SpeedCase{"6\r\n[拡張設定]\r\n"
                                                     "細かい速さ=1",
                                                     6, 5, 1}));

TEST_F(SettingsTest, BooleansCountAnyNonZeroNumberAsOn) {
  StartWith("[マウス]\r\n8方向=2\r\n[サウンド]\r\n音を出す=yes\r\n");
  EXPECT_TRUE(hopla_->HoukouCheckBox.Checked());
  EXPECT_EQ(State().DirectionCount, 8);
  EXPECT_TRUE(hopla_->SoundCheckBox.Checked());  // default on, not "yes"
}

TEST_F(SettingsTest, EightDirectionsTextYesLeavesTheDefault) {
  StartWith("[マウス]\r\n8方向=yes\r\n");
  EXPECT_FALSE(hopla_->HoukouCheckBox.Checked());
  EXPECT_EQ(State().DirectionCount, 4);
}

TEST_F(SettingsTest, UnknownBrakeStrengthIsKeptWithNoneSelected) {
  StartWith("[ブレーキ]\r\n強さ=75\r\nボタン=1\r\n");
  EXPECT_EQ(State().BrakeDelay, 75);
  EXPECT_TRUE(hopla_->BreakNasiRadioButton.Checked());
  EXPECT_TRUE(hopla_->BreakBtnCheckBox.Checked());
  // Kinds missing from the section load clear.
  EXPECT_FALSE(hopla_->BreakIconCheckBox.Checked());
  EXPECT_FALSE(hopla_->BreakRadioCheckBox.Checked());
  Quit();
  EXPECT_NE(desk_.File(kSettingsFile)->find(Sjis("強さ=75\r\n")),
            std::string::npos);
}

TEST_F(SettingsTest, KnownBrakeStrengthSelectsItsButton) {
  StartWith("[ブレーキ]\r\n強さ=150\r\n");
  EXPECT_TRUE(hopla_->BreakTuyoiRadioButton.Checked());
  EXPECT_FALSE(hopla_->BreakNasiRadioButton.Checked());
}

TEST_F(SettingsTest, StartsMinimisedWhenAskedTo) {
  StartWith("[起動]\r\n最小化=1\r\n");
  desk_.RunFor(100);
  // Only the taskbar button shows.
  EXPECT_TRUE(desk_.IsMinimised(AppWindow()));
  EXPECT_FALSE(desk_.IsVisible(hopla_->Handle()));
}

TEST_F(SettingsTest, SavesKeepUnknownTextAndRepeatByteForByte) {
  const std::string mine =
      "; written by hand\r\n[mine]\r\nfoo=bar\r\n\r\n[マウス]\r\n"
      "extra=5\r\nマウス移動速度=7\r\n";
  StartWith(mine);
  Do([this] { hopla_->SpeedBar.SetPosition(2); });
  Quit();
  const auto first = desk_.File(kSettingsFile);
  ASSERT_TRUE(first.has_value());
  const std::string text = Cp932ToUtf8(*first);
  EXPECT_EQ(text.rfind("; written by hand\r\n[mine]\r\nfoo=bar\r\n\r\n"
                       "[マウス]\r\nextra=5\r\nマウス移動速度=2\r\n",
                       0),
            0u)
      << text;
  hopla_ = nullptr;
  Start();
  Quit();
  EXPECT_EQ(desk_.File(kSettingsFile), first);
}

TEST_F(SettingsTest, RefusedWriteIsReportedAndLeavesTheFileWhole) {
  const std::string before = Sjis("[マウス]\r\nマウス移動速度=5\r\n");
  desk_.PutFile(kSettingsFile, before);
  desk_.RefuseWrites(kSettingsFile, true);
  Start();
  Do([this] { hopla_->SpeedBar.SetPosition(7); });
  Quit();
  EXPECT_EQ(desk_.File(kSettingsFile), before);
  const auto boxes = desk_.TraceOf("msgbox");
  // The question, then the close's report; the destruction's save, after the
  // program has ended, opens no box the switch could not close.
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text,
            "「ホプラー。」Ver2.10|.\\Hoplar.ini に書き込めません");
  EXPECT_EQ(*process_->ExitCode(), 0);
}

TEST_F(SettingsTest, FileThatCannotBeReadIsNeverOverwritten) {
  const std::string mine = Sjis("[mine]\r\nfoo=bar\r\n");
  desk_.PutFile(kSettingsFile, mine);
  desk_.MakeUnreadable(kSettingsFile, true);
  Start();
  EXPECT_EQ(hopla_->SpeedBar.Position(), 3);  // the defaults
  Quit();
  desk_.MakeUnreadable(kSettingsFile, false);
  EXPECT_EQ(desk_.File(kSettingsFile), mine);
  EXPECT_EQ(desk_.TraceOf("msgbox").size(), 2u);  // question, one report
}

TEST_F(SettingsTest, GarbageFileLoadsTheDefaults) {
  std::string garbage(1 << 20, '\x81');
  garbage += "\r\n[\xff\xfe]\r\n\x00\x01=\x02";
  desk_.PutFile(kSettingsFile, garbage);
  Start();
  EXPECT_EQ(hopla_->SpeedBar.Position(), 3);
  EXPECT_EQ(State().LongPressTicks, 40);
  EXPECT_TRUE(process_->Running());
}

// A search for JoyToKey at start-up can take minutes; meanwhile the switch
// is the one stored (a key here) and a press is measured with the stored
// long-press time: 500 ms is short with 70 polls (the built-in 20 would
// make it long).
TEST_F(SettingsTest, ASearchAtStartUpMeasuresWithTheStoredSwitchAndTimes) {
  desk_.AddTreeFolder("C:\\Windows");
  desk_.SetListingCost(2000);
  desk_.PutFile(kSettingsFile, Sjis("[UseJoyToKey]\r\nJoyToKeyの利用=1\r\n"
                                    "[タイマー]\r\n長押し判定時間=6\r\n"
                                    "[拡張設定]\r\nスイッチ=1\r\nキー=32\r\n"));
  desk_.Launch(kHoplaPath,
               [](Platform& platform) { return RunHopla(platform); });
  SwitchChoice space;
  space.kind = SwitchKind::kKey;
  space.key = 0x20;
  desk_.HoldSwitch(1000, 1500, space);
  desk_.RunFor(3000);
  ASSERT_NE(desk_.FindWindowByTitle("「ホプラー。」　JoyToKeyを探しています…"),
            kNoWindow);
  EXPECT_EQ(EventsOf({"sound"}),
            std::vector<std::string>{"sound Pomclick.wav"});
}

TEST_F(SettingsTest, SliderMapsAndStepsReapplyAtTheEnds) {
  Start();
  Do([this] {
    hopla_->SpeedBar.SetPosition(8);
    hopla_->SpeedBar.SetPosition(2);
  });
  EXPECT_EQ(State().StepDelay, 30);
  EXPECT_EQ(State().StepPixels, 1);
  Do([this] {
    hopla_->SpeedBar.SetPosition(1);
    State().StepDelay = 99;  // as the brake leaves it
    hopla_->IdouDownButtonClick(*hopla_);
  });
  EXPECT_EQ(hopla_->SpeedBar.Position(), 1);
  EXPECT_EQ(State().StepDelay, 50);
  Do([this] {
    for (int i = 0; i < 10; ++i) hopla_->KeyModeNagaiButtonClick(*hopla_);
    hopla_->NagaHanteiMijikaiButtonClick(*hopla_);
    hopla_->JikkouNagaiButtonClick(*hopla_);
  });
  EXPECT_EQ(hopla_->KeyModeBar.Position(), 8);
  EXPECT_EQ(State().PollInterval, 11);
  EXPECT_EQ(State().LongPressTicks, 30);
  EXPECT_EQ(State().ExecuteDelay, 1200);
}

TEST_F(SettingsTest, ClearingTheBoostOptionEndsARunningBoost) {
  Start();
  Do([this] {
    State().SpeedFactor = 5;
    State().SpeedBoost = true;
    hopla_->ImadakeSokudo.SetChecked(false);
  });
  EXPECT_EQ(State().SpeedFactor, 1);
  EXPECT_TRUE(State().SpeedBoost);
}

// The extended settings: a value at its default is written only when its key
// is there already; one out of its range reads as the default; a changed one
// is added in the section of its own.
TEST_F(SettingsTest, ExtendedValuesAreWrittenOnlyWhenChangedOrAlreadyThere) {
  StartWith(
      "[拡張設定]\r\nスイッチ=1\r\nキー=124\r\n吹き出し=0\r\nボタン=99\r\n"
      "たどる間隔=31\r\n");
  ExtendedSettings read;
  Do([&] { read = hopla_->Extended(); });
  EXPECT_EQ(read.switch_choice.kind, SwitchKind::kKey);
  EXPECT_EQ(read.switch_choice.key, 124u);
  EXPECT_EQ(read.switch_choice.button, 1);
  EXPECT_FALSE(read.bubble);
  EXPECT_EQ(read.step_pace, 10);  // out of range: the default
  Do([&] {
    read.switch_choice.mouse_button = SwitchMouseButton::kX1;
    read.hop = true;
    hopla_->SetExtended(read);
  });
  EXPECT_TRUE(State().HopOn);
  Quit();
  const std::string text = Cp932ToUtf8(*desk_.File(kSettingsFile));
  EXPECT_NE(text.find("[拡張設定]\r\nスイッチ=1\r\nキー=124\r\n吹き出し=0\r\n"
                      "ボタン=1\r\nたどる間隔=10\r\nマウスボタン=4\r\n"
                      "要素へ跳ぶ=1\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("ジョイスティック="), std::string::npos) << text;
}

}  // namespace
}  // namespace hopla
