// Resource numbers shared by resources/hopla.rc and the code that loads them.
#ifndef HOPLA_PLATFORM_WIN32_RESOURCE_IDS_H_
#define HOPLA_PLATFORM_WIN32_RESOURCE_IDS_H_

// Plain macros: the resource compiler reads this file too.
#define HOPLA_IDI_APP 101

#endif  // HOPLA_PLATFORM_WIN32_RESOURCE_IDS_H_
