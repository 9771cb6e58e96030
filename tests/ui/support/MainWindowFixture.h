#pragma once

#include "unit/support/FakeUserInterface.h"
#include "unit/support/TestPlaces.h"

#include "book/SiteBook.h"
#include "commands/Session.h"
#include "ui/mainUnit.h"

#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QListWidget;
class QToolButton;

namespace portolan::test {

// The program's five windows on a session of their own: a clock standing on 2026-12-07, a launcher
// that records what it is given, and a settings file in a fresh temporary folder, which stands for the
// program's folder.
class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();

    // Creates the windows as the program does and shows the main window.
    void start(std::optional<std::string> startupFile = std::nullopt);

    // A file in the temporary folder, as the system names it ("\\" between folders on Windows); name
    // may name it with "/".
    std::string path(const QString& name) const;

    QAction* action(const char* name) const;
    // Chooses the menu item of this objectName as a person can: fails the test, triggering nothing, when
    // there is no such item or it is disabled.
    void trigger(const char* name) const;
    QToolButton* button(const char* name) const;
    QListWidget* siteBox() const;
    QLabel* statusPanel(int panel) const;

    QTemporaryDir folder;
    testing::FixedClock clock{{2026, 12, 7}};
    testing::RecordingLauncher launcher;
    testing::TestPlaces places;
    Session session;
    std::unique_ptr<TmainFRM> window;
};

// Writes a site file holding sites in slots 0, 1, ..., as Portolan writes it. Slot n is stamped
// stamps[n] when stamps holds an entry for it, else 2026-12-07.
void writeBook(const std::string& path, const std::vector<SiteFields>& sites,
               const std::vector<DayNumber>& stamps = {});

// The whole content of a file, or an empty text when it cannot be read.
std::string fileBytes(const std::string& path);

// Picks the file's folder in the open file dialog, types its name and presses Enter.
void typeFileName(QWidget* fileDialog, const std::string& path);

} // namespace portolan::test
