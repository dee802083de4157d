// <windows.h> without the macros that clash with the program's own names: the platform interfaces
// keep the Win32 names of functions (GetVersionEx, DeleteFile...), which <windows.h> defines as
// macros for their A and W forms, and of constants (DRIVE_FIXED, REG_SZ...), which it defines as
// macros too. Include this instead of <windows.h>, after the platform headers; the
// backend calls the W forms by name, and the system's own root keys come from SystemRoot().
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#undef GetVersionEx
#undef GetLogicalDriveStrings
#undef GetDriveType
#undef GetDiskFreeSpaceEx
#undef RegOpenKeyEx
#undef RegQueryValueEx
#undef DeleteFile
#undef MoveFile
#undef MessageBox

// Constants the platform headers declare with the same values.
#undef DRIVE_UNKNOWN
#undef DRIVE_NO_ROOT_DIR
#undef DRIVE_REMOVABLE
#undef DRIVE_FIXED
#undef DRIVE_REMOTE
#undef DRIVE_CDROM
#undef DRIVE_RAMDISK
#undef AC_LINE_OFFLINE
#undef AC_LINE_ONLINE
#undef AC_LINE_UNKNOWN
#undef BATTERY_FLAG_HIGH
#undef BATTERY_FLAG_LOW
#undef BATTERY_FLAG_CRITICAL
#undef BATTERY_FLAG_CHARGING
#undef BATTERY_FLAG_NO_BATTERY
#undef BATTERY_FLAG_UNKNOWN
#undef BATTERY_PERCENTAGE_UNKNOWN
#undef BATTERY_LIFE_UNKNOWN
#undef VER_PLATFORM_WIN32s
#undef VER_PLATFORM_WIN32_WINDOWS
#undef VER_PLATFORM_WIN32_NT
#undef KEY_ALL_ACCESS
#undef KEY_READ
#undef REG_SZ
#undef REG_DWORD
// Root keys: the platform's are numbers (SystemRoot() turns them into the system's handles).
#undef HKEY_LOCAL_MACHINE
#undef HKEY_DYN_DATA
#undef HKEY_CURRENT_USER
