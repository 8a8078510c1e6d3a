#include "platform/win32/message_box.h"

#include "platform/win32/text_conv.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {
namespace {

UINT IconFlags(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::kWarning:
      return MB_ICONWARNING;
    case MessageBoxIcon::kError:
      return MB_ICONERROR;
    case MessageBoxIcon::kInformation:
      return MB_ICONINFORMATION;
    case MessageBoxIcon::kNone:
      break;
  }
  return 0;
}

}  // namespace

DialogResult ShowModalMessageBox(const MessageBoxSpec& spec) {
  UINT flags =
      spec.buttons == MessageBoxButtons::kOkCancel ? MB_OKCANCEL : MB_OK;
  flags |= IconFlags(spec.icon);
  if (spec.default_is_second) flags |= MB_DEFBUTTON2;
  HWND owner = reinterpret_cast<HWND>(spec.owner);
  // Our main window stays on top of everything: a box without an owner would
  // open behind it, out of reach. Task-modal keeps it modal to the program.
  if (owner == nullptr) flags |= MB_TASKMODAL | MB_TOPMOST;
  const int answer = MessageBoxW(owner, Utf8ToWide(spec.text).c_str(),
                                 Utf8ToWide(spec.caption).c_str(), flags);
  return answer == IDOK ? DialogResult::kOk : DialogResult::kCancel;
}

}  // namespace hopla::win32
