// The bridge builds on no other folder of the client.
#pragma once

#include "sim/SimulatedIms.h"
