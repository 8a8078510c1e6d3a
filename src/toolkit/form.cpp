#include "toolkit/form.h"

#include "toolkit/application.h"

namespace hopla {

namespace {
WidgetArgs AsForm(WidgetArgs desc) {
  desc.kind = WidgetKind::kForm;
  desc.visible = false;  // shown by the application's Run
  return desc;
}
}  // namespace

Form::Form(Application& app, std::string name, const WidgetArgs& desc)
    : Control(app, nullptr, std::move(name), AsForm(desc)) {}

void Form::Close() {
  bool can_close = true;
  if (on_close_query) on_close_query(*this, can_close);
  if (!can_close) return;
  CloseAction action = CloseAction::kHide;
  if (on_close) on_close(*this, action);
  if (action == CloseAction::kNone) return;
  if (app().MainForm() == this) {
    app().Terminate();
  } else {
    SetVisible(false);
  }
}

void Form::ShowFirst() {
  // The peer reports the show itself (OnShown), as it does after a restore.
  peer().Show(start_minimized_);
}

bool Form::Minimized() const { return peer().IsMinimized(); }

void Form::Minimize() { peer().Minimize(); }

void Form::Restore() {
  if (Minimized()) peer().Restore();
}

void Form::DestroyWindow() {
  if (destroyed_) return;
  destroyed_ = true;
  peer().Destroy();
}

void Form::OnCloseRequest() {
  app().Guard([&] { Close(); });
}

void Form::OnSysCommand(uint32_t command) {
  app().Guard([&] {
    if (on_sys_command) on_sys_command(command);
  });
}

bool Form::OnQueryEndSession() {
  bool answer = true;
  app().Guard([&] {
    if (on_query_end_session) answer = on_query_end_session();
  });
  return answer;
}

void Form::OnGetMinMaxInfo(MinMaxInfo& info) {
  app().Guard([&] {
    if (on_get_min_max_info) on_get_min_max_info(info);
  });
}

void Form::OnHotKey(int32_t id) {
  app().Guard([&] {
    if (on_hot_key) on_hot_key(id);
  });
}

void Form::OnShown() {
  desc().visible = true;
  app().Guard([&] {
    if (on_show) on_show(*this);
  });
}

void Form::OnMouseMove(Point at) {
  app().Guard([&] {
    if (on_mouse_move) on_mouse_move(*this, at);
  });
}

void Form::OnRestored() {
  app().Guard([&] { app().NoteRestored(); });
}

}  // namespace hopla
