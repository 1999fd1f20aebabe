#pragma once
// The data folders of a device kind. Both paths end with a separator, so a file name can be
// appended directly.

#include <string>
#include <string_view>

namespace zrv::devices {

// The program's "DefaultData" folder: templates and defaults, read only.
std::string DefaultDataFolder();
// The template of a kind: DefaultDataFolder() + kind name + ".Json".
std::string DefaultProfilePath(std::string_view kind_name);
// The per-user folder of a kind: the user data folder of the product, then the kind's folder
// below it, each level created when it is missing. A folder that cannot be created is not
// reported: the path is returned all the same and the file operations on it fail later.
std::string UserDataFolder(std::string_view kind_name);

}  // namespace zrv::devices
