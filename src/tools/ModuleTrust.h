#pragma once
// Follows the jobs for the tools that must know what the module in hand holds: the settings it
// held when it was read, and the last programming job's record.
namespace kes {

// Starts following the reading and programming jobs; the shell calls it once its window exists.
void followModuleJobs();
// Stops following them (tests, and the window going away).
void stopFollowingModuleJobs();

} // namespace kes
