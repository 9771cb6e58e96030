#include "SecondName.h"
#include "WindowsSituations.h"
#include "support/CurrentFolder.h"
#include "support/RecordingMessages.h"
#include "support/SiteFileSamples.h"
#include "support/TempFolder.h"

#include "book/SettingsFile.h"
#include "book/SiteFile.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextRules.h"
#include "runtime/WideText_windows.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace portolan {
namespace {

using testing::CurrentFolder;
using testing::Deadline;
using testing::HeldByAnotherProgram;
using testing::identityOf;
using testing::readBytes;
using testing::RecordingMessages;
using testing::setReadOnly;
using testing::TempFolder;
using testing::withSecondName;
using testing::writeBytes;
using Call = RecordingMessages::Call;

TEST(IoErrors, WindowsCodesAreTheRecordedCodes) {
    const std::pair<unsigned long, int> cases[] = {
        {ERROR_FILE_NOT_FOUND, 2},
        {ERROR_PATH_NOT_FOUND, 3},
        {ERROR_TOO_MANY_OPEN_FILES, 4},
        {ERROR_ACCESS_DENIED, 5},
        {ERROR_WRITE_PROTECT, 19},
        {ERROR_SHARING_VIOLATION, 32},
        {ERROR_HANDLE_DISK_FULL, 101},
        {ERROR_DISK_FULL, 101},
        {ERROR_INVALID_NAME, 123},
        {ERROR_LOCK_VIOLATION, 33},
        {ERROR_SUCCESS, ioCode::GeneralFailure},
    };
    for (const auto& [systemCode, code] : cases)
        EXPECT_EQ(ioCodeFromWindowsError(systemCode), code) << systemCode;
}

TEST(TextRules, FileNamePartFollowsTheLastBackslashSlashOrColon) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"C:\\Books\\sites.ptn", "sites.ptn"},
        {"C:sites.ptn", "sites.ptn"},
        {"C:/Books/a b.ptn", "a b.ptn"},
        {"\\\\server\\share\\x.ptn", "x.ptn"},
        {"Books\\", ""},
        {"a/b\\c.ptn", "c.ptn"},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(fileNamePart(path), name) << path;
}

// Paths reach the wide calls in UTF-16; past the classic limit as the whole, normalized path in the
// "\\?\" form, which the system takes as it stands.
TEST(SystemPath, LongPathsTakeTheLongFormWhole) {
    const std::string name(300, 'a');
    const std::wstring wideName(300, L'a');
    const std::pair<std::string, std::wstring> cases[] = {
        {"C:\\Books\\book.ptn", L"C:\\Books\\book.ptn"},
        {"C:/Books/book.ptn", L"C:/Books/book.ptn"},
        {"C:\\\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB8\\\xE6\x96\x87.ptn",
         L"C:\\\x41a\x43d\x438\x433\x438\\\x6587.ptn"},
        {"C:\\" + name + "/sub/../book.ptn", L"\\\\?\\C:\\" + wideName + L"\\book.ptn"},
        {"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + wideName},
        {"\\\\?\\C:\\" + name + "/as/it/stands", L"\\\\?\\C:\\" + wideName + L"/as/it/stands"},
    };
    for (const auto& [path, wide] : cases)
        EXPECT_TRUE(systemPath(path) == wide) << path;
}

// What counts against the classic limit is the path that the system makes of a relative one, joined to
// the current folder: one that is short as given but long once joined takes the long form too, whole,
// with backslashes only and without "." and "..". One that stays short is handed on as given.
TEST(SystemPath, RelativePathsAreMeasuredAndMadeWholeFromTheCurrentFolder) {
    TempFolder folder;
    const CurrentFolder here(folder.path());
    const std::wstring whole = L"\\\\?\\" + wideFromUtf8(folder.path()) + L"\\";
    const std::string name(230, 'r');
    const std::wstring wideName(230, L'r');
    const std::pair<std::string, std::wstring> cases[] = {
        {name + "\\b.ptn", whole + wideName + L"\\b.ptn"},
        {"sub/./x/../" + name + "/b.ptn", whole + L"sub\\" + wideName + L"\\b.ptn"},
        {"sub\\..\\" + name + "\\c\\d.ptn", whole + wideName + L"\\c\\d.ptn"},
        {"sub/../b.ptn", L"sub/../b.ptn"},
        {"b.ptn", L"b.ptn"},
    };
    for (const auto& [path, wide] : cases) {
        ASSERT_LT(path.size(), 248u) << path;
        EXPECT_TRUE(systemPath(path) == wide) << path;
    }
}

// A program in a drive's root keeps the backslash after the colon, so that its settings path has two.
TEST(SettingsFormat, TheFileLivesInTheGivenFolderJoinedByABackslash) {
    EXPECT_EQ(settingsFilePath("C:\\Tools"), "C:\\Tools\\prtln.cfg");
    EXPECT_EQ(settingsFilePath("C:\\"), "C:\\\\prtln.cfg");
}

// Consoles, devices and pipes open without waiting, and are files that cannot be opened: nothing reads
// them and nothing is written in their place.
TEST(Files, DevicesAndSpecialNamesAreFilesThatCannotBeOpened) {
    TempFolder folder;
    // A pipe whose server waits for clients: each open as a client takes one of its instances.
    const std::string pipe = "\\\\.\\pipe\\portolan-test-" + std::to_string(::GetCurrentProcessId());
    std::vector<HANDLE> instances;
    for (int i = 0; i < 8; ++i) {
        instances.push_back(::CreateNamedPipeW(testing::widePathOf(pipe).c_str(), PIPE_ACCESS_DUPLEX,
                                               PIPE_TYPE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 512, 512,
                                               0, nullptr));
        ASSERT_NE(instances.back(), INVALID_HANDLE_VALUE);
    }
    const Deadline deadline(20);
    struct Case {
        std::string path;
        bool opensAsDevice; // it opens, and is then refused as no file on a disk
    };
    const Case cases[] = {
        {"NUL", true},   {folder.file("nul.ptn"), true}, {pipe, true}, {"CON", false},
        {"COM1", false}, {"\\\\.\\COM1", false},
    };
    for (const Case& c : cases) {
        PlainFile file;
        file.openForReading(c.path);
        EXPECT_FALSE(file.isOpen()) << c.path;
        const int code = file.fetchError();
        EXPECT_NE(code, 0) << c.path;
        if (c.opensAsDevice) {
            EXPECT_EQ(code, ioCode::AccessDenied) << c.path;
        }
        EXPECT_FALSE(canOpenForReading(c.path)) << c.path;

        ReplacingFile target(c.path);
        const int refusal = target.fetchError();
        EXPECT_NE(refusal, 0) << c.path << ": refused before anything is written";
        if (c.opensAsDevice) {
            EXPECT_EQ(refusal, ioCode::AccessDenied) << c.path;
        }
        target.write("new", 3);
        target.close();
        EXPECT_NE(target.fetchError(), 0) << c.path;
    }
    for (const HANDLE instance : instances)
        ::CloseHandle(instance);
    EXPECT_EQ(folder.entryCount(), 0u);
}

// The read-only attribute write-protects a file: a save fails at once, the file keeps its bytes and no
// temporary file is left.
TEST(ReplacingFile, AReadOnlyFileIsNeitherWrittenNorReplaced) {
    TempFolder folder;
    const std::string path = folder.file("locked.ptn");
    const std::string earlier = testing::randomBytes(SiteFileSize, 10);
    writeBytes(path, earlier);
    ASSERT_TRUE(setReadOnly(path, true));
    RecordingMessages messages;
    EXPECT_FALSE(writeSiteFile(testing::exampleBook(), path, messages));
    EXPECT_EQ(messages.log,
              (std::vector<Call>{Call::sound(), Call::message("Could not write to file  LOCKED.PTN",
                                                              MessageKind::Information, button::OK)}));
    EXPECT_EQ(readBytes(path), earlier);
    EXPECT_EQ(folder.entryCount(), 1u);
    ReplacingFile file(path);
    EXPECT_EQ(file.fetchError(), ioCode::AccessDenied);
    setReadOnly(path, false);
}

// A book that another program has open is saved by nobody but that program: the save fails with the
// earlier file byte for byte and no temporary file left, whether the other program lets others read it
// only, read and write it, or neither. The program reads it where the other program only reads it and
// lets others read too, as it lets others read while it reads.
TEST(ReplacingFile, AFileThatAnotherProgramHoldsIsNotReplaced) {
    struct Case {
        const char* what;
        DWORD access;
        DWORD share;
        bool readable; // by the program
    };
    const Case cases[] = {
        {"written, shared for reading", GENERIC_WRITE, FILE_SHARE_READ, false},
        {"read, shared for reading", GENERIC_READ, FILE_SHARE_READ, true},
        {"read, shared for reading and writing", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"read, shared with no one", GENERIC_READ, 0, false},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.file("shared.ptn");
        const std::string earlier = testing::randomBytes(SiteFileSize, 12);
        writeBytes(path, earlier);
        const HeldByAnotherProgram other(path, c.access, c.share);
        ASSERT_TRUE(other.held()) << c.what;
        RecordingMessages messages;
        EXPECT_FALSE(writeSiteFile(testing::bookOfSites(3), path, messages));
        EXPECT_EQ(messages.log,
                  (std::vector<Call>{Call::sound(), Call::message("Could not write to file  SHARED.PTN",
                                                                  MessageKind::Information, button::OK)}))
            << c.what;
        ReplacingFile file(path);
        file.write("new", 3);
        file.close();
        const int code = file.fetchError();
        EXPECT_NE(code, 0) << c.what;
        EXPECT_EQ(canOpenForReading(path), c.readable) << c.what;
        EXPECT_EQ(folder.entryCount(), 1u) << c.what << ": no temporary file is left";
        if (c.share != 0) {
            EXPECT_EQ(readBytes(path), earlier) << c.what;
        }
    }
}

// A file with a second name (a hard link) is rewritten in place, so that both names keep showing one
// file.
TEST(ReplacingFileInPlace, AFileWithASecondNameKeepsItAndItsIdentity) {
    TempFolder folder;
    const std::string path = folder.file("book.ptn");
    writeBytes(path, "old content");
    const std::string second = withSecondName(path);
    const auto identity = identityOf(path);
    ASSERT_EQ(identity.names, 2u);
    {
        ReplacingFile file(path);
        file.write("new", 3);
        file.close();
        EXPECT_EQ(file.fetchError(), 0);
    }
    EXPECT_EQ(readBytes(second), "new");
    EXPECT_EQ(identityOf(path), identity);
    EXPECT_EQ(folder.entryCount(), 2u);
}

} // namespace
} // namespace portolan
