#pragma once
// What this program knows of the module in hand. Modules are swapped behind one interface, so
// every time a module starts answering it may be another one: until its reading job has read
// all sixteen blocks nothing kept from the module before is offered. Then the module is
// recognised by what it holds:
//   - the same settings as the kept copy: the same module, untouched;
//   - the same settings as this program last programmed and read back through this interface:
//     the same module back after programming (the copy of what it held before stays);
//   - anything else: another module; what it holds becomes the kept copy, and the last
//     programming job no longer describes the module in hand.
#include "model/Settings.h"
#include "protocol/ModuleImage.h"

#include <windows.h>

#include <string>

namespace kes {

struct KeptConfiguration {
    SYSTEMTIME readAt{};  // local time of the reading job
    Settings settings;    // the blocks decoded as the reading showed them in the window
    ModuleImage image;    // the blocks as read
};

// What the module in hand held when this program first read it; null while nothing is kept or
// the module in hand has not been recognised yet.
const KeptConfiguration* keptConfiguration();

// Starts following the reading and programming jobs (module recognition and the edits kept
// before an automatic reading); the shell calls it once its window exists.
void followModuleJobs();
// Stops following them and forgets everything kept (tests, and the window going away).
void stopFollowingModuleJobs();

} // namespace kes
