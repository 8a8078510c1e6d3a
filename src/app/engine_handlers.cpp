// The engine's handlers on the main window: thin calls into the parts.
#include "app/hopla.h"

namespace hopla {

void THopla::OnTimerTimer(Component& /*sender*/) { heartbeat_.Tick(); }

void THopla::TimeOverTimerTimer(Component& /*sender*/) { executor_.Execute(); }

void THopla::HelpButtonClick(Component& /*sender*/) {
  app().platform().ShellOpen(app().Translate(kHelpFile));
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
  searching_ = searching;
  ShowCaption();
}

void THopla::JoyToKeyUseChanged() { joytokey_.JtkUseCheckBoxClick(); }

}  // namespace hopla
