// A shipped header that reaches for the test double.
#pragma once

#include "scripted/ScriptedUiDriver.h"
