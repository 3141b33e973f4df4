// Where the client finds the module and its client folder, and its names.
#pragma once

#include <QString>

namespace host {

// Default library path: libTarvolan.so in the program's folder (the build
// tree), otherwise the installed module in lib/ beside the program's bin/.
QString DefaultLibraryPath();
// The same for a program in programFolder.
QString LibraryPathFor(const QString& programFolder);

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
