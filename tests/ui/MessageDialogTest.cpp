#include "ui/MessageDialog.h"
#include "ui/widgets/DialogUnits.h"

#include "support/ModalAnswer.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <string>

using namespace portolan;
using namespace portolan::test;

namespace {

constexpr int noAnswer = 0; // in the tables: the key does nothing

// Shows a message dialog, lets act answer it, and returns the dialog's answer. act sees the dialog
// while it is open; the test fails if no dialog opened.
int answerDialog(std::string_view text, MessageKind kind, MessageButtons buttons,
                 const std::function<void(QWidget*)>& act) {
    auto opened = whenModal(act);
    const int answer = MessageDialog(text, kind, buttons, 0);
    if (!*opened)
        qWarning("the message dialog did not open");
    return *opened ? answer : -1;
}

int answerDialog(MessageButtons buttons, const std::function<void(QWidget*)>& act) {
    return answerDialog("Are you sure?", MessageKind::Confirmation, buttons, act);
}

// The dialog's push buttons from left to right.
QList<QPushButton*> buttonsInRow(QWidget* dialog) {
    QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    return buttons;
}

// A key press that may do nothing: reports whether the dialog was still open after it and then ends
// the dialog with the first button, so the test goes on either way.
std::function<void(QWidget*)> pressThenEnd(int key, bool& stayedOpen) {
    return [key, &stayedOpen](QWidget* dialog) {
        pressKey(dialog, key);
        stayedOpen = dialog->isVisible();
        if (stayedOpen)
            buttonsInRow(dialog).first()->click();
    };
}

const QString longWords = QStringLiteral("Portolan keeps an address book of sites ").repeated(12);

} // namespace

class MessageDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unitsComeFromTheFont();
    void buttonsOfTheSetsInUse_data();
    void buttonsOfTheSetsInUse();
    void eachButtonAnswers_data();
    void eachButtonAnswers();
    void enterPressesTheFocusedButton();
    void spacePressesTheFocusedButton();
    void accessLettersPressTheirButtons_data();
    void accessLettersPressTheirButtons();
    void aSharedAccessLetterMovesTheFocus();
    void aKeyWithoutACodePressesNothing();
    void captionAndIconByKind_data();
    void captionAndIconByKind();
    void isAFixedModalDialogWithCloseBox();
    void layoutFollowsTheUnits();
    void longTextWrapsAtHalfTheScreen();
    void lineBreaksStartNewLines();
    void customKindHasNoIconAndNoMinimumHeight();
    void textIsShownAsWritten();
    void helpKeepsTheDialogOpen();
    void isDestroyedBeforeReturning();
};

void MessageDialogTest::initTestCase() {
    QApplication::setApplicationName(QStringLiteral("Portolan"));
}

// 208 horizontal units are exactly the 52 letters, 8 vertical units the character height.
void MessageDialogTest::unitsComeFromTheFont() {
    for (int pixelSize : {9, 11, 13, 17}) {
        QFont font = QApplication::font();
        font.setPixelSize(pixelSize);
        const QFontMetrics metrics(font);
        const int row = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        const DialogUnits units(font);
        QCOMPARE(units.x(208), row);
        QCOMPARE(units.x(0), 0);
        QCOMPARE(units.x(4), qRound(row / 52.0));
        QCOMPARE(units.x(50), qRound(50 * row / 208.0));
        QCOMPARE(units.y(8), metrics.height());
        QCOMPARE(units.y(14), qRound(14 * metrics.height() / 8.0));
    }
}

void MessageDialogTest::buttonsOfTheSetsInUse_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("defaultName");
    QTest::addColumn<int>("enterAnswer");
    QTest::addColumn<int>("escapeAnswer");
    // clang-format off
    QTest::newRow("OK") << 4 << QStringList{"OK"} << QStringList{"OK"} << "OK" << 1 << 1;
    QTest::newRow("Yes") << 1 << QStringList{"Yes"} << QStringList{"&Yes"} << "Yes" << 6 << noAnswer;
    QTest::newRow("Yes No") << 3 << QStringList{"Yes", "No"} << QStringList{"&Yes", "&No"} << "Yes" << 6 << 7;
    QTest::newRow("Yes Cancel") << 9 << QStringList{"Yes", "Cancel"} << QStringList{"&Yes", "Cancel"} << "Yes"
                                << 6 << 2;
    QTest::newRow("OK Cancel") << 12 << QStringList{"OK", "Cancel"} << QStringList{"OK", "Cancel"} << "OK"
                               << 1 << 2;
    QTest::newRow("all but Help") << 0xff << QStringList{"Yes",   "No",    "OK",     "Cancel",
                                                         "Abort", "Retry", "Ignore", "All"}
                                  << QStringList{"&Yes",   "&No",    "OK",      "Cancel",
                                                 "&Abort", "&Retry", "&Ignore", "&All"}
                                  << "OK" << 1 << 2;
    QTest::newRow("Abort Retry Ignore")
        << 0x70 << QStringList{"Abort", "Retry", "Ignore"} << QStringList{"&Abort", "&Retry", "&Ignore"}
        << "Retry" << 4 << noAnswer;
    // clang-format on
    // No default button: Enter presses the button that has the focus, the only one.
    // clang-format off
    QTest::newRow("No") << 2 << QStringList{"No"} << QStringList{"&No"} << QString() << 7 << 7;
    // clang-format on
}

void MessageDialogTest::buttonsOfTheSetsInUse() {
    QFETCH(int, buttons);
    QFETCH(QStringList, names);
    QFETCH(QStringList, captions);
    QFETCH(QString, defaultName);
    QFETCH(int, enterAnswer);
    QFETCH(int, escapeAnswer);
    const auto set = static_cast<MessageButtons>(buttons);

    QStringList shownNames, shownCaptions, defaults, autoDefaults;
    const int answerAtFirstLook = answerDialog(set, [&](QWidget* dialog) {
        for (QPushButton* button : buttonsInRow(dialog)) {
            shownNames << button->objectName();
            shownCaptions << button->text();
            if (button->isDefault())
                defaults << button->objectName();
            if (button->autoDefault())
                autoDefaults << button->objectName();
        }
        closeByCloseBox(dialog);
    });
    QCOMPARE(answerAtFirstLook, int(AnswerCancel)); // the close box answers 2 whatever the set
    QCOMPARE(shownNames, names);
    QCOMPARE(shownCaptions, captions);
    QCOMPARE(defaults, defaultName.isEmpty() ? QStringList() : QStringList{defaultName});
    QCOMPARE(autoDefaults, QStringList());

    for (const auto& [key, expected] :
         {std::pair{int(Qt::Key_Return), enterAnswer}, std::pair{int(Qt::Key_Enter), enterAnswer},
          std::pair{int(Qt::Key_Escape), escapeAnswer}}) {
        bool stayedOpen = false;
        const int answer = answerDialog(set, pressThenEnd(key, stayedOpen));
        if (expected == noAnswer) {
            QVERIFY2(stayedOpen, qPrintable(QString("key %1 closed the dialog").arg(key)));
        } else {
            QVERIFY2(!stayedOpen, qPrintable(QString("key %1 left the dialog open").arg(key)));
            QCOMPARE(answer, expected);
        }
    }
}

void MessageDialogTest::eachButtonAnswers_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer");
    // clang-format off
    QTest::newRow("Yes") << "Yes" << 6;
    QTest::newRow("No") << "No" << 7;
    QTest::newRow("OK") << "OK" << 1;
    QTest::newRow("Cancel") << "Cancel" << 2;
    QTest::newRow("Abort") << "Abort" << 3;
    QTest::newRow("Retry") << "Retry" << 4;
    QTest::newRow("Ignore") << "Ignore" << 5;
    QTest::newRow("All") << "All" << 8;
    // clang-format on
}

void MessageDialogTest::eachButtonAnswers() {
    QFETCH(QString, name);
    QFETCH(int, answer);
    for (MessageButtons set : {MessageButtons(0xff), MessageButtons(1), MessageButtons(3), MessageButtons(4),
                               MessageButtons(9), MessageButtons(12)}) {
        bool present = false;
        const int got = answerDialog(set, [&](QWidget* dialog) {
            present = dialog->findChild<QPushButton*>(name) != nullptr;
            if (present)
                clickButton(dialog, name);
            else
                closeByCloseBox(dialog);
        });
        if (present)
            QCOMPARE(got, answer);
    }
}

void MessageDialogTest::enterPressesTheFocusedButton() {
    for (const auto& [set, focused, answer] :
         {std::tuple{MessageButtons(3), "No", 7}, std::tuple{MessageButtons(12), "Cancel", 2},
          std::tuple{MessageButtons(9), "Cancel", 2}, std::tuple{MessageButtons(9), "Yes", 6}}) {
        bool defaultStayed = false;
        const int got = answerDialog(set, [&](QWidget* dialog) {
            dialog->findChild<QPushButton*>(focused)->setFocus();
            defaultStayed = buttonsInRow(dialog).first()->isDefault();
            pressKey(dialog, Qt::Key_Return);
            if (dialog->isVisible())
                closeByCloseBox(dialog);
        });
        QCOMPARE(got, answer);
        QVERIFY(defaultStayed); // the default look does not move with the focus
    }
}

void MessageDialogTest::spacePressesTheFocusedButton() {
    const int got = answerDialog(3, [](QWidget* dialog) {
        dialog->findChild<QPushButton*>("No")->setFocus();
        pressKey(dialog, Qt::Key_Space);
        if (dialog->isVisible())
            closeByCloseBox(dialog);
    });
    QCOMPARE(got, int(AnswerNo));
}

void MessageDialogTest::accessLettersPressTheirButtons_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("answer");
    const int none = Qt::NoModifier;
    const int alt = Qt::AltModifier;
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    // clang-format off
    QTest::newRow("n")                   << 3    << int(Qt::Key_N) << none  << 7;
    QTest::newRow("Alt+n")               << 3    << int(Qt::Key_N) << alt   << 7;
    QTest::newRow("y")                   << 3    << int(Qt::Key_Y) << none  << 6;
    QTest::newRow("Shift+y")             << 3    << int(Qt::Key_Y) << shift << 6;
    QTest::newRow("y of Yes Cancel")     << 9    << int(Qt::Key_Y) << none  << 6;
    QTest::newRow("a of Abort")          << 0x70 << int(Qt::Key_A) << none  << 3;
    QTest::newRow("r of Retry")          << 0x70 << int(Qt::Key_R) << none  << 4;
    QTest::newRow("Alt+i of Ignore")     << 0x70 << int(Qt::Key_I) << alt   << 5;
    QTest::newRow("Ctrl+n")              << 3    << int(Qt::Key_N) << ctrl  << noAnswer;
    QTest::newRow("c: Cancel has none")  << 9    << int(Qt::Key_C) << none  << noAnswer;
    QTest::newRow("o: OK has none")      << 12   << int(Qt::Key_O) << none  << noAnswer;
    QTest::newRow("x: no button's")      << 3    << int(Qt::Key_X) << none  << noAnswer;
    // clang-format on
}

// Typed on the focused button, as a person does. A press through Qt's own access keys comes after a
// short animation, so the dialog is given a moment to close.
void MessageDialogTest::accessLettersPressTheirButtons() {
    QFETCH(int, buttons);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, answer);
    bool stayedOpen = false;
    const int got = answerDialog(static_cast<MessageButtons>(buttons), [&](QWidget* dialog) {
        QTest::keyClick(dialog->focusWidget(), static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
        stayedOpen = !QTest::qWaitFor([&] { return !dialog->isVisible(); }, 400);
        if (stayedOpen)
            closeByCloseBox(dialog);
    });
    if (answer == noAnswer) {
        QVERIFY2(stayedOpen, "the key closed the dialog");
    } else {
        QVERIFY2(!stayedOpen, "the key left the dialog open");
        QCOMPARE(got, answer);
    }
}

// "&Abort" and "&All" share their letter: it moves the focus between them and presses neither.
void MessageDialogTest::aSharedAccessLetterMovesTheFocus() {
    QStringList focused;
    bool stayedOpen = false;
    answerDialog(0xff, [&](QWidget* dialog) {
        for (int press = 0; press < 3; ++press) {
            QTest::keyClick(dialog->focusWidget(), Qt::Key_A);
            focused << dialog->focusWidget()->objectName();
        }
        stayedOpen = dialog->isVisible();
        closeByCloseBox(dialog);
    });
    QVERIFY(stayedOpen);
    QCOMPARE(focused, QStringList({"Abort", "All", "Abort"}));
}

// A letter composed from several keys, or a key that Qt does not know, comes with no key code at all:
// it is no button's access letter, also not of the buttons that have none ("OK", "Cancel").
void MessageDialogTest::aKeyWithoutACodePressesNothing() {
    for (const MessageButtons buttons : {button::OK, MessageButtons(button::OK | button::Cancel)}) {
        QString focused;
        bool stayedOpen = false;
        answerDialog(buttons, [&](QWidget* dialog) {
            QWidget* before = dialog->focusWidget();
            QKeyEvent composed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u00e9"));
            QApplication::sendEvent(before, &composed);
            stayedOpen = !QTest::qWaitFor([&] { return !dialog->isVisible(); }, 400);
            focused = dialog->focusWidget() == before ? "unchanged" : "moved";
            if (stayedOpen)
                closeByCloseBox(dialog);
        });
        QVERIFY2(stayedOpen, "the key closed the dialog");
        QCOMPARE(focused, QStringLiteral("unchanged"));
    }
}

void MessageDialogTest::captionAndIconByKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("hasIcon");
    // clang-format off
    QTest::newRow("Warning") << int(MessageKind::Warning) << "Warning" << true;
    QTest::newRow("Error") << int(MessageKind::Error) << "Error" << true;
    QTest::newRow("Information") << int(MessageKind::Information) << "Information" << true;
    QTest::newRow("Confirmation") << int(MessageKind::Confirmation) << "Confirm" << true;
    QTest::newRow("Custom") << int(MessageKind::Custom) << "Portolan" << false;
    // clang-format on
}

void MessageDialogTest::captionAndIconByKind() {
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(bool, hasIcon);
    QString shownCaption, className;
    QLabel* image = nullptr;
    QSize iconSize;
    answerDialog("Text", static_cast<MessageKind>(kind), button::OK, [&](QWidget* dialog) {
        shownCaption = dialog->windowTitle();
        className = dialog->metaObject()->className();
        image = dialog->findChild<QLabel*>("Image");
        if (image) {
            iconSize = image->size();
            QVERIFY(!image->pixmap().isNull());
        }
        closeByCloseBox(dialog);
    });
    QCOMPARE(shownCaption, caption);
    QCOMPARE(className, QStringLiteral("portolan::TMessageForm"));
    QCOMPARE(image != nullptr, hasIcon);
    if (hasIcon)
        QCOMPARE(iconSize, QSize(32, 32));
}

void MessageDialogTest::isAFixedModalDialogWithCloseBox() {
    Qt::WindowFlags flags;
    Qt::WindowModality modality = Qt::NonModal;
    QSize minimum, maximum, size;
    answerDialog(button::OK, [&](QWidget* dialog) {
        flags = dialog->windowFlags();
        modality = dialog->windowModality();
        minimum = dialog->minimumSize();
        maximum = dialog->maximumSize();
        size = dialog->size();
        closeByCloseBox(dialog);
    });
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QCOMPARE(modality, Qt::ApplicationModal);
    QCOMPARE(minimum, size);
    QCOMPARE(maximum, size);
}

// A two-line confirmation with Yes and No, measured against the layout rules.
void MessageDialogTest::layoutFollowsTheUnits() {
    const std::string text = "Sites.ptn has been changed since the last time it was saved.  \r\n"
                             "Are you sure you want to exit and loose all changes?";
    QRect client, frame, image, message, yes, no;
    QFont font;
    answerDialog(text, MessageKind::Confirmation, button::Yes | button::No, [&](QWidget* dialog) {
        font = dialog->font();
        client = dialog->rect();
        frame = dialog->frameGeometry();
        image = dialog->findChild<QLabel*>("Image")->geometry();
        message = dialog->findChild<QLabel*>("Message")->geometry();
        yes = dialog->findChild<QPushButton*>("Yes")->geometry();
        no = dialog->findChild<QPushButton*>("No")->geometry();
        closeByCloseBox(dialog);
    });
    const DialogUnits units(font);
    const QFontMetrics metrics(font);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();

    // Blanks at the end of a line take no room in a wrapped block.
    const int lineWidth =
        std::max(metrics.horizontalAdvance("Sites.ptn has been changed since the last time it was saved."),
                 metrics.horizontalAdvance("Are you sure you want to exit and loose all changes?"));
    QVERIFY(qAbs(message.width() - lineWidth) <= 1);
    QCOMPARE(message.height(), 2 * metrics.height());
    QCOMPARE(image, QRect(units.x(8), units.y(8), 32, 32));
    QCOMPARE(message.topLeft(), QPoint(units.x(8) + 32 + units.x(10), units.y(8)));

    const int textWidth = message.width() + 32 + units.x(10);
    const int textHeight = std::max(message.height(), 32);
    const int rowWidth = 2 * units.x(50) + units.x(4);
    QCOMPARE(client.width(), std::max(textWidth, rowWidth) + 2 * units.x(8));
    QCOMPARE(client.height(), textHeight + units.y(14) + units.y(10) + 2 * units.y(8));

    QCOMPARE(yes.size(), QSize(units.x(50), units.y(14)));
    QCOMPARE(no.size(), yes.size());
    QCOMPARE(yes.left(), (client.width() - rowWidth) / 2);
    QCOMPARE(no.left(), yes.left() + units.x(50) + units.x(4));
    QCOMPARE(yes.top(), textHeight + units.y(8) + units.y(10));
    QCOMPARE(no.top(), yes.top());

    QCOMPARE(frame.left(), screen.width() / 2 - frame.width() / 2);
    QCOMPARE(frame.top(), screen.height() / 2 - frame.height() / 2);
}

// No line breaks, far wider than half the screen: the text wraps at word boundaries within half the
// screen's width, and the dialog gets taller, not wider.
void MessageDialogTest::longTextWrapsAtHalfTheScreen() {
    QRect message, client;
    QFont font;
    answerDialog(longWords.toStdString(), MessageKind::Information, button::OK, [&](QWidget* dialog) {
        font = dialog->font();
        message = dialog->findChild<QLabel*>("Message")->geometry();
        client = dialog->rect();
        closeByCloseBox(dialog);
    });
    const QFontMetrics metrics(font);
    const int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    QVERIFY2(metrics.horizontalAdvance(longWords) > 2 * half, "the test text must be wider than the screen");
    const DialogUnits units(font);
    QVERIFY(message.width() <= half);
    QVERIFY(message.width() > half - metrics.horizontalAdvance("address "));
    QVERIFY(message.height() >= 3 * metrics.height());
    QCOMPARE(message.height() % metrics.height(), 0);
    QVERIFY(client.width() <= half + 32 + units.x(10) + 2 * units.x(8));
    QVERIFY(client.height() > message.height() + units.y(14));
}

void MessageDialogTest::lineBreaksStartNewLines() {
    for (const std::string& text : {std::string("One\r\nTwo\r\n\r\nFour"), std::string("One\nTwo\n\nFour"),
                                    std::string("One\rTwo\r\rFour")}) {
        QString shown;
        int height = 0, lineHeight = 0;
        answerDialog(text, MessageKind::Custom, button::OK, [&](QWidget* dialog) {
            auto* message = dialog->findChild<QLabel*>("Message");
            shown = message->text();
            height = message->height();
            lineHeight = message->fontMetrics().height();
            closeByCloseBox(dialog);
        });
        QCOMPARE(shown, QStringLiteral("One\nTwo\n\nFour"));
        QCOMPARE(height, 4 * lineHeight);
    }
}

void MessageDialogTest::customKindHasNoIconAndNoMinimumHeight() {
    QRect message, client;
    QFont font;
    bool hasImage = true;
    answerDialog("Short", MessageKind::Custom, button::OK, [&](QWidget* dialog) {
        font = dialog->font();
        message = dialog->findChild<QLabel*>("Message")->geometry();
        client = dialog->rect();
        hasImage = dialog->findChild<QLabel*>("Image") != nullptr;
        closeByCloseBox(dialog);
    });
    const DialogUnits units(font);
    const QFontMetrics metrics(font);
    QVERIFY2(metrics.height() < 32, "the font must be lower than the icon for this test");
    QVERIFY(!hasImage);
    QCOMPARE(message.topLeft(), QPoint(units.x(8), units.y(8)));
    QCOMPARE(message.height(), metrics.height());
    QCOMPARE(client.height(), metrics.height() + units.y(14) + units.y(10) + 2 * units.y(8));
    // One button is wider than "Short": the row sets the width.
    QCOMPARE(client.width(), units.x(50) + 2 * units.x(8));
}

// Texts are UTF-8, so a path's letters of any script show as they are; an "&" is a character, not an
// access key, and "<b>" no markup.
void MessageDialogTest::textIsShownAsWritten() {
    QString shown;
    const std::string text =
        "Caf\xC3\xA9 & <b>bar</b> \xE2\x82\xAC /\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B/\xE6\x96\x87";
    answerDialog(text, MessageKind::Information, button::OK, [&](QWidget* dialog) {
        shown = dialog->findChild<QLabel*>("Message")->text();
        closeByCloseBox(dialog);
    });
    QCOMPARE(shown, QString::fromUtf8("Café & <b>bar</b> € /сайты/文"));
}

void MessageDialogTest::helpKeepsTheDialogOpen() {
    bool openAfterHelp = false;
    const int answer = answerDialog(button::OK | button::Help, [&](QWidget* dialog) {
        clickButton(dialog, "Help");
        openAfterHelp = dialog->isVisible();
        clickButton(dialog, "OK");
    });
    QVERIFY(openAfterHelp);
    QCOMPARE(answer, int(AnswerOK));
}

void MessageDialogTest::isDestroyedBeforeReturning() {
    QPointer<QWidget> form;
    answerDialog(button::OK, [&](QWidget* dialog) {
        form = dialog;
        clickButton(dialog, "OK");
    });
    QVERIFY(form.isNull());
}

QTEST_MAIN(MessageDialogTest)
#include "MessageDialogTest.moc"
