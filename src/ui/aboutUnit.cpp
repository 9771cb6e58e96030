#include "ui/aboutUnit.h"

#include "ui/platform/Application.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

namespace portolan {

namespace {

constexpr QSize boxSize(400, 81);
constexpr QSize bannerSize(400, 60);
constexpr int closedAnswer = 2;

// The banner: the program's name in large black letters on a white band that fades to black at
// both ends.
QPixmap drawBanner() {
    QPixmap banner(bannerSize);
    QPainter painter(&banner);
    QLinearGradient band(0, 0, bannerSize.width(), 0);
    band.setColorAt(0.0, Qt::black);
    band.setColorAt(0.3, Qt::white);
    band.setColorAt(0.7, Qt::white);
    band.setColorAt(1.0, Qt::black);
    painter.fillRect(banner.rect(), band);

    QFont lettering(QStringLiteral("DejaVu Serif"));
    lettering.setStyleHint(QFont::Serif);
    lettering.setPixelSize(42);
    lettering.setBold(true);
    lettering.setItalic(true);
    painter.setFont(lettering);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    painter.drawText(banner.rect(), Qt::AlignCenter, QStringLiteral("Portolan"));
    return banner;
}

QLabel* addLabel(QWidget* parent, const QString& name, int left, int top) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->move(left, top);
    return label;
}

} // namespace

QPoint centredOrigin(QSize screen, QSize box) {
    return {std::max(0, (screen.width() - box.width()) / 2),
            std::max(0, (screen.height() - box.height()) / 2)};
}

TaboutFRM::TaboutFRM(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("aboutFRM"));
    setFixedSize(boxSize);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
    setFont(classicFont());

    Image1 = addLabel(this, QStringLiteral("Image1"), 0, -1);
    Image1->resize(bannerSize);
    copyLBL = addLabel(this, QStringLiteral("copyLBL"), 232, 64);
    copyLBL->setText(QStringLiteral("(c) The Portolan developers"));
    copyLBL->adjustSize();
    verLBL = addLabel(this, QStringLiteral("verLBL"), 8, 64);
    verLBL->setText(QStringLiteral("Portolan v1.3"));
    verLBL->adjustSize();
    for (QLabel* label : {Image1, copyLBL, verLBL})
        label->installEventFilter(this);
}

// Keys do nothing: the box has no default button and no Escape button.
void TaboutFRM::keyPressEvent(QKeyEvent*) {}

void TaboutFRM::showEvent(QShowEvent* event) {
    if (!shownBefore_) {
        shownBefore_ = true;
        // Drawn here rather than at start-up, where nothing but the main window should cost time.
        Image1->setPixmap(drawBanner());
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().topLeft() + centredOrigin(screen->geometry().size(), boxSize));
    }
    QDialog::showEvent(event);
}

void TaboutFRM::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        FormClick();
}

bool TaboutFRM::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto* label = qobject_cast<QLabel*>(watched);
    if (!label || mouse->button() != Qt::LeftButton || !label->rect().contains(mouse->position().toPoint()))
        return false;
    if (label == Image1)
        Image1Click();
    else if (label == verLBL)
        verLBLClick();
    else
        copyLBLClick();
    return true;
}

void TaboutFRM::FormClick() {
    closeBox();
}
void TaboutFRM::verLBLClick() {
    closeBox();
}
void TaboutFRM::copyLBLClick() {
    closeBox();
}
void TaboutFRM::Image1Click() {
    closeBox();
}

void TaboutFRM::closeBox() {
    done(closedAnswer);
}

} // namespace portolan
