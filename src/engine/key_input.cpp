#include "engine/key_input.h"

#include "shared/joytokey_interface.h"

namespace hopla {

void KeyInput::Execute() {
  const std::string code = state_.PressCode.Get();
  if (code == kKeyShowJoyToKey) {
    SendToJoyToKey(kJoyToKeyShow, 0);
    platform_.Sleep(kShowJoyToKeyPauseMs);
    platform_.SetForegroundWindow(state_.JoyToKeyWindow);
  } else if (code == kKeyShowJoyToKeyNext) {
    SendToJoyToKey(kJoyToKeyShowNext, 0);
  } else if (const KeyCode* row = FindKeyCode(code)) {
    if (row->first_key != 0 && !state_.JoyToKeyUsed) {
      Type(*row);
    } else {
      HandToJoyToKey(row->key_index);
    }
  }
  state_.PressCode.Set(std::string(kKeyModeCode));
  state_.MoverEvent->Set();
}

// Four events whatever the row: a row without a second key still sends its
// two middle events, with virtual key 0.
void KeyInput::Type(const KeyCode& row) {
  platform_.KeyEvent(row.first_key, false);
  platform_.KeyEvent(row.second_key, false);
  platform_.KeyEvent(row.second_key, true);
  platform_.KeyEvent(row.first_key, true);
}

void KeyInput::HandToJoyToKey(int32_t key_index) {
  SendToJoyToKey(kJoyToKeyKeyBegin, kJoyToKeyKeyBeginLparam);
  SendToJoyToKey(kJoyToKeyKeyDown, key_index);
  platform_.Sleep(kJoyToKeyKeyPauseMs);
  SendToJoyToKey(kJoyToKeyKeyUp, key_index);
}

void KeyInput::SendToJoyToKey(uint32_t message, intptr_t lparam) {
  platform_.SendToWindow(state_.JoyToKeyWindow, message, 0, lparam,
                         kJoyToKeyCommandTimeoutMs);
}

}  // namespace hopla
