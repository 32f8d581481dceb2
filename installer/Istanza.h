// One Velisca at a time: two would write the same temporary files.
#pragma once

namespace velisca {

// Returns when no other Velisca runs. Otherwise brings the other one's window
// to the front and ends this program before it shows or touches anything.
void UnaSolaVelisca();

}  // namespace velisca
