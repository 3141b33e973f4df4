// A group-data header that reaches up into the main window.
#pragma once

#include "window/TarvolanDialog.h"

using namespace tarvolan;
