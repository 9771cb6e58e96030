#include "ui/widgets/RoleDialog.h"

#include "book/Messages.h"
#include "ui/widgets/Guard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace portolan {

RoleDialog::RoleDialog(const QString& caption)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint) {
    setWindowTitle(caption);
}

void RoleDialog::reject() {
    done(AnswerCancel);
}

QPushButton* RoleDialog::addButton(const QString& name, const QString& caption, const QRect& place,
                                   std::function<void()> onClick) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [onClick] { guarded(onClick); });
    return button;
}

QPushButton* RoleDialog::addAnswerButton(const QString& name, const QString& caption, const QRect& place,
                                         int answer) {
    return addButton(name, caption, place, [this, answer] { done(answer); });
}

void RoleDialog::setRoles(QPushButton* defaultButton, QPushButton* escapeButton) {
    defaultButton_ = defaultButton;
    escapeButton_ = escapeButton;
    if (defaultButton_) {
        defaultButton_->setDefault(true);
        defaultButton_->setFocus();
    } else if (auto* first = findChild<QPushButton*>()) {
        first->setFocus(); // without a default, Enter presses the focused button: the first one
    }
}

void RoleDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel);
    if (!enter && !escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (escape) {
        if (escapeButton_)
            escapeButton_->click();
        return;
    }
    // A focused button that is not the default leaves Enter to us, as it is not auto-default.
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->isEnabled())
        focused->click();
    else if (defaultButton_ && defaultButton_->isEnabled())
        defaultButton_->click();
}

int runModal(QDialog& dialog) {
    const QPointer<QWidget> previous = QApplication::activeWindow();
    const int answer = dialog.exec();
    if (previous)
        previous->activateWindow();
    return answer;
}

} // namespace portolan
