#include "FileSituations.h"
#include "support/BookCommandsFixture.h"

#include "commands/BookCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

namespace portolan {
namespace {

using testing::BookCommands;
using testing::CommandFixture;
using testing::notFound;

// A FIFO named as the book opens at once as a file that cannot be opened, and a save never replaces it.
TEST_F(BookCommands, AFifoIsNeitherReadNorReplaced) {
    const std::string fifo = folder.file("pipe.ptn");
    ASSERT_TRUE(testing::makeFifo(fifo));
    const testing::Deadline deadline(10);
    openStartupFile(session, ui, fifo);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, notFound);
    EXPECT_EQ(session.SiteFileName, "");

    addSite("Mirror");
    ui.fileNames[FileDialog::SaveSite] = {fifo};
    saveSiteFile(session, ui);
    EXPECT_EQ(std::count(ui.log.begin(), ui.log.end(), "beep"), 1) << "no overwrite question, one beep";
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Could not write to file  PIPE.PTN");
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// A team's book, writable by the user, in a folder the user may not write.
TEST_F(BookCommands, ABookInAReadOnlyFolderIsSavedInPlace) {
    const std::string path = siteFile("team.ptn", {"Mirror"});
    ::chmod(path.c_str(), 0666);
    openStartupFile(session, ui, path);
    const testing::ReadOnlyFolder readOnly(folder.path());
    if (readOnly.ignored())
        GTEST_SKIP() << "this user writes into any folder; tests/tools/run-as-nobody runs this test";
    addSite("Archive");
    session.BookModified = true;
    saveSiteFile(session, ui);
    EXPECT_TRUE(ui.messages.empty());
    CommandFixture reader;
    openStartupFile(reader.session, reader.ui, path);
    EXPECT_EQ(reader.ui.items, (std::vector<std::string>{"Archive", "Mirror"}));
    EXPECT_EQ(folder.entryCount(), 1u);
}

} // namespace
} // namespace portolan
