// The one way this folder includes the Windows headers: without the min/max
// macros (they break std::min/std::max) and with the multimedia API, which
// the lean headers leave out.
#ifndef HOPLA_PLATFORM_WIN32_WIN32_INCLUDE_H_
#define HOPLA_PLATFORM_WIN32_WIN32_INCLUDE_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>
// windows.h first: the headers below depend on it.
#include <commctrl.h>
#include <mmsystem.h>

#endif  // HOPLA_PLATFORM_WIN32_WIN32_INCLUDE_H_
