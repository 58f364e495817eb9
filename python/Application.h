// SPDX-License-Identifier: MIT
#pragma once
// The application object the windows and the printer need, made for a script that has none.

namespace vxpy {

// Creates a QApplication when the process has no application object yet: on the offscreen
// platform when there is no display (QT_QPA_PLATFORM unset, no DISPLAY or WAYLAND_DISPLAY).
void ensureApplication();

// Deletes the application object ensureApplication made, at interpreter exit: Qt's own
// clean-up must not find it still alive, and the parts of module state that hold Qt objects
// go with it.
void deleteApplication();

} // namespace vxpy
