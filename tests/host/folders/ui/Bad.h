// The session and the windows know the network only as a CImsNetwork.
#pragma once

#include "bridge/ImsNetwork.h"
#include "sim/World.h"
