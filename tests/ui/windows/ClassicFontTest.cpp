#include "ui/platform/Application.h"

#include <QTest>

#include <windows.h>

using namespace portolan;

// The dialog font is the system's default GUI font, 8 points: 11 of Qt's pixels, which Qt scales to the
// screen itself, whatever the screen's dots per inch. The test runs at 96 dots per inch and, told so by
// PORTOLAN_TEST_DOTS_PER_INCH, in a Wine prefix set to 144, where the system's height of that font is 17
// screen pixels.
class ClassicFontTest : public QObject {
    Q_OBJECT
private slots:
    void isElevenPixelsAtTheScreensDotsPerInch();
};

void ClassicFontTest::isElevenPixelsAtTheScreensDotsPerInch() {
    const HDC screen = ::GetDC(nullptr);
    const int dotsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    QCOMPARE(dotsPerInch, qEnvironmentVariable("PORTOLAN_TEST_DOTS_PER_INCH", "96").toInt());
    QCOMPARE(classicFont().pixelSize(), 11);
}

QTEST_GUILESS_MAIN(ClassicFontTest)
#include "ClassicFontTest.moc"
