// Fills the client's shared data (ClientKit) from the world: the signed-in
// user, the roster, rights, edition values and the client folder.
#pragma once

#include <QString>

#include "World.h"

namespace host {

// The client folder: installed, share/tarvolan/ beside the program's bin/
// folder; in the build tree, the repository's assets/ folder (compiled in).
QString DefaultClientFolder();
// The same for a program in programFolder.
QString ClientFolderFor(const QString& programFolder);

void FillClientKit(const CWorld& world, const QString& clientFolder);

// The application's names: "tarvolan-client" for its settings and Qt's own
// uses, "Velora" as the name a desktop shows, which also titles a box whose
// caption is empty.
void NameApplication();

} // namespace host
