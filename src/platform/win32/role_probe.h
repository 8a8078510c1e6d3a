// The accessibility probe: the role of the element at a point, through
// AccessibleObjectFromPoint and IAccessible::get_accRole, on a thread that
// the probe sets up for COM while it lives.
#ifndef HOPLA_PLATFORM_WIN32_ROLE_PROBE_H_
#define HOPLA_PLATFORM_WIN32_ROLE_PROBE_H_

#include <memory>

#include "platform/platform.h"

namespace hopla::win32 {

// Make and use on the probing thread only.
std::unique_ptr<RoleProbe> MakeRoleProbe();

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_ROLE_PROBE_H_
