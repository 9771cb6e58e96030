#include "ui/aboutUnit.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace portolan;

namespace {

constexpr int closedAnswer = 2;
constexpr int stuckAnswer = -1;

// Runs the box modally and does action once it is shown. A box that is still open a while later is
// ended with stuckAnswer, so a fault fails the test instead of hanging it.
int execWith(TaboutFRM& box, const std::function<void()>& action) {
    QTimer::singleShot(0, &box, action);
    QTimer::singleShot(3000, &box, [&box] {
        if (box.isVisible())
            box.done(stuckAnswer);
    });
    return box.exec();
}

QLabel* label(TaboutFRM& box, const char* name) {
    return box.findChild<QLabel*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

int darkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 64)
                ++count;
    return count;
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void isBorderlessBlackAndFixed();
    void holdsItsComponentsInOrder_data();
    void holdsItsComponentsInOrder();
    void takesNoFocus();
    void showsTheBannerOnceShown();
    void centredOrigin_data();
    void centredOrigin();
    void isCentredAtItsFirstShowingOnly();
    void clickAnywhereClosesWithAnswer2_data();
    void clickAnywhereClosesWithAnswer2();
    void keysDoNotCloseIt();
    void doesNotRefuseTheWindowSystemsCloseRequest();
};

void AboutTest::isBorderlessBlackAndFixed() {
    TaboutFRM box;
    QCOMPARE(box.minimumSize(), QSize(400, 81));
    QCOMPARE(box.maximumSize(), QSize(400, 81));
    QVERIFY(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(box.windowType(), Qt::Dialog);
    QCOMPARE(box.palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(box.autoFillBackground());
    QCOMPARE(box.font().pixelSize(), 11);
}

void AboutTest::holdsItsComponentsInOrder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("order");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("Image1") << "Image1" << 0 << QPoint(0, -1) << QString();
    QTest::newRow("copyLBL") << "copyLBL" << 1 << QPoint(232, 64) << "(c) The Portolan developers";
    QTest::newRow("verLBL") << "verLBL" << 2 << QPoint(8, 64) << "Portolan v1.3";
    // clang-format on
}

void AboutTest::holdsItsComponentsInOrder() {
    QFETCH(QString, name);
    QFETCH(int, order);
    QFETCH(QPoint, position);
    QFETCH(QString, text);
    TaboutFRM box;
    const QList<QLabel*> components = box.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(components.size(), 3);
    QCOMPARE(components.at(order)->objectName(), name);
    QCOMPARE(components.at(order)->pos(), position);
    QCOMPARE(components.at(order)->text(), text);
    if (!text.isEmpty()) {
        QCOMPARE(components.at(order)->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(components.at(order)->size(), components.at(order)->sizeHint());
    }
}

void AboutTest::takesNoFocus() {
    TaboutFRM box;
    QCOMPARE(box.focusPolicy(), Qt::NoFocus);
    for (const QWidget* child : box.findChildren<QWidget*>())
        QCOMPARE(child->focusPolicy(), Qt::NoFocus);
}

void AboutTest::showsTheBannerOnceShown() {
    TaboutFRM box;
    box.show();
    QLabel* image = label(box, "Image1");
    QCOMPARE(image->geometry(), QRect(0, -1, 400, 60));
    const QImage banner = image->pixmap().toImage();
    QCOMPARE(banner.size(), QSize(400, 60));
    // Black at both ends, white in the band between the name and the edges, the name in black.
    QVERIFY(qGray(banner.pixel(0, 30)) < 8);
    QVERIFY(qGray(banner.pixel(399, 30)) < 8);
    QVERIFY(qGray(banner.pixel(130, 2)) > 240);
    QVERIFY(qGray(banner.pixel(270, 57)) > 240);
    QVERIFY(darkPixels(banner, QRect(120, 5, 160, 50)) > 500);
}

void AboutTest::centredOrigin_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("origin");
    // clang-format off
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QPoint(312, 343);
    QTest::newRow("odd sizes round down") << QSize(1025, 770) << QPoint(312, 344);
    QTest::newRow("one pixel larger") << QSize(401, 82) << QPoint(0, 0);
    QTest::newRow("exactly the box") << QSize(400, 81) << QPoint(0, 0);
    QTest::newRow("narrower than the box") << QSize(300, 600) << QPoint(0, 259);
    QTest::newRow("lower than the box") << QSize(800, 50) << QPoint(200, 0);
    // clang-format on
}

void AboutTest::centredOrigin() {
    QFETCH(QSize, screen);
    QFETCH(QPoint, origin);
    QCOMPARE(portolan::centredOrigin(screen, QSize(400, 81)), origin);
}

void AboutTest::isCentredAtItsFirstShowingOnly() {
    TaboutFRM box;
    const QPoint centre =
        portolan::centredOrigin(QGuiApplication::primaryScreen()->geometry().size(), QSize(400, 81));
    QPoint shownAt;
    auto closeAfterLooking = [&] {
        shownAt = box.pos();
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(150, 70));
    };
    QCOMPARE(execWith(box, closeAfterLooking), closedAnswer);
    QCOMPARE(shownAt, centre);

    // A second showing does not centre the box again: it stays where it is.
    const QPoint elsewhere = centre + QPoint(37, 11);
    box.move(elsewhere);
    QCOMPARE(execWith(box, closeAfterLooking), closedAnswer);
    QCOMPARE(shownAt, elsewhere);
}

void AboutTest::clickAnywhereClosesWithAnswer2_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("point");
    // clang-format off
    QTest::newRow("picture") << "Image1" << QPoint(200, 30);
    QTest::newRow("version label") << "verLBL" << QPoint(5, 5);
    QTest::newRow("maker's notice") << "copyLBL" << QPoint(5, 5);
    QTest::newRow("black background") << QString() << QPoint(150, 70);
    QTest::newRow("bottom-right corner") << QString() << QPoint(399, 80);
    // clang-format on
}

void AboutTest::clickAnywhereClosesWithAnswer2() {
    QFETCH(QString, target);
    QFETCH(QPoint, point);
    TaboutFRM box;
    QWidget* clicked = target.isEmpty() ? static_cast<QWidget*>(&box) : label(box, qPrintable(target));
    QVERIFY(clicked);
    if (target.isEmpty())
        QCOMPARE(box.childAt(point), nullptr);
    const int answer = execWith(box, [&] { QTest::mouseClick(clicked, Qt::LeftButton, {}, point); });
    QCOMPARE(answer, closedAnswer);
    QVERIFY(!box.isVisible());
}

void AboutTest::keysDoNotCloseIt() {
    TaboutFRM box;
    bool openAfterKeys = false;
    const int answer = execWith(box, [&] {
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
            QTest::keyClick(&box, key);
        openAfterKeys = box.isVisible();
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(150, 70));
    });
    QVERIFY(openAfterKeys);
    QCOMPARE(answer, closedAnswer);
}

// When the program is told to end, the open box must not hold it up.
void AboutTest::doesNotRefuseTheWindowSystemsCloseRequest() {
    TaboutFRM box;
    bool closed = false;
    const int answer = execWith(box, [&] { closed = box.close(); });
    QVERIFY(closed);
    QVERIFY(answer != stuckAnswer);
    QVERIFY(!box.isVisible());
}

QTEST_MAIN(AboutTest)
#include "AboutTest.moc"
