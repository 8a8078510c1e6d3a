// The slider maps and the small handlers of the settings controls.
#include "settings/settings_window.h"
#include "shared/slider_maps.h"

namespace hopla {

void SettingsWindow::SpeedBarChange(Component& /*sender*/) {
  state_.SpeedPosition = SpeedBar.Position();
  ApplySpeedPosition(state_);
}

void SettingsWindow::NagaHanteiTrackBarChange(Component& /*sender*/) {
  state_.LongPressTicks = LongPressTicksFor(NagaHanteiTrackBar.Position());
}

void SettingsWindow::JikkouTrackBarChange(Component& /*sender*/) {
  state_.ExecuteDelay = ExecuteDelayFor(JikkouTrackBar.Position());
}

void SettingsWindow::KeyModeBarChange(Component& /*sender*/) {
  state_.PollInterval = PollIntervalFor(KeyModeBar.Position());
}

void SettingsWindow::StepSlider(TrackBar& slider, int32_t delta,
                                void (SettingsWindow::*map)(Component&)) {
  slider.SetPosition(slider.Position() + delta);
  (this->*map)(slider);
}

void SettingsWindow::IdouDownButtonClick(Component& /*sender*/) {
  StepSlider(SpeedBar, -1, &SettingsWindow::SpeedBarChange);
}
void SettingsWindow::IdouHayaiButtonClick(Component& /*sender*/) {
  StepSlider(SpeedBar, +1, &SettingsWindow::SpeedBarChange);
}
void SettingsWindow::NagaHanteiMijikaiButtonClick(Component& /*sender*/) {
  StepSlider(NagaHanteiTrackBar, -1, &SettingsWindow::NagaHanteiTrackBarChange);
}
void SettingsWindow::NagaHanteiNagaiButtonClick(Component& /*sender*/) {
  StepSlider(NagaHanteiTrackBar, +1, &SettingsWindow::NagaHanteiTrackBarChange);
}
void SettingsWindow::JikkouMijikaiButtonClick(Component& /*sender*/) {
  StepSlider(JikkouTrackBar, -1, &SettingsWindow::JikkouTrackBarChange);
}
void SettingsWindow::JikkouNagaiButtonClick(Component& /*sender*/) {
  StepSlider(JikkouTrackBar, +1, &SettingsWindow::JikkouTrackBarChange);
}
void SettingsWindow::KeyModeMijikaiButtonClick(Component& /*sender*/) {
  StepSlider(KeyModeBar, -1, &SettingsWindow::KeyModeBarChange);
}
void SettingsWindow::KeyModeNagaiButtonClick(Component& /*sender*/) {
  StepSlider(KeyModeBar, +1, &SettingsWindow::KeyModeBarChange);
}

void SettingsWindow::ImadakeSokudoClick(Component& /*sender*/) {
  state_.BoostAllowed = ImadakeSokudo.Checked();
  // Unticking ends a running boost at once; its flag stays as it was.
  if (!ImadakeSokudo.Checked()) state_.SpeedFactor = 1;
}

void SettingsWindow::SaishouCheckBoxClick(Component& /*sender*/) {
  // Acts at the next start, through the settings file.
}

void SettingsWindow::HoukouCheckBoxClick(Component& /*sender*/) {
  state_.DirectionCount = HoukouCheckBox.Checked() ? 8 : 4;
}

void SettingsWindow::SoundCheckBoxClick(Component& /*sender*/) {
  state_.SoundOn = SoundCheckBox.Checked();
}

void SettingsWindow::OrikaesiCheckBoxClick(Component& /*sender*/) {
  state_.TurnAtEdges = OrikaesiCheckBox.Checked();
}

void SettingsWindow::JtkUseCheckBoxClick(Component& /*sender*/) {
  state_.JoyToKeyUsed = JtkUseCheckBox.Checked();
  // Ticked by the load: run once every value is in place. Ticked while the
  // window closes (inside its last box): nothing is looked for any more.
  if (!SettingsLoaded() || Closed()) return;
  site_.JoyToKeyUseChanged();
}

}  // namespace hopla
