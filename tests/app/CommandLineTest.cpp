// Runs Portolan's start-up as the program does, on this program's own command line, whose arguments
// look like Qt's options, and checks that the first argument names the site file and that Qt acts on
// none of them. One case per run: "-reverse", or "-style fusion book.ptn". The start-up gets the real
// command line, as Windows hands the program its arguments through the system, not through main.

#include "support/ModalAnswer.h"
#include "unit/support/RecordingMessages.h"
#include "unit/support/TempFolder.h"

#include "app/Startup.h"
#include "book/SiteFile.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace portolan;

// What the running program showed.
struct Seen {
    QString message;
    QString title;
    QStringList sites;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    QStringList qtArguments;
};
Seen seen;

QWidget* mainWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "mainFRM" && window->isVisible())
            return window;
    return nullptr;
}

// Polls the running program: answers the message of the start-up open, if one comes, and ends the
// program once the main window shows, noting what it shows.
void watch(int remainingMs) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
        if (auto* text = modal->findChild<QLabel*>("Message"))
            seen.message = text->text();
        test::clickButton(modal, "OK");
    } else if (QWidget* window = mainWindow()) {
        seen.title = window->windowTitle();
        auto* list = window->findChild<QListWidget*>("SiteBox");
        for (int row = 0; row < list->count(); ++row)
            seen.sites << list->item(row)->text();
        seen.direction = QApplication::layoutDirection();
        seen.qtArguments = QApplication::arguments();
        QCoreApplication::exit(0);
        return;
    }
    if (remainingMs > 0)
        QTimer::singleShot(10, qApp, [remainingMs] { watch(remainingMs - 10); });
    else
        QCoreApplication::exit(1);
}

void startWatching() {
    QTimer::singleShot(0, qApp, [] { watch(10000); });
}
Q_COREAPP_STARTUP_FUNCTION(startWatching)

void writeBookOf(const std::string& path, const char* description) {
    SiteBook book;
    SiteFields fields;
    fields.Description = description;
    book.storeSite(0, fields, 35250);
    testing::RecordingMessages messages;
    writeSiteFile(book, path, messages);
}

int failures = 0;

void expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string which = argc > 1 ? argv[1] : "";
    testing::TempFolder folder;
    std::filesystem::current_path(testing::systemPathOf(folder.path()));
    writeBookOf("-style", "Dash style");
    writeBookOf("book.ptn", "Book");

    if (which == "-reverse" && argc == 2) {
        expect(startPortolan(argc, argv) == 0, "the program ran and ended");
        expect(seen.message == "File was not found.  Possibly incorrect file name or open file.",
               "\"-reverse\" names a file, which does not exist");
        expect(seen.title == "Portolan - untitled", "the book stays untitled");
        expect(seen.direction == Qt::LeftToRight, "Qt did not reverse the layout");
    } else if (which == "-style" && argc == 4) {
        expect(startPortolan(argc, argv) == 0, "the program ran and ended");
        expect(seen.message.isEmpty(), "no message");
        expect(seen.title == "Portolan - -style", "\"-style\" names the book that opens");
        expect(seen.sites == QStringList{"Dash style"}, "the book \"-style\" is listed");
    } else {
        std::fprintf(stderr, "usage: CommandLineTest -reverse | -style fusion book.ptn\n");
        return 2;
    }
    expect(seen.qtArguments == QStringList{QString::fromLocal8Bit(argv[0])},
           "Qt saw the program's name alone");
    // Out of the folder, which is removed.
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    return failures == 0 ? 0 : 1;
}
