#pragma once

#include <QApplication>

#include <exception>
#include <utility>

namespace portolan {

// Hands an exception that escaped an event handler to HandleUncaughtError: a std::exception as it
// is, anything else as an unknown error. Never throws.
void reportEscapedError(std::exception_ptr escaped) noexcept;

// The guard through which every event handler of every window runs: connect signals as
//     connect(button, &QPushButton::clicked, this, [this] { guarded([&] { okBTNClick(); }); });
// and wrap overridden event functions' bodies the same way. A handler that throws is abandoned at
// that point (what it had already changed stays changed), its error is shown by HandleUncaughtError,
// and the program goes on with the next event: no exception ever crosses Qt's event loop.
template <class Handler>
void guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        reportEscapedError(std::current_exception());
    }
}

// The application object of the program: the last line of defence for an exception that escapes an
// event function nobody guarded. It goes to HandleUncaughtError like any other, and the event counts
// as not handled.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace portolan
