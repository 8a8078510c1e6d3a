// The brake's strengths and the kinds of element it slows over, each
// described once: a kind's key in the settings file, its bit of BrakeKinds
// and the accessibility role that brakes for it. The window ties each kind
// to its check box and each strength to its radio button.
#ifndef HOPLA_SHARED_BRAKE_KINDS_H_
#define HOPLA_SHARED_BRAKE_KINDS_H_

#include <array>
#include <cstdint>

namespace hopla {

// The strengths, as BrakeDelay in milliseconds; kBrakeNone brakes not at all.
inline constexpr int32_t kBrakeNone = 1;
inline constexpr int32_t kBrakeWeak = 50;
inline constexpr int32_t kBrakeMedium = 100;
inline constexpr int32_t kBrakeStrong = 150;

inline constexpr int64_t kNoRole = -1;

struct BrakeKind {
  const char* key;  // in the brake's section; none: not stored
  uint32_t bit;     // of BrakeKinds; 0: ticking it changes nothing
  int64_t role;     // the role that brakes for it, or kNoRole
};
inline constexpr BrakeKind kBrakeIcon{"アイコン", 0x001, 0x22};  // list item
inline constexpr BrakeKind kBrakeScrollBar{"スクロールバー", 0x002,
                                           0x27};  // indicator
inline constexpr BrakeKind kBrakeStartMenu{nullptr, 0, kNoRole};
inline constexpr BrakeKind kBrakeCheckBox{"チェックBOX", 0x008,
                                          0x2C};  // check button
inline constexpr BrakeKind kBrakeTextBox{"テキストBOX", 0, kNoRole};
inline constexpr BrakeKind kBrakeTrayTab{"トレイ/タブ", 0x020,
                                         0x25};                  // page tab
inline constexpr BrakeKind kBrakeButton{"ボタン", 0x040, 0x2B};  // push button
inline constexpr BrakeKind kBrakeMenuBar{"メニューバー", 0x080,
                                         0x0C};  // menu item
inline constexpr BrakeKind kBrakeRadio{"ラジオボタン", 0x100,
                                       0x2D};                 // radio button
inline constexpr BrakeKind kBrakeLink{nullptr, 0x200, 0x1E};  // link
// Every kind, in the order of the window's boxes.
inline constexpr std::array<const BrakeKind*, 10> kBrakeKindList = {
    &kBrakeIcon,    &kBrakeScrollBar, &kBrakeStartMenu, &kBrakeCheckBox,
    &kBrakeTextBox, &kBrakeTrayTab,   &kBrakeButton,    &kBrakeMenuBar,
    &kBrakeRadio,   &kBrakeLink};

}  // namespace hopla

#endif  // HOPLA_SHARED_BRAKE_KINDS_H_
