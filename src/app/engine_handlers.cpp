// The engine's handlers on the main window: thin calls into the parts.
#include "app/hopla.h"

namespace hopla {

void THopla::OnTimerTimer(Component& /*sender*/) { heartbeat_.Tick(); }

void THopla::TimeOverTimerTimer(Component& /*sender*/) { executor_.Execute(); }

void THopla::HelpButtonClick(Component& /*sender*/) {
  app().platform().ShellOpen(kHelpFile);
}

void THopla::BreakNasiRadioButtonClick(Component& /*sender*/) {
  brake_.SetStrength(kBrakeNone);
}
void THopla::BreakYowaiRadioButtonClick(Component& /*sender*/) {
  brake_.SetStrength(kBrakeWeak);
}
void THopla::BreakChuuRadioButtonClick(Component& /*sender*/) {
  brake_.SetStrength(kBrakeMedium);
}
void THopla::BreakTuyoiRadioButtonClick(Component& /*sender*/) {
  brake_.SetStrength(kBrakeStrong);
}

void THopla::BreakIconCheckBoxClick(Component& /*sender*/) {
  brake_.SetKind(kBrakeIcon, BreakIconCheckBox.Checked());
}
void THopla::BreakScrollBarCheckBoxClick(Component& /*sender*/) {
  brake_.SetKind(kBrakeScrollBar, BreakScrollBarCheckBox.Checked());
}
void THopla::BreakStartMenuCheckBoxClick(Component& /*sender*/) {
  // No role is tied to the start menu: the box changes nothing braking reads.
}
void THopla::BreakChkCheckBoxClick(Component& /*sender*/) {
  brake_.SetKind(kBrakeCheckBox, BreakChkCheckBox.Checked());
}
void THopla::BreakToreiTabCheckBoxClick(Component& /*sender*/) {
  brake_.SetKind(kBrakeTrayTab, BreakToreiTabCheckBox.Checked());
}
void THopla::BreakBtnCheckBoxClick(Component& /*sender*/) {
  brake_.SetKind(kBrakeButton, BreakBtnCheckBox.Checked());
}
void THopla::BreakMenuBarCheckBoxClick(Component& /*sender*/) {
  brake_.SetKind(kBrakeMenuBar, BreakMenuBarCheckBox.Checked());
}
void THopla::BreakRadioCheckBoxClick(Component& /*sender*/) {
  brake_.SetKind(kBrakeRadio, BreakRadioCheckBox.Checked());
}
void THopla::BreakLinkCheckBoxClick(Component& /*sender*/) {
  brake_.SetKind(kBrakeLink, BreakLinkCheckBox.Checked());
}

void THopla::FindJoyToKeyWindow() { joytokey_.FindJoyToKeyWindow(); }

bool THopla::StartJoyToKey(const std::string& folder) {
  return joytokey_.StartJoyToKey(folder);
}

void THopla::LocateJoyToKey() { joytokey_.LocateJoyToKey(); }

std::string THopla::ReadStoredFolder() { return ReadJoyToKeyFolderSetting(); }

void THopla::StoreFolder(const std::string& folder) {
  WriteJoyToKeyFolderSetting(folder);
}

// In the caption and on the taskbar button: a search of whole drives can
// take minutes, and no box should have to be closed for it.
void THopla::ShowSearching(bool searching) {
  // A search at start-up comes before the window shows: it shows now.
  SetStartMinimized(SaishouCheckBox.Checked());
  app().ShowNow(*this);
  SetCaption(searching ? std::string(kWindowCaption) + kSearchingNote
                       : std::string(kWindowCaption));
  app().ShowStatus(searching ? kSearchingNote : "");
}

void THopla::JtkUseCheckBoxClick(Component& /*sender*/) {
  // Ticked by the load: run once every value is in place. Ticked while the
  // window closes (inside its last box): nothing is looked for any more.
  if (!SettingsLoaded() || Closed()) return;
  joytokey_.JtkUseCheckBoxClick();
}

}  // namespace hopla
