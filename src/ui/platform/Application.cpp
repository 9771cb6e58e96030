#include "ui/platform/Application.h"

#include "book/DateLocale.h"
#include "ui/widgets/Glyphs.h"
#include "ui/widgets/Guard.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QProxyStyle>
#include <QResource>

#include <cstring>

// The icons are compiled into this library, a static one: its resources are registered only when
// asked for, and outside any namespace.
static void registerIconResources() {
    Q_INIT_RESOURCE(icons);
}

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

// Qt's menu bar reads a picture file for its button of items that do not fit as soon as it is made,
// and the first picture read loads every image format plugin, all before the main window shows. The
// button gets a drawn double chevron instead.
class PortolanStyle final : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon == SP_ToolBarHorizontalExtensionButton)
            return glyphIcon(Glyph::MoreItems);
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

} // namespace

QIcon applicationIcon() {
    registerIconResources();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        // The pixels as raw RGBA bytes: nothing is decompressed, and no image format plugin is asked.
        const QResource pixels(QStringLiteral(":/icons/%1.rgba").arg(size));
        QImage image(size, size, QImage::Format_RGBA8888);
        if (pixels.size() != image.sizeInBytes())
            continue;
        std::memcpy(image.bits(), pixels.data(), static_cast<std::size_t>(image.sizeInBytes()));
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void setUpApplication(QApplication& application, DateSettings& dateSettings) {
    // Only the name: a display name would be appended to every window title by the window system.
    QApplication::setApplicationName("Portolan");
    // The desktop entry's name lets the desktop match the windows with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.portolan.Portolan"));
    QApplication::setWindowIcon(applicationIcon());
    // The menu bar belongs to the main window's layout, so it stays in the window even where the
    // desktop offers a menu bar of its own; asking the desktop would also cost a D-Bus round trip
    // before the window shows.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication::setStyle(new PortolanStyle);
    QApplication::setFont(classicFont());
    application.installEventFilter(new LocaleWatcher(&application, dateSettings));
}

} // namespace portolan
