// What libTarvolanPlatform.so and libClientKit.so export: both build with
// hidden visibility, and only declarations marked here are seen by the
// client and the module.
#pragma once

#define TARVOLAN_EXPORT __attribute__((visibility("default")))
