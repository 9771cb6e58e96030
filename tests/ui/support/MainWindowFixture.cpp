#include "support/MainWindowFixture.h"

#include "support/WindowDriving.h"
#include "unit/support/RecordingMessages.h"
#include "unit/support/TempFolder.h"

#include "book/DayNumber.h"
#include "book/SiteFile.h"
#include "ui/Windows.h"
#include "ui/widgets/QtText.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

namespace portolan::test {

MainWindowFixture::MainWindowFixture()
    : places(pathFromQString(QDir::toNativeSeparators(folder.path()))), session(clock, launcher, places) {}

MainWindowFixture::~MainWindowFixture() = default;

void MainWindowFixture::start(std::optional<std::string> startupFile) {
    window.reset(createWindows(session, std::move(startupFile)));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

std::string MainWindowFixture::path(const QString& name) const {
    return pathFromQString(QDir::toNativeSeparators(folder.filePath(name)));
}

QAction* MainWindowFixture::action(const char* name) const {
    return window->findChild<QAction*>(name);
}

void MainWindowFixture::trigger(const char* name) const {
    QAction* item = action(name);
    QVERIFY2(item, qPrintable(QString("there is no menu item %1").arg(name)));
    QVERIFY2(item->isEnabled(), qPrintable(QString("the menu item %1 is disabled").arg(name)));
    item->trigger();
}

QToolButton* MainWindowFixture::button(const char* name) const {
    return window->findChild<QToolButton*>(name);
}

QListWidget* MainWindowFixture::siteBox() const {
    return window->findChild<QListWidget*>("SiteBox");
}

QLabel* MainWindowFixture::statusPanel(int panel) const {
    return window->findChild<QLabel*>(QString("StatusPanel%1").arg(panel));
}

void writeBook(const std::string& path, const std::vector<SiteFields>& sites,
               const std::vector<DayNumber>& stamps) {
    SiteBook book;
    for (std::size_t slot = 0; slot < sites.size(); ++slot)
        book.storeSite(static_cast<int>(slot), sites[slot],
                       slot < stamps.size() ? stamps[slot] : *EncodeDayNumber(2026, 12, 7));
    testing::RecordingMessages messages;
    writeSiteFile(book, path, messages);
    QVERIFY2(messages.log.empty(), "the test book could not be written");
}

std::string fileBytes(const std::string& path) {
    return testing::readBytes(path);
}

void typeFileName(QWidget* fileDialog, const std::string& path) {
    auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
    QVERIFY2(dialog, "the modal dialog is not a file dialog");
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY2(name, "the file dialog has no name box");
    // An inactive dialog keeps the file still selected in its list over the typed name.
    activate(dialog);
    // The folder is picked first, as typing a whole path races the name box's completion.
    const QFileInfo file(pathToQString(path));
    dialog->setDirectory(file.absolutePath());
    name->setFocus();
    name->selectAll();
    typeText(name, file.fileName());
    QTest::keyClick(name, Qt::Key_Return);
}

} // namespace portolan::test
