#include "ui/InputPrompt.h"
#include "ui/widgets/DialogUnits.h"

#include "support/ModalAnswer.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <functional>
#include <optional>
#include <string>

using namespace portolan;
using namespace portolan::test;

namespace {

const std::string proposed = "7/12/2026";

// Runs the Purge Old prompt, lets act answer it, and returns what the prompt returned.
std::optional<std::string> answerPrompt(const std::function<void(QWidget*)>& act,
                                        const std::string& offered = proposed) {
    auto opened = whenModal(act);
    std::optional<std::string> result = InputPrompt("Purge Old", "Specify cut-off date:", offered);
    if (!*opened)
        qWarning("the input prompt did not open");
    return result;
}

QLineEdit* editOf(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>();
}

// Replaces the box's text by typing, as a person would after selecting all of it.
void typeInto(QWidget* dialog, const QString& text) {
    QLineEdit* edit = editOf(dialog);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

} // namespace

class InputPromptTest : public QObject {
    Q_OBJECT
private slots:
    void showsCaptionPromptAndSelectedProposal();
    void layoutFollowsTheUnits();
    void okReturnsTheTextExactlyAsTyped_data();
    void okReturnsTheTextExactlyAsTyped();
    void everyOtherWayReturnsNothing_data();
    void everyOtherWayReturnsNothing();
    void atMost255CharactersCanBeTyped();
    void enterOnFocusedCancelCancels();
    void textsAreUnicode();
    void isDestroyedBeforeReturning();
};

void InputPromptTest::showsCaptionPromptAndSelectedProposal() {
    QString caption, prompt, text, selected;
    bool editHasFocus = false, okIsDefault = false, cancelIsDefault = true;
    answerPrompt([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        prompt = dialog->findChild<QLabel*>()->text();
        text = editOf(dialog)->text();
        selected = editOf(dialog)->selectedText();
        editHasFocus = dialog->focusWidget() == editOf(dialog);
        okIsDefault = dialog->findChild<QPushButton*>("OK")->isDefault();
        cancelIsDefault = dialog->findChild<QPushButton*>("Cancel")->isDefault();
        clickButton(dialog, "Cancel");
    });
    QCOMPARE(caption, QStringLiteral("Purge Old"));
    QCOMPARE(prompt, QStringLiteral("Specify cut-off date:"));
    QCOMPARE(text, QString::fromStdString(proposed));
    QCOMPARE(selected, text);
    QVERIFY(editHasFocus);
    QVERIFY(okIsDefault);
    QVERIFY(!cancelIsDefault);
}

void InputPromptTest::layoutFollowsTheUnits() {
    QFont font;
    QRect client, frame, label, edit, ok, cancel;
    QString okCaption, cancelCaption;
    Qt::WindowFlags flags;
    answerPrompt([&](QWidget* dialog) {
        font = dialog->font();
        client = dialog->rect();
        frame = dialog->frameGeometry();
        flags = dialog->windowFlags();
        label = dialog->findChild<QLabel*>()->geometry();
        edit = editOf(dialog)->geometry();
        ok = dialog->findChild<QPushButton*>("OK")->geometry();
        cancel = dialog->findChild<QPushButton*>("Cancel")->geometry();
        okCaption = dialog->findChild<QPushButton*>("OK")->text();
        cancelCaption = dialog->findChild<QPushButton*>("Cancel")->text();
        closeByCloseBox(dialog);
    });
    const DialogUnits units(font);
    QCOMPARE(client.size(), QSize(units.x(180), units.y(63)));
    QCOMPARE(label.topLeft(), QPoint(units.x(8), units.y(8)));
    QCOMPARE(edit.topLeft(), QPoint(units.x(8), units.y(19)));
    QCOMPARE(edit.width(), units.x(164));
    QCOMPARE(ok, QRect(units.x(38), units.y(41), units.x(50), units.y(14)));
    QCOMPARE(cancel, QRect(units.x(92), units.y(41), units.x(50), units.y(14)));
    QCOMPARE(okCaption, QStringLiteral("OK"));
    QCOMPARE(cancelCaption, QStringLiteral("Cancel"));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(frame.topLeft(), QPoint(std::max(0, (screen.width() - frame.width()) / 2),
                                     std::max(0, (screen.height() - frame.height()) / 2)));
}

void InputPromptTest::okReturnsTheTextExactlyAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("cleared, OK clicked") << "" << false << "";
    QTest::newRow("cleared, Enter") << "" << true << "";
    QTest::newRow("blanks kept") << "  1/1/2020 " << false << "  1/1/2020 ";
    QTest::newRow("by Enter") << "31/12/1999" << true << "31/12/1999";
    QTest::newRow("not a date") << "soon" << false << "soon";
    // clang-format on
}

void InputPromptTest::okReturnsTheTextExactlyAsTyped() {
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QString, expected);
    const std::optional<std::string> result = answerPrompt([&](QWidget* dialog) {
        typeInto(dialog, typed);
        if (byEnter)
            pressKey(dialog, Qt::Key_Return);
        else
            clickButton(dialog, "OK");
    });
    QVERIFY(result.has_value());
    QCOMPARE(QString::fromStdString(*result), expected);
}

void InputPromptTest::everyOtherWayReturnsNothing_data() {
    QTest::addColumn<int>("way");
    // clang-format off
    QTest::newRow("Cancel") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
    // clang-format on
}

void InputPromptTest::everyOtherWayReturnsNothing() {
    QFETCH(int, way);
    const std::optional<std::string> result = answerPrompt([&](QWidget* dialog) {
        typeInto(dialog, "1/1/2000");
        if (way == 0)
            clickButton(dialog, "Cancel");
        else if (way == 1)
            pressKey(dialog, Qt::Key_Escape);
        else
            closeByCloseBox(dialog);
    });
    QVERIFY(!result.has_value());
}

void InputPromptTest::atMost255CharactersCanBeTyped() {
    int maxLength = 0;
    const std::optional<std::string> result = answerPrompt([&](QWidget* dialog) {
        maxLength = editOf(dialog)->maxLength();
        typeInto(dialog, QString(300, QLatin1Char('x')));
        clickButton(dialog, "OK");
    });
    QCOMPARE(maxLength, 255);
    QCOMPARE(result, std::optional<std::string>(std::string(255, 'x')));
}

void InputPromptTest::enterOnFocusedCancelCancels() {
    const std::optional<std::string> result = answerPrompt([&](QWidget* dialog) {
        typeInto(dialog, "1/1/2000");
        dialog->findChild<QPushButton*>("Cancel")->setFocus();
        pressKey(dialog, Qt::Key_Return);
        if (dialog->isVisible())
            clickButton(dialog, "OK");
    });
    QVERIFY(!result.has_value());
}

// In and out as UTF-8: the proposal reaches the box as its characters, and typed characters come back
// as they are, also those that Windows-1252 lacks.
void InputPromptTest::textsAreUnicode() {
    QString shown;
    const std::optional<std::string> result = answerPrompt(
        [&](QWidget* dialog) {
            shown = editOf(dialog)->text();
            editOf(dialog)->selectAll();
            editOf(dialog)->insert(QString::fromUtf8("é€—Ωд")); // as an input method enters them
            clickButton(dialog, "OK");
        },
        "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
    QCOMPARE(shown, QString::fromUtf8("été €"));
    QCOMPARE(result, std::optional<std::string>("\xC3\xA9\xE2\x82\xAC\xE2\x80\x94\xCE\xA9\xD0\xB4"));
}

void InputPromptTest::isDestroyedBeforeReturning() {
    QPointer<QWidget> form;
    answerPrompt([&](QWidget* dialog) {
        form = dialog;
        clickButton(dialog, "OK");
    });
    QVERIFY(form.isNull());
}

QTEST_MAIN(InputPromptTest)
#include "InputPromptTest.moc"
