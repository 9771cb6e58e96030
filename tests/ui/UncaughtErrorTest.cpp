#include "ui/UncaughtError.h"
#include "runtime/Errors.h"
#include "ui/widgets/Guard.h"

#include "support/ModalAnswer.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace portolan;
using namespace portolan::test;

namespace {

// What the error box showed.
struct Shown {
    bool opened = false;
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool mouseWasGrabbed = true;
};

// Answers the error box that the code is about to show with OK, and records what it showed.
std::shared_ptr<Shown> recordErrorBox() {
    auto shown = std::make_shared<Shown>();
    whenModal([shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        shown->opened = box != nullptr;
        if (!box) {
            modal->close();
            return;
        }
        shown->text = box->text();
        shown->caption = box->windowTitle();
        shown->icon = box->icon();
        shown->buttons = box->standardButtons();
        shown->mouseWasGrabbed = QWidget::mouseGrabber() != nullptr;
        box->button(QMessageBox::Ok)->click();
    });
    return shown;
}

// An object whose custom event throws and that nobody guards.
class ThrowingObject : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw EConvertError("'31/2/2020' is not a valid date");
        return QObject::event(event);
    }
};

} // namespace

class UncaughtErrorTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void showsTheMessageWithAFullStop_data();
    void showsTheMessageWithAFullStop();
    void releasesTheMouse();
    void activatesThePreviousWindowAgain();
    void guardAbandonsTheHandlerAndTheProgramGoesOn();
    void guardReportsUnknownErrors();
    void applicationCatchesWhatNoGuardCaught();
};

void UncaughtErrorTest::initTestCase() {
    QApplication::setApplicationName(QStringLiteral("Portolan"));
}

void UncaughtErrorTest::showsTheMessageWithAFullStop_data() {
    QTest::addColumn<std::function<void()>>("raise");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("Disk full") << std::function<void()>([] { throw InOutError(ioCode::DiskFull); })
                               << "Disk full.";
    QTest::newRow("file not found") << std::function<void()>([] { throw InOutError(ioCode::FileNotFound); })
                                    << "File not found.";
    QTest::newRow("other code") << std::function<void()>([] { throw InOutError(999); }) << "I/O error 999.";
    QTest::newRow("ends in a full stop")
        << std::function<void()>([] { throw EConvertError("Bad date."); }) << "Bad date..";
    QTest::newRow("UTF-8, not markup")
        << std::function<void()>([] { throw EConvertError("'\xC3\xA9t\xC3\xA9 <b>' is not a valid date"); })
        << QString::fromUtf8("'été <b>' is not a valid date.");
    // clang-format on
}

void UncaughtErrorTest::showsTheMessageWithAFullStop() {
    QFETCH(std::function<void()>, raise);
    QFETCH(QString, text);
    auto shown = recordErrorBox();
    try {
        raise();
    } catch (const std::exception& error) {
        HandleUncaughtError(error);
    }
    QVERIFY(shown->opened);
    QCOMPARE(shown->text, text);
    QCOMPARE(shown->caption, QStringLiteral("Portolan"));
    QCOMPARE(shown->icon, QMessageBox::Critical);
    QCOMPARE(shown->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void UncaughtErrorTest::releasesTheMouse() {
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.grabMouse();
    QCOMPARE(QWidget::mouseGrabber(), &window);
    auto shown = recordErrorBox();
    HandleUncaughtError(InOutError(ioCode::DiskFull));
    QVERIFY(shown->opened);
    QVERIFY(!shown->mouseWasGrabbed);
    QVERIFY(!QWidget::mouseGrabber());
}

void UncaughtErrorTest::activatesThePreviousWindowAgain() {
    QWidget first, second;
    first.show();
    second.show();
    first.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&first));
    auto shown = recordErrorBox();
    HandleUncaughtError(InOutError(ioCode::DiskFull));
    QVERIFY(shown->opened);
    QTRY_COMPARE(QApplication::activeWindow(), &first);
}

// A click handler that fails half-way: the first half stays done, the second never runs, the error
// is shown, and the next click runs the handler again.
void UncaughtErrorTest::guardAbandonsTheHandlerAndTheProgramGoesOn() {
    QPushButton button("Go");
    int started = 0, finished = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        guarded([&] {
            ++started;
            if (started > 0)
                throw InOutError(ioCode::AccessDenied);
            ++finished;
        });
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    for (int click = 1; click <= 2; ++click) {
        auto shown = recordErrorBox();
        QTest::mouseClick(&button, Qt::LeftButton);
        QVERIFY(shown->opened);
        QCOMPARE(shown->text, QStringLiteral("File access denied."));
        QCOMPARE(started, click);
        QCOMPARE(finished, 0);
    }
}

void UncaughtErrorTest::guardReportsUnknownErrors() {
    auto shown = recordErrorBox();
    guarded([] { throw 42; });
    QVERIFY(shown->opened);
    QCOMPARE(shown->text, QStringLiteral("Unknown error."));
}

void UncaughtErrorTest::applicationCatchesWhatNoGuardCaught() {
    QVERIFY(qobject_cast<GuardedApplication*>(qApp));
    ThrowingObject object;
    auto shown = recordErrorBox();
    QEvent event(QEvent::User);
    const bool handled = QCoreApplication::sendEvent(&object, &event);
    QVERIFY(shown->opened);
    QCOMPARE(shown->text, QStringLiteral("'31/2/2020' is not a valid date."));
    QVERIFY(!handled);
}

int main(int argc, char* argv[]) {
    GuardedApplication application(argc, argv);
    UncaughtErrorTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "UncaughtErrorTest.moc"
