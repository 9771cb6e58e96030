#pragma once

#include <exception>

namespace portolan {

// The default error handler: what happens to an error that escaped an event handler. It releases any
// mouse capture and shows a message box with the error's message (Windows-1252 bytes) followed by
// ".", always appended, also after a message that ends in a full stop; caption "Portolan", stop icon,
// one OK button. The box is modal; afterwards the window that was active before becomes active
// again. Reach it through guarded() (Guard.h), never directly from a command.
void HandleUncaughtError(const std::exception& error);

} // namespace portolan
