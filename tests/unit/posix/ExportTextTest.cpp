#include "FileSituations.h"
#include "FileSizeLimit.h"
#include "support/ExportFixture.h"

#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace portolan {
namespace {

using testing::ExportText;
using testing::FileSizeLimit;
using testing::footerNotOpened;
using testing::headerNotOpened;
using testing::headerReadError;
using testing::question;
using testing::readBytes;
using testing::saveDialog;
using testing::writeBytes;

// The system's own memory file opens, and reading it from its start fails.
const char* const unreadableFile = "/proc/self/mem";

TEST_F(ExportText, AHeaderThatCannotBeReadShowsItsMessageAndLeavesTheTarget) {
    if (!canOpenForReading(unreadableFile))
        GTEST_SKIP() << unreadableFile << " does not open here";
    storeSite(0, "Mirror");
    for (const bool targetExisted : {false, true}) {
        std::filesystem::remove(testing::systemPathOf(target));
        if (targetExisted)
            writeBytes(target, "old export");
        ui.messages.clear();
        if (targetExisted)
            ui.answers.push_back(AnswerYes);
        ExportRequest request = columns({"Description"});
        request.headerText = unreadableFile;
        EXPECT_EQ(failureOf(request), 0);
        ASSERT_EQ(ui.messages.size(), targetExisted ? 2u : 1u);
        EXPECT_EQ(ui.messages.back().text, headerReadError);
        EXPECT_EQ(ui.messages.back().kind, MessageKind::Error);
        EXPECT_EQ(ui.messages.back().buttons, button::OK);
        EXPECT_EQ(targetExists(), targetExisted);
        EXPECT_EQ(readBytes(target), targetExisted ? "old export" : "");
        EXPECT_EQ(folder.entryCount(), targetExisted ? 1u : 0u) << "no temporary file is left";
        EXPECT_EQ(session.ExportColumnWidths[0], 0) << "the widths come after the header";
    }
}

// A small header is gathered in memory with the site lines; the write failure is still the header's.
TEST_F(ExportText, AFullDiskWhileCopyingTheHeaderShowsTheHeaderMessage) {
    for (const std::size_t headerSize : {500u, 200000u}) {
        ui.messages.clear();
        writeBytes(folder.file("head.txt"), std::string(headerSize, 'h'));
        writeBytes(target, "old export");
        ExportRequest request = columns({"Description"});
        request.headerText = folder.file("head.txt");
        ui.answers.push_back(AnswerYes);
        {
            const FileSizeLimit limit(100);
            EXPECT_EQ(failureOf(request), 0) << headerSize;
        }
        ASSERT_EQ(ui.messages.size(), 2u) << headerSize;
        EXPECT_EQ(ui.messages[1].text, headerReadError) << headerSize;
        EXPECT_EQ(readBytes(target), "old export") << headerSize;
        EXPECT_EQ(folder.entryCount(), 2u) << headerSize;
    }
}

// A FIFO opens at once as a file that cannot be opened: as header or footer it gets its message, and
// as the target it is not taken for an existing file and is never replaced.
TEST_F(ExportText, AFifoIsAFileThatCannotBeOpenedAndIsNeverReplaced) {
    const std::string fifo = folder.file("pipe.txt");
    ASSERT_TRUE(testing::makeFifo(fifo));
    storeSite(0, "Mirror");
    const testing::Deadline deadline(10);
    for (const bool asHeader : {true, false}) {
        ui.messages.clear();
        ExportRequest request = columns({"Description"});
        (asHeader ? request.headerText : request.footerText) = fifo;
        EXPECT_EQ(failureOf(request), 0);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, asHeader ? headerNotOpened : footerNotOpened);
    }
    ui.log.clear();
    target = fifo;
    EXPECT_EQ(failureOf(columns({"Description"})), ioCode::AccessDenied);
    EXPECT_EQ(ui.log, (std::vector<std::string>{saveDialog})) << "no question";
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(ExportText, AFooterThatCannotBeReadFailsWithItsCodeAndLeavesTheTarget) {
    if (!canOpenForReading(unreadableFile))
        GTEST_SKIP() << unreadableFile << " does not open here";
    writeBytes(target, "old export");
    storeSite(0, "Mirror");
    ExportRequest request = columns({"Description"});
    request.footerText = unreadableFile;
    ui.answers.push_back(AnswerYes);
    EXPECT_EQ(failureOf(request), ioCodeFromErrno(EIO));
    EXPECT_EQ(ui.log, (std::vector<std::string>{saveDialog, "beep", "message " + question}));
    EXPECT_EQ(readBytes(target), "old export");
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary file is left";
}

TEST_F(ExportText, AFullDiskFailsWithItsCodeAndLeavesTheTarget) {
    for (int slot = 0; slot < 20; ++slot)
        storeSite(slot, "Site number " + std::to_string(slot), "ftp.example.org");
    writeBytes(target, "old export");
    ui.answers.push_back(AnswerYes);
    {
        const FileSizeLimit limit(64);
        EXPECT_EQ(failureOf(columns({"Description", "Address"})), ioCode::DiskFull);
    }
    EXPECT_EQ(readBytes(target), "old export");
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary file is left";
}

// A target that the user may write, in a folder the user may not write, is rewritten in place; a header
// or footer that is the target itself is still read with its old content.
TEST_F(ExportText, ATargetInAReadOnlyFolderIsRewrittenInPlace) {
    writeBytes(target, "Old text\r\n");
    ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
    const testing::ReadOnlyFolder readOnly(folder.path());
    if (readOnly.ignored())
        GTEST_SKIP() << "this user writes into any folder; tests/tools/run-as-nobody runs this test";
    exportOverATargetThatIsAlsoTheHeaderOrFooter();
}

} // namespace
} // namespace portolan
