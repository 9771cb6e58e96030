#include "LoadedFiles.h"

#include "book/DateSettings.h"
#include "ui/platform/Application.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QWidget>
#include <QtTest>

#include <algorithm>

using namespace portolan;

namespace {

QList<QSize> squares(std::initializer_list<int> sizes) {
    QList<QSize> list;
    for (const int size : sizes)
        list.append(QSize(size, size));
    return list;
}

bool isImageFormatPlugin(const QString& file) {
    return file.contains(QStringLiteral("/imageformats/"));
}

} // namespace

class ApplicationIconTest : public QObject {
    Q_OBJECT
private slots:
    void theIconHasItsFiveSizes();
    void theSmallestSizeIsTheHandDrawnPixelMap();
    void everySizeHoldsThePixelsOfItsPng();
    void everyWindowCarriesItAndNamesTheDesktopEntry();
};

void ApplicationIconTest::theIconHasItsFiveSizes() {
    const QIcon icon = applicationIcon();
    QCOMPARE(icon.availableSizes(), squares({16, 24, 32, 48, 64}));
    for (const QSize& size : icon.availableSizes())
        QCOMPARE(icon.pixmap(size).size(), size);
    const QStringList loaded = test::loadedFiles();
    QVERIFY2(!loaded.isEmpty(), "the files loaded into the process are known");
    QVERIFY2(std::none_of(loaded.begin(), loaded.end(), isImageFormatPlugin),
             "reading the icon loads no image format plugin");
}

void ApplicationIconTest::theSmallestSizeIsTheHandDrawnPixelMap() {
    const QImage image =
        applicationIcon().pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);              // a rounded corner
    QCOMPARE(image.pixel(1, 0), qRgb(0x7a, 0x5a, 0x2b)); // the chart's edge
    QCOMPARE(image.pixel(7, 2), qRgb(0xa4, 0x16, 0x1a)); // the north point, its shaded half
    QCOMPARE(image.pixel(8, 2), qRgb(0xe5, 0x38, 0x3b)); // and its lit half
    QCOMPARE(image.pixel(2, 3), qRgb(0x45, 0x7b, 0x9d)); // a rhumb line
}

// The raw pixels that the program carries are those of the PNGs that the desktop's icon theme gets.
void ApplicationIconTest::everySizeHoldsThePixelsOfItsPng() {
    const QIcon icon = applicationIcon();
    for (const int size : {16, 24, 32, 48, 64}) {
        QImageReader png(QStringLiteral(ICON_FOLDER "/%1.png").arg(size), "png");
        png.setAutoDetectImageFormat(false);
        const QImage expected = png.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(expected.size(), QSize(size, size));
        const QImage carried =
            icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY2(carried == expected, qPrintable(QStringLiteral("%1 px").arg(size)));
    }
}

void ApplicationIconTest::everyWindowCarriesItAndNamesTheDesktopEntry() {
    DateSettings dateSettings;
    setUpApplication(*qApp, dateSettings);
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("io.github.portolan.Portolan"));
    const QWidget window;
    QCOMPARE(window.windowIcon().availableSizes(), squares({16, 24, 32, 48, 64}));
}

QTEST_MAIN(ApplicationIconTest)
#include "ApplicationIconTest.moc"
