// Hopla's keyboard on the simulated desktop, used with the switch alone:
// "10" while standing opens and closes it when it is switched on, the
// system menu's item always does, a click of the switch on a key types it
// into the window in front (Shift goes with the next key only), and it
// opens where it was kept.
#include "engine/keyboard.h"

#include <gtest/gtest.h>

#include "engine/keyboard_layout.h"
#include "executor_fixture.h"
#include "platform/sim/sim_widgets.h"

namespace hopla {
namespace {

class KeyboardTest : public ExecutorTest {
 protected:
  WindowHandle Keyboard() const {
    return desk_.FindWindowByTitle(kKeyboardCaption);
  }
  // Clicks the key with the switch: the cursor stands on it, then "1".
  void ClickKey(std::string_view label) {
    const std::optional<Rect> window = desk_.WindowRectOf(Keyboard());
    ASSERT_TRUE(window.has_value());
    KeyboardView view;
    view.columns = kKeyboardColumns;
    view.rows = kKeyboardRows;
    for (const KeyDef& key : kKeyboardKeys) {
      if (key.label != label) continue;
      const Rect r = KeyRect(view, {std::string(label), key.cells},
                             {window->Width(), window->Height()});
      const Point centre{window->left + (r.left + r.right) / 2,
                         window->top + (r.top + r.bottom) / 2};
      desk_.PlaceCursor(centre);
      Do([&] {
        State().CursorX = centre.x;
        State().CursorY = centre.y;
      });
      RunCode("1");
      desk_.RunFor(100);
      return;
    }
    FAIL() << "no key " << label;
  }
  bool MenuChecked() {
    return desk_.Widget(hopla_->Handle())->MenuItemChecked(kKeyboardCommand);
  }
};

TEST_F(KeyboardTest, TenOpensItTheSwitchTypesWithItAndTheFocusStays) {
  const WindowHandle editor = AddWindow("メモ帳", {0, 0, 400, 300});
  desk_.SetForeground(editor);
  RunCode("10");
  EXPECT_EQ(Keyboard(), kNoWindow) << "switched off, \"10\" does nothing";
  SetExtended([](ExtendedSettings& s) { s.keyboard = true; });
  Do([this] { State().PressCode.Set("10"); });
  desk_.RunFor(100);
  EXPECT_NE(
      desk_.TraceOf("bubble").back().text.find("キーボードを開く・閉じる"),
      std::string::npos);
  desk_.RunFor(1500);
  ASSERT_NE(Keyboard(), kNoWindow);
  EXPECT_EQ(desk_.WindowRectOf(Keyboard()),
            HoplaKeyboard::DefaultPlace(desk_.Screen()));
  EXPECT_TRUE(MenuChecked());

  desk_.ClearTrace();
  ClickKey("Shift");
  ClickKey("a");
  ClickKey("?");
  ClickKey("n");
  EXPECT_EQ(EventsOf({"type"}),
            (Events{"type 16 down", "type 65 down", "type 65 up", "type 16 up",
                    "type 16 down", "type 191 down", "type 191 up",
                    "type 16 up", "type 78 down", "type 78 up"}));
  EXPECT_EQ(desk_.Foreground(), editor);
  EXPECT_TRUE(desk_.HeldInput().empty());

  RunCode("10");
  EXPECT_FALSE(desk_.IsVisible(Keyboard()));
  EXPECT_FALSE(MenuChecked());
  // Switched off, the menu still opens it: where the settings kept it.
  SetExtended([](ExtendedSettings& s) {
    s.keyboard = false;
    s.keyboard_left = 10;
    s.keyboard_top = 20;
    s.keyboard_width = 300;
    s.keyboard_height = 150;
  });
  process_->PostAt(desk_.Now(), hopla_->Handle(), kWmSysCommand,
                   kKeyboardCommand, 0);
  desk_.RunFor(100);
  EXPECT_TRUE(desk_.IsVisible(Keyboard()));
  EXPECT_EQ(desk_.WindowRectOf(Keyboard()), (Rect{10, 20, 310, 170}));
  // Its close box closes it; the program hears of it.
  process_->PostAt(desk_.Now(), Keyboard(), kWmClose, 0, 0);
  desk_.RunFor(100);
  EXPECT_FALSE(desk_.IsVisible(Keyboard()));
  EXPECT_FALSE(MenuChecked());
}

}  // namespace
}  // namespace hopla
