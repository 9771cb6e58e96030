#include "support/WindowDriving.h"

#include "support/ModalAnswer.h"

#include "ui/platform/Application.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>

namespace portolan::test {

ProgramFont::ProgramFont() : previous_(QApplication::font()) {
    QApplication::setFont(classicFont());
}

ProgramFont::~ProgramFont() {
    QApplication::setFont(previous_);
}

void activate(QWidget* window) {
    window->activateWindow();
    // Not qWaitForWindowActive: it counts a dialog as active while its parent window is.
    QTRY_COMPARE(QApplication::activeWindow(), window);
}

void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

void selectSite(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(!found.isEmpty(), qPrintable("no entry " + text));
    const QRect place = list->visualItemRect(found.constFirst());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    QVERIFY2(found.constFirst()->isSelected(), qPrintable("the click did not select " + text));
}

bool inModalDialog(const std::function<void()>& open, const QString& closeButton,
                   const std::function<void(QDialog& dialog)>& steps) {
    auto opened = whenModal([closeButton, steps](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog) {
            modal->close();
            QFAIL("the modal window is not a dialog");
        }
        activate(dialog);
        steps(*dialog);
        if (dialog->isVisible())
            clickButton(dialog, closeButton);
    });
    open();
    return *opened;
}

std::shared_ptr<bool> answerFileDialog(std::function<void(QFileDialog&)> act) {
    return whenModal([act = std::move(act)](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        if (!files) {
            modal->close();
            QFAIL("no file dialog opened");
        }
        act(*files);
    });
}

std::shared_ptr<bool> browse(QDialog& dialog, const char* button, std::function<void(QFileDialog&)> act) {
    auto answered = answerFileDialog(std::move(act));
    QTest::mouseClick(dialog.findChild<QToolButton*>(button), Qt::LeftButton);
    return answered;
}

std::shared_ptr<ShownMessage> recordMessage(const QString& buttonName) {
    auto shown = std::make_shared<ShownMessage>();
    whenModal([shown, buttonName](QWidget* dialog) {
        auto* message = dialog->findChild<QLabel*>(QStringLiteral("Message"));
        QVERIFY2(message, "the modal dialog is not a message dialog");
        shown->opened = true;
        shown->caption = dialog->windowTitle();
        shown->text = message->text();
        QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
        std::sort(buttons.begin(), buttons.end(),
                  [](const QPushButton* a, const QPushButton* b) { return a->x() < b->x(); });
        for (const QPushButton* button : buttons)
            shown->buttons << button->objectName();
        clickButton(dialog, buttonName);
    });
    return shown;
}

std::shared_ptr<ShownMessage> recordErrorBox() {
    auto shown = std::make_shared<ShownMessage>();
    whenModal([shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            modal->close();
            QFAIL("the modal dialog is not an error box");
        }
        shown->opened = true;
        shown->caption = box->windowTitle();
        shown->text = box->text();
        for (const QAbstractButton* button : box->buttons())
            shown->buttons << button->text();
        const bool stopIcon = box->icon() == QMessageBox::Critical;
        box->button(QMessageBox::Ok)->click();
        QVERIFY2(stopIcon, "the error box has no stop icon");
    });
    return shown;
}

} // namespace portolan::test
