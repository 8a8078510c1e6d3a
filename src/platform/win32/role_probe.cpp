#include "platform/win32/role_probe.h"

#include "platform/win32/system_dlls.h"

namespace hopla::win32 {
namespace {

class Win32RoleProbe final : public RoleProbe {
 public:
  // The accessibility objects of other programs are COM objects: this thread
  // joins a single-threaded apartment for as long as the probe lives.
  Win32RoleProbe()
      : com_ready_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~Win32RoleProbe() override {
    if (com_ready_) CoUninitialize();
  }
  Win32RoleProbe(const Win32RoleProbe&) = delete;
  Win32RoleProbe& operator=(const Win32RoleProbe&) = delete;

  RoleReading RoleAt(Point at) override {
    if (oleacc_.accessible_object_from_point == nullptr) return {};
    IAccessible* object = nullptr;
    VARIANT child;
    VariantInit(&child);
    const HRESULT found = oleacc_.accessible_object_from_point(
        POINT{at.x, at.y}, &object, &child);
    if (FAILED(found) || object == nullptr) return {};
    VARIANT role;
    VariantInit(&role);
    RoleReading reading;
    if (SUCCEEDED(object->get_accRole(child, &role))) reading = Read(role);
    // Held only for the two calls.
    object->Release();
    VariantClear(&role);
    VariantClear(&child);
    return reading;
  }

 private:
  static RoleReading Read(VARIANT& role) {
    if (role.vt == VT_BSTR) return {RoleReading::Kind::kText, 0};
    VARIANT number;
    VariantInit(&number);
    RoleReading reading;
    if (SUCCEEDED(VariantChangeType(&number, &role, 0, VT_I4))) {
      reading = {RoleReading::Kind::kNumber, number.lVal};
    }
    VariantClear(&number);
    return reading;
  }

  bool com_ready_;
  OleaccApi oleacc_;
};

}  // namespace

std::unique_ptr<RoleProbe> MakeRoleProbe() {
  return std::make_unique<Win32RoleProbe>();
}

}  // namespace hopla::win32
