// Fills the client's shared data (ClientKit) from the world: the signed-in
// user, the roster, rights, edition values and the client folder.
#pragma once

#include <QString>

#include "World.h"

namespace host {

// The client folder compiled in: the repository's assets/ folder.
QString DefaultClientFolder();

void FillClientKit(const CWorld& world, const QString& clientFolder);

} // namespace host
