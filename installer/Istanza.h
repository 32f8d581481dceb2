// One Velisca at a time: two would write the same temporary files.
#pragma once

namespace velisca {

// Returns when no other Velisca runs, or when that cannot be told. Otherwise
// brings the other one's window to the front, or says that an installation
// is already running when its window cannot be reached, and ends this
// program before it touches anything.
void UnaSolaVelisca();

}  // namespace velisca
