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

DialogResult ShowModalMessageBox(const MessageBoxSpec& desc) {
  UINT flags =
      desc.buttons == MessageBoxButtons::kOkCancel ? MB_OKCANCEL : MB_OK;
  flags |= IconFlags(desc.icon);
  if (desc.default_is_second) flags |= MB_DEFBUTTON2;
  HWND owner = reinterpret_cast<HWND>(desc.owner);
  // Our main window stays on top of everything: a box without an owner would
  // open behind it, out of reach. Task-modal keeps it modal to the program.
  if (owner == nullptr) flags |= MB_TASKMODAL | MB_TOPMOST;
  const int answer = MessageBoxW(owner, Utf8ToWide(desc.text).c_str(),
                                 Utf8ToWide(desc.caption).c_str(), flags);
  return answer == IDOK ? DialogResult::kOk : DialogResult::kCancel;
}

}  // namespace hopla::win32
