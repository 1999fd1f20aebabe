#pragma once
// The files a device keeps in its data folder ("ProfileList.ini", the profiles, "macro.config",
// the ".mac" files, the lighting and shoot files). An export chooses its target in a file dialog,
// and a target in the data folder would replace one of them behind the stores' backs.

#include <QString>

namespace zrv::config {

// Whether writing `path` would write a file of the device's data folder `folder` that is the
// device's own: any file already there, or a name its own files take (the profile list, the
// macro indexes, a ".mac" or ".json" file in any letter case). Links are followed as the write
// follows them; a file elsewhere, also one of the same name, is not the device's.
bool IsDeviceOwnFile(const QString& folder, const QString& path);

}  // namespace zrv::config
