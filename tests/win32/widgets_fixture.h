// The Win32 widget tests' fixture: a platform, a form made as the settings
// window makes its own, controls inside it, and the events they report.
#ifndef HOPLA_TESTS_WIN32_WIDGETS_FIXTURE_H_
#define HOPLA_TESTS_WIN32_WIDGETS_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/widget_base.h"
#include "platform/win32/win32_platform.h"
#include "wine_helpers.h"

namespace hopla::win32 {

inline constexpr int kClientWidth = 607;
inline constexpr uint32_t kMenuCommand = 0x0110;  // an item of our own
inline constexpr int kClientHeight = 428;

// Records every call as one line, in order.
class RecordingEvents : public WidgetEvents {
 public:
  void OnUserChecked(bool checked) override {
    log.push_back(checked ? "checked" : "unchecked");
  }
  void OnUserClicked() override { log.push_back("clicked"); }
  void OnUserPosition(int32_t position) override {
    log.push_back("position " + std::to_string(position));
  }
  void OnCloseRequest() override { log.push_back("close"); }
  void OnSysCommand(uint32_t command) override {
    log.push_back("syscommand " + std::to_string(command));
  }
  bool OnQueryEndSession() override {
    log.push_back("query end");
    return may_end;
  }
  void OnGetMinMaxInfo(MinMaxInfo& info) override {
    if (pin_to) {
      info.max_size = Point{pin_to->Width(), pin_to->Height()};
      info.max_position = Point{pin_to->left, pin_to->top};
    }
  }
  void OnHotKey(int32_t id) override {
    log.push_back("hotkey " + std::to_string(id));
  }
  void OnShown() override { log.push_back("shown"); }
  void OnRestored() override { log.push_back("restored"); }

  std::vector<std::string> log;
  bool may_end = true;
  std::optional<Rect> pin_to;
};

class Win32WidgetsTest : public ::testing::Test {
 protected:
  std::unique_ptr<NativeWidget> MakeForm(bool topmost = true) {
    WidgetArgs desc;
    desc.kind = WidgetKind::kForm;
    desc.caption = "「ホプラー。」";
    desc.bounds = Rect{0, 0, kClientWidth, kClientHeight};
    desc.topmost = topmost;
    desc.system_menu = {{kMenuCommand, "拡張設定..."}};
    return platform_.CreateWidget(desc, nullptr, &form_events_);
  }
  std::unique_ptr<NativeWidget> MakeChild(WidgetKind kind, NativeWidget* parent,
                                          WidgetEvents* events,
                                          const std::string& caption = "") {
    WidgetArgs desc;
    desc.kind = kind;
    desc.caption = caption;
    desc.bounds = Rect{16, 24, 16 + 161, 24 + 17};
    desc.min = 1;
    desc.max = 8;
    desc.position = 1;
    return platform_.CreateWidget(desc, parent, events);
  }
  static HWND Hwnd(const NativeWidget& widget) {
    return reinterpret_cast<HWND>(widget.Handle());
  }

  Win32Platform platform_{SwitchSourceKind::kJoystick};
  RecordingEvents form_events_;
};

}  // namespace hopla::win32

#endif  // HOPLA_TESTS_WIN32_WIDGETS_FIXTURE_H_
