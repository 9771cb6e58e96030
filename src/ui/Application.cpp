#include "ui/Application.h"

#include "ui/Guard.h"

#include <QEvent>

namespace portolan {

namespace {

class LocaleWatcher final : public QObject {
public:
    LocaleWatcher(QObject* parent, DateSettings& settings) : QObject(parent), settings_(settings) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::LocaleChange)
            guarded([&] { LoadDateSettings(settings_, false); });
        return false;
    }

private:
    DateSettings& settings_;
};

} // namespace

// The windows are laid out in pixels for "MS Sans Serif" at 11 pixels; where it is missing, the
// fonts nearest to its widths stand in, so that captions fit their controls.
QFont classicFont() {
    QFont font;
    font.setFamilies({"MS Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans Condensed", "DejaVu Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void setUpApplication(QApplication& application, DateSettings& dateSettings) {
    // Only the name: a display name would be appended to every window title by the window system.
    QApplication::setApplicationName("Portolan");
    QApplication::setFont(classicFont());
    application.installEventFilter(new LocaleWatcher(&application, dateSettings));
}

} // namespace portolan
