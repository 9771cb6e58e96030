#include "ui/widgets/Guard.h"

#include "ui/UncaughtError.h"

#include <stdexcept>

namespace portolan {

void reportEscapedError(std::exception_ptr escaped) noexcept {
    try {
        try {
            std::rethrow_exception(escaped);
        } catch (const std::exception& error) {
            HandleUncaughtError(error);
        } catch (...) {
            HandleUncaughtError(std::runtime_error("Unknown error"));
        }
    } catch (...) {
        // Showing the error failed too (out of memory): nothing is left to tell the user with.
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace portolan
