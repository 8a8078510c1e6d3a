// A top-level window. Closing asks the close-query handler first, then runs
// the close handler; closing the application's main form ends the program.
#ifndef HOPLA_TOOLKIT_FORM_H_
#define HOPLA_TOOLKIT_FORM_H_

#include <cstdint>
#include <functional>

#include "toolkit/control.h"

namespace hopla {

enum class CloseAction { kNone, kHide, kFree, kMinimize };

class Form : public Control {
 public:
  Form(Application& app, std::string name, const WidgetArgs& desc);

  // Asks the window to close: the close query decides.
  void Close();
  // Before the first show: start minimised.
  void SetStartMinimized(bool minimized) { start_minimized_ = minimized; }
  bool StartMinimized() const { return start_minimized_; }
  // Whether the window itself is minimised now, however it came about.
  bool Minimized() const;
  // Shows the window, or, when it starts minimised, leaves it for the
  // application's restore.
  void ShowFirst();
  // Minimises the application the form belongs to.
  void Minimize();
  // Brings the window back when it is minimised itself.
  void Restore();
  // Tears down the native window.
  void DestroyWindow();
  // A check mark beside an item of the system menu.
  void SetMenuItemChecked(uint32_t command, bool checked) {
    peer().SetMenuItemChecked(command, checked);
  }
  // A system-wide hot key, reported through on_hot_key; false when another
  // program holds it. Key 0 only lets go of the one before.
  bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t key) {
    return peer().RegisterHotKey(id, modifiers, key);
  }

  std::function<void(Component& sender, bool& can_close)> on_close_query;
  std::function<void(Component& sender, CloseAction& action)> on_close;
  NotifyEvent on_show;
  // The pointer over the bare client area, not over a control.
  std::function<void(Component& sender, Point at)> on_mouse_move;
  // Window messages the form answers itself.
  std::function<void(uint32_t command)> on_sys_command;
  std::function<bool()> on_query_end_session;
  std::function<void(MinMaxInfo& info)> on_get_min_max_info;
  std::function<void(int32_t id)> on_hot_key;

 protected:
  void OnCloseRequest() override;
  void OnSysCommand(uint32_t command) override;
  bool OnQueryEndSession() override;
  void OnGetMinMaxInfo(MinMaxInfo& info) override;
  void OnHotKey(int32_t id) override;
  void OnShown() override;
  void OnRestored() override;
  void OnMouseMove(Point at) override;

 private:
  bool start_minimized_ = false;
  bool destroyed_ = false;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_FORM_H_
