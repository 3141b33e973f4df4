// Where the client finds its folder, and its names.
#pragma once

#include <QString>

namespace host {

// The client folder: installed, share/tarvolan/ beside the program's bin/
// folder; in the build tree, the repository's assets/ folder (compiled in).
QString DefaultClientFolder();
// The same for a program in programFolder.
QString ClientFolderFor(const QString& programFolder);

// The application's names: "tarvolan-client" for its settings and Qt's own
// uses, "Velora" as the name a desktop shows, which also titles a box whose
// caption is empty.
void NameApplication();

} // namespace host
