#pragma once

#include <QCoreApplication>
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace portolan {

// Portolan's help viewer: a small window of its own that shows an HTML manual. It stands in for the
// system's help program, and the two functions below are the two requests the program makes of it.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // The viewer is a window of its own that goes with its owner.
    explicit HelpViewer(QWidget* owner);

    // Shows the manual at path from its top, and brings the window to the front.
    void showFile(const QString& path);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

// The help file of the given bare name: looked up in the current folder, then in the program's
// folder, then in the data folder of an installed copy (share/portolan beside the bin folder).
// Empty when none of them holds a readable file of that name.
QString findHelpFile(const QString& helpFile,
                     const QString& programFolder = QCoreApplication::applicationDirPath());

// Shows the contents of the help file, from its top, in the help viewer, which is made on first use
// as a window of owner and goes with it. True when the file was found; otherwise nothing is shown
// and no window is made.
bool showContents(const QString& helpFile, QWidget* owner);

// Scrolls the viewer that showContents last showed to the anchor named topic; does nothing when no
// viewer is showing.
void jumpToTopic(const QString& topic);

} // namespace portolan
