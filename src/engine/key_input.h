// Key input mode's execution: the press code types a key or a combination,
// or hands its key index to JoyToKey's window.
#ifndef HOPLA_ENGINE_KEY_INPUT_H_
#define HOPLA_ENGINE_KEY_INPUT_H_

#include <cstdint>

#include "engine/key_table.h"
#include "platform/platform.h"
#include "shared/engine_state.h"

namespace hopla {

inline constexpr int32_t kShowJoyToKeyPauseMs = 500;
inline constexpr int32_t kJoyToKeyKeyPauseMs = 100;

class KeyInput {
 public:
  KeyInput(Platform& platform, EngineState& state)
      : platform_(platform), state_(state) {}

  // One execution in key input mode.
  void Execute();

 private:
  void Type(const KeyCode& row);
  void HandToJoyToKey(int32_t key_index);
  void SendToJoyToKey(uint32_t message, intptr_t lparam);

  Platform& platform_;
  EngineState& state_;
};

}  // namespace hopla

#endif  // HOPLA_ENGINE_KEY_INPUT_H_
