// Helpers for tests that drive the application's code directly.
#pragma once

namespace appenv {

// Forgets the settings and logo folders and locates them again on the booted
// disk, as start-up does (a test may have pointed them elsewhere).
void LocateSettingsFolderAfresh();

}  // namespace appenv
