// Where the shell keeps the user's folders.
#pragma once

#include <string>

struct _GUID;

namespace sysvane::windows {

// The path of a known folder (FOLDERID_Startup, FOLDERID_RoamingAppData...); empty when unknown.
std::string KnownFolderPath(const _GUID& folder);

}  // namespace sysvane::windows
