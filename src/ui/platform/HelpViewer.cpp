#include "ui/platform/HelpViewer.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace portolan {

namespace {

// Like the system's help program, one viewer serves the whole program: the jump goes to the
// viewer that the last request for contents showed. The pointer clears itself when the viewer
// goes with its owner.
QPointer<HelpViewer> currentViewer;

} // namespace

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Portolan Help"));
    browser_->setObjectName(QStringLiteral("HelpText"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(560, 480);
}

void HelpViewer::showFile(const QString& path) {
    // Read afresh each time, which also shows it from its top: the file found may have changed, or
    // be another one. The manual is HTML whatever its file name says.
    const QUrl url = QUrl::fromLocalFile(path);
    if (browser_->source() == url)
        browser_->reload();
    else
        browser_->setSource(url, QTextDocument::HtmlResource);
    show();
    raise();
    activateWindow();
}

QString findHelpFile(const QString& helpFile, const QString& programFolder) {
    // PORTOLAN_DATA_FROM_BIN is the installed data folder seen from the installed program's folder,
    // so an installed copy finds its manual under any prefix.
    const QString dataFolder =
        QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(PORTOLAN_DATA_FROM_BIN)));
    for (const QString& folder : {QDir::currentPath(), programFolder, dataFolder}) {
        const QFileInfo candidate(QDir(folder), helpFile);
        if (candidate.isFile() && candidate.isReadable())
            return candidate.absoluteFilePath();
    }
    return {};
}

bool showContents(const QString& helpFile, QWidget* owner) {
    const QString path = findHelpFile(helpFile);
    if (path.isEmpty())
        return false;
    if (!currentViewer)
        currentViewer = new HelpViewer(owner);
    currentViewer->showFile(path);
    return true;
}

void jumpToTopic(const QString& topic) {
    if (currentViewer && currentViewer->isVisible())
        currentViewer->browser()->scrollToAnchor(topic);
}

} // namespace portolan
