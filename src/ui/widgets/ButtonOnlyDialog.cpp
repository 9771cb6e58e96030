#include "ui/widgets/ButtonOnlyDialog.h"

#include "ui/widgets/Guard.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

namespace portolan {

ButtonOnlyDialog::ButtonOnlyDialog(QWidget* parent, const QString& name, const QString& caption,
                                   QSize clientSize)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(clientSize);
}

QPushButton* ButtonOnlyDialog::addButton(QWidget* parent, const QString& name, const QString& caption,
                                         const QRect& place, std::function<void()> handler) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(false);
    button->setDefault(false);
    connect(button, &QPushButton::clicked, this, [handler] { guarded(handler); });
    return button;
}

void ButtonOnlyDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not when the window system merely restores it
        guarded([&] { FormShow(); });
}

void ButtonOnlyDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept(); // neither closes the dialog nor presses a button
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void ButtonOnlyDialog::closeByButton(int result) {
    closingByButton_ = true;
    done(result);
    closingByButton_ = false;
}

void ButtonOnlyDialog::closeEvent(QCloseEvent* event) {
    if (closingByButton_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

} // namespace portolan
