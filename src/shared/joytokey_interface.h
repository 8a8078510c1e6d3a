// What Hopla fixes about JoyToKey, the outside program that turns joystick
// input into keys: its window's title, and the private messages sent to it.
#ifndef HOPLA_SHARED_JOYTOKEY_INTERFACE_H_
#define HOPLA_SHARED_JOYTOKEY_INTERFACE_H_

#include <cstdint>
#include <string_view>

namespace hopla {

// JoyToKey's window: the first nine bytes of its title, exactly.
inline constexpr std::string_view kJoyToKeyTitlePrefix = "JoyToKey ";

// Every heartbeat tick while JoyToKey is in use.
inline constexpr uint32_t kJoyToKeyHeartbeatMessage = 33768;
// A key command: 33788 with lParam 48, 33779 with the key index, a pause,
// 33778 with the same index.
inline constexpr uint32_t kJoyToKeyKeyBegin = 33788;
inline constexpr intptr_t kJoyToKeyKeyBeginLparam = 48;
inline constexpr uint32_t kJoyToKeyKeyDown = 33779;
inline constexpr uint32_t kJoyToKeyKeyUp = 33778;
// After a start, and on the key input codes "KEY101" and "KEY1001".
inline constexpr uint32_t kJoyToKeyShow = 33789;
inline constexpr uint32_t kJoyToKeyShowNext = 33790;

// The messages that are waited for (all but the heartbeat) wait at most this
// long for a busy JoyToKey; a hung one is skipped at once.
inline constexpr int32_t kJoyToKeyCommandTimeoutMs = 500;

// Shown when JoyToKey's window has gone while its use is ticked.
inline constexpr char kJoyToKeyGoneText[] =
    "JoyToKey Vre3.75以降を起動してください\n"
    "JoyToKeyを使うのチェックはクリアされました";
inline constexpr char kErrorCaption[] = "エラー";

}  // namespace hopla

#endif  // HOPLA_SHARED_JOYTOKEY_INTERFACE_H_
