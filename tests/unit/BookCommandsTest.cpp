#include "support/BookCommandsFixture.h"

#include "book/SiteFile.h"
#include "commands/BookCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>

namespace portolan {
namespace {

using testing::BookCommands;
using testing::CommandFixture;
using testing::discardQuestion;
using testing::notFound;
using testing::readBytes;
using testing::writeBytes;

TEST_F(BookCommands, NewWithoutChangesAsksNothingAndKeepsTheFreedBytes) {
    addSite("Mirror");
    session.SiteFileName = "/books/old.ptn";
    ui.status[0] = "1";
    ui.status[1] = "ftp.Mirror.example 21 ";
    selectAll(true);
    newBook(session, ui);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.items.empty());
    EXPECT_EQ(session.SiteFileName, "");
    EXPECT_EQ(ui.title, "Portolan - untitled");
    EXPECT_EQ(ui.status[0], "0");
    EXPECT_EQ(ui.status[1], "");
    EXPECT_EQ(session.book.SiteCount, 0);
    EXPECT_EQ(session.book.SiteTable[0].Active, 0);
    EXPECT_EQ(session.book.SiteTable[0].Description.text(), "Mirror");
    EXPECT_FALSE(ui.enabled[SiteControl::getInfoPD]);
    EXPECT_FALSE(ui.enabled[SiteControl::getInfoSB]);
    EXPECT_FALSE(ui.enabled[SiteControl::DeletePD]);
    EXPECT_TRUE(ui.enabled[SiteControl::DeleteSB]) << "the tool buttons keep their state";
    EXPECT_TRUE(ui.enabled[SiteControl::editSB]);
}

TEST_F(BookCommands, NewAndOpenAskBeforeDroppingChangesAndCancelKeepsTheBook) {
    for (auto command : {&newBook, &openSiteFile}) {
        CommandFixture f;
        f.addSite("Mirror");
        f.session.BookModified = true;
        f.ui.status[0] = "1";
        f.ui.status[1] = "somewhere";
        f.ui.answers = {AnswerCancel};
        command(f.session, f.ui);
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].text, discardQuestion);
        EXPECT_EQ(f.ui.messages[0].kind, MessageKind::Confirmation);
        EXPECT_EQ(f.ui.messages[0].buttons, button::OK | button::Cancel);
        EXPECT_EQ(f.ui.items.size(), 1u);
        EXPECT_TRUE(f.session.BookModified);
        EXPECT_EQ(f.ui.status[0], "0") << "the panels are reset before the question";
        EXPECT_EQ(f.ui.status[1], "");
        EXPECT_EQ(f.ui.log.size(), 1u) << "nothing but the question";
    }
}

TEST_F(BookCommands, AnyAnswerButCancelGoesOn) {
    addSite("Mirror");
    session.BookModified = true;
    ui.answers = {AnswerOK};
    newBook(session, ui);
    EXPECT_TRUE(ui.items.empty());
    EXPECT_FALSE(session.BookModified);
}

TEST_F(BookCommands, OpenReadsTheChosenFileAndTitlesTheBook) {
    const std::string path = siteFile("club.ptn", {"b site", "A site", "a site"});
    addSite("Old");
    session.BookModified = true;
    ui.answers = {AnswerOK};
    ui.fileNames[FileDialog::OpenSite] = {path};
    selectAll(true);
    openSiteFile(session, ui);
    EXPECT_EQ(ui.items, (std::vector<std::string>{"A site", "a site", "b site"}));
    EXPECT_EQ(session.SiteFileName, path);
    EXPECT_EQ(ui.title, "Portolan - club.ptn");
    EXPECT_FALSE(session.BookModified);
    EXPECT_EQ(session.book.SiteCount, 3);
    EXPECT_FALSE(ui.enabled[SiteControl::getInfoSB]);
    EXPECT_TRUE(ui.enabled[SiteControl::editSB]);
}

TEST_F(BookCommands, CancellingTheOpenDialogChangesNothing) {
    addSite("Mirror");
    openSiteFile(session, ui);
    EXPECT_EQ(ui.items, std::vector<std::string>{"Mirror"});
    EXPECT_EQ(ui.title, "");
}

TEST_F(BookCommands, AFailedOpenShowsThePreviousBookAgain) {
    struct Case {
        std::string fileBytes; // empty name: the file does not exist
        bool exists;
        std::string message;
    };
    const std::string shortPath = folder.file("short.ptn");
    const Case cases[] = {
        {"", false, notFound},
        {std::string(SiteFileSize - 1, '\1'), true,
         "An error occured upon read of " + shortPath +
             ".  Either file is corrupted or of another, incorrect type."},
    };
    for (const Case& c : cases) {
        CommandFixture f;
        f.addSite("Mirror");
        f.addSite("Archive");
        f.session.SiteFileName = "/books/current.ptn";
        f.ui.title = "Portolan - current.ptn";
        f.session.BookModified = false;
        if (c.exists)
            writeBytes(shortPath, c.fileBytes);
        else
            std::filesystem::remove(testing::systemPathOf(shortPath));
        f.ui.fileNames[FileDialog::OpenSite] = {shortPath};
        openSiteFile(f.session, f.ui);
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].text, c.message);
        EXPECT_EQ(f.ui.items, (std::vector<std::string>{"Archive", "Mirror"}));
        EXPECT_EQ(f.session.book.SiteCount, 2);
        EXPECT_EQ(f.session.book.SiteTable[0].Description.text(), "Mirror");
        EXPECT_EQ(f.session.SiteFileName, "/books/current.ptn");
        EXPECT_EQ(f.ui.title, "Portolan - current.ptn");
    }
}

TEST_F(BookCommands, StartupOpenTitlesTheBookOrLeavesItUntitled) {
    const std::string path = siteFile("my sites.ptn", {"Mirror"});
    openStartupFile(session, ui, path);
    EXPECT_EQ(ui.title, "Portolan - my sites.ptn");
    EXPECT_EQ(session.SiteFileName, path);
    EXPECT_TRUE(ui.messages.empty());

    CommandFixture missing;
    openStartupFile(missing.session, missing.ui, folder.file("absent.ptn"));
    ASSERT_EQ(missing.ui.messages.size(), 1u);
    EXPECT_EQ(missing.ui.messages[0].text, notFound);
    EXPECT_EQ(missing.ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(missing.ui.messages[0].buttons, button::OK);
    EXPECT_EQ(missing.ui.title, "");
    EXPECT_EQ(missing.session.SiteFileName, "");
}

TEST_F(BookCommands, SaveOfAnUntitledBookAsksForANameAndWrites) {
    addSite("Mirror");
    session.BookModified = true;
    const std::string path = folder.file("new.ptn");
    ui.fileNames[FileDialog::SaveSite] = {path};
    saveSiteFile(session, ui);
    EXPECT_EQ(ui.log.front(), "clear file name 1");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(session.SiteFileName, path);
    EXPECT_EQ(ui.title, "Portolan - new.ptn");
    EXPECT_FALSE(session.BookModified);
    const std::string bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), SiteFileSize);
    EXPECT_EQ(bytes.compare(0, SiteRecordSize, reinterpret_cast<const char*>(&session.book.SiteTable[0]),
                            SiteRecordSize),
              0);
}

TEST_F(BookCommands, SaveOntoAnExistingFileBeepsAndAsks) {
    addSite("Mirror");
    const std::string path = folder.file("taken.ptn");
    writeBytes(path, "keep me");
    ui.fileNames[FileDialog::SaveSite] = {path};
    ui.answers = {AnswerCancel};
    saveSiteFile(session, ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, path + " already exists.  Are you sure you want tooverwrite the file?");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(ui.messages[0].buttons, button::OK | button::Cancel);
    const auto beep = std::find(ui.log.begin(), ui.log.end(), "beep");
    ASSERT_NE(beep, ui.log.end());
    EXPECT_EQ(*(beep + 1), "message " + ui.messages[0].text) << "the beep comes right before the question";
    EXPECT_EQ(readBytes(path), "keep me");
    EXPECT_EQ(ui.title, "Portolan - taken.ptn") << "the name is taken before the question";

    saveSiteFile(session, ui); // titled now: writes at once, without a dialog or question
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(readBytes(path).size(), SiteFileSize);
}

TEST_F(BookCommands, SaveCancelledWritesNothing) {
    saveSiteFile(session, ui);
    EXPECT_EQ(session.SiteFileName, "");
    EXPECT_EQ(folder.entryCount(), 0u);
}

TEST_F(BookCommands, SaveAsOverwritesWithoutAsking) {
    addSite("Mirror");
    session.BookModified = true;
    const std::string other = folder.file("other.ptn");
    writeBytes(other, "old");
    session.SiteFileName = folder.file("current.ptn");
    ui.fileNames[FileDialog::SaveSite] = {other};
    saveasSiteFile(session, ui);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readBytes(other).size(), SiteFileSize);
    EXPECT_EQ(session.SiteFileName, other);
    EXPECT_EQ(ui.title, "Portolan - other.ptn");
    EXPECT_FALSE(session.BookModified);
    EXPECT_EQ(std::count(ui.log.begin(), ui.log.end(), "clear file name 1"), 0)
        << "Save As keeps the name its dialog offers";
}

// The user may have opened Save As to keep the current file as it is: a cancel writes nothing.
TEST_F(BookCommands, SaveAsCancelledWritesNothingTitledOrNot) {
    const std::string current = siteFile("current.ptn", {"Mirror"});
    // In whole seconds, which every system keeps exactly (Windows counts in steps of 100 ns).
    const std::filesystem::file_time_type written = std::chrono::floor<std::chrono::seconds>(
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    std::filesystem::last_write_time(testing::systemPathOf(current), written);
    const std::string bytes = readBytes(current);
    openStartupFile(session, ui, current);
    addSite("Archive");
    session.BookModified = true;
    saveasSiteFile(session, ui); // dialog cancelled
    EXPECT_EQ(readBytes(current), bytes);
    EXPECT_EQ(std::filesystem::last_write_time(testing::systemPathOf(current)), written);
    EXPECT_EQ(session.SiteFileName, current);
    EXPECT_TRUE(session.BookModified);
    EXPECT_TRUE(ui.messages.empty());

    CommandFixture untitled;
    untitled.addSite("Mirror");
    saveasSiteFile(untitled.session, untitled.ui);
    EXPECT_EQ(untitled.session.SiteFileName, "");
    EXPECT_EQ(untitled.folder.entryCount(), 0u);
}

// The changes of a book whose write failed exist nowhere else: closing must still ask about them.
TEST_F(BookCommands, AFailedWriteLeavesTheBookChanged) {
    addSite("Mirror");
    session.BookModified = true;
    session.SiteFileName = folder.file("missing-folder/book.ptn");
    ui.answers = {AnswerOK, AnswerNo};
    saveSiteFile(session, ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Could not write to file  BOOK.PTN");
    EXPECT_TRUE(session.BookModified);
    EXPECT_FALSE(FormCloseQuery(session, ui));
    ASSERT_EQ(ui.messages.size(), 2u) << "closing asks";
    EXPECT_EQ(ui.messages[1].buttons, button::Yes | button::No);

    ui.fileNames[FileDialog::SaveSite] = {folder.file("book.ptn")};
    saveasSiteFile(session, ui);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_FALSE(session.BookModified) << "a write that succeeds clears the flag";
}

// Paths are the system's own bytes from the file dialogs and the command line to the system calls, and
// every text that shows one shows its letters as they are, whatever their script.
TEST(BookCommandPaths, BooksInFoldersOfAnyScriptOpenSaveAndShowTheirPaths) {
    struct Case {
        const char* folder;
        const char* name;
        const char* upperName; // only a to z change case
    };
    const Case cases[] = {
        {"\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B", // Документы
         "\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.ptn",                             // сайты.ptn
         "\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.PTN"},
        {"\xE6\x96\x87\xE6\x9B\xB8",                   // 文書
         "\xE3\x82\xB5\xE3\x82\xA4\xE3\x83\x88 a.ptn", // サイト a.ptn
         "\xE3\x82\xB5\xE3\x82\xA4\xE3\x83\x88 A.PTN"},
    };
    for (const Case& c : cases) {
        CommandFixture f;
        const std::string folder = f.folder.file(c.folder);
        ASSERT_TRUE(testing::makeFolder(folder));
        const std::string book = folder + "/" + c.name;
        f.addSite("Mirror");
        writeSiteFile(f.session.book, book, f.ui);
        f.session.book.clearSites();
        f.ui.clearSiteItems();

        openStartupFile(f.session, f.ui, book);
        EXPECT_EQ(f.ui.title, std::string("Portolan - ") + c.name);
        EXPECT_EQ(f.session.SiteFileName, book);
        EXPECT_EQ(f.ui.items, std::vector<std::string>{"Mirror"});

        f.addSite("Archive");
        f.session.BookModified = true;
        saveSiteFile(f.session, f.ui);
        CommandFixture reader;
        openStartupFile(reader.session, reader.ui, book);
        EXPECT_EQ(reader.ui.items, (std::vector<std::string>{"Archive", "Mirror"})) << c.name;

        f.session.BookModified = true;
        f.ui.answers = {AnswerNo};
        f.places.folder = folder;
        EXPECT_FALSE(FormCloseQuery(f.session, f.ui));
        EXPECT_EQ(f.ui.messages.back().text, std::string(c.name) +
                                                 " has been changed since the last time it was saved.  "
                                                 "Are you sure you want to exit and loose all changes?");
        EXPECT_EQ(readBytes(folder + "/prtln.cfg").size(), SettingsRecordSize) << c.folder;

        newBook(f.session, f.ui);
        f.ui.fileNames[FileDialog::SaveSite] = {book};
        f.ui.answers = {AnswerCancel};
        saveSiteFile(f.session, f.ui);
        EXPECT_EQ(f.ui.messages.back().text,
                  book + " already exists.  Are you sure you want tooverwrite the file?");

        const std::string shortBook = folder + "/short " + c.name;
        writeBytes(shortBook, "short");
        f.ui.fileNames[FileDialog::OpenSite] = {shortBook};
        openSiteFile(f.session, f.ui);
        EXPECT_EQ(f.ui.messages.back().text,
                  "An error occured upon read of " + shortBook +
                      ".  Either file is corrupted or of another, incorrect type.");

        f.session.SiteFileName = folder + "/missing/" + c.name;
        saveSiteFile(f.session, f.ui);
        EXPECT_EQ(f.ui.messages.back().text, std::string("Could not write to file  ") + c.upperName);
    }
}

TEST_F(BookCommands, CloseQueryAsksAboutChangesAndWritesTheSettingsWhateverTheAnswer) {
    struct Case {
        std::string fileName;
        int answer;
        bool mayClose;
        std::string question;
    };
    const std::string tail = " has been changed since the last time it was saved.  Are you sure you want to "
                             "exit and loose all changes?";
    const Case cases[] = {
        {"", AnswerNo, false, tail},
        {"/books/club.ptn", AnswerYes, true, "club.ptn" + tail},
        {"/books/club.ptn", testing::closedDialogAnswer, false, "club.ptn" + tail},
    };
    for (const Case& c : cases) {
        CommandFixture f;
        f.session.BookModified = true;
        f.session.SiteFileName = c.fileName;
        f.session.settings.ClientCommand = "client %a";
        f.ui.bounds = {-5, 40, 300, 250};
        f.ui.answers = {c.answer};
        EXPECT_EQ(FormCloseQuery(f.session, f.ui), c.mayClose);
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].text, c.question);
        EXPECT_EQ(f.ui.messages[0].buttons, button::Yes | button::No);
        Settings stored;
        ASSERT_TRUE(readSettingsFile(f.folder.path(), stored));
        EXPECT_EQ(stored.Left, -5);
        EXPECT_EQ(stored.Top, 40);
        EXPECT_EQ(stored.Width, 300);
        EXPECT_EQ(stored.Height, 250);
        EXPECT_EQ(stored.ClientCommand, "client %a");
    }
}

// A question closed without an answer (its close box, the window manager) is the answer that changes
// nothing, whichever of the book's questions it is.
TEST_F(BookCommands, AQuestionClosedWithoutAnAnswerChangesNothing) {
    const std::string taken = folder.file("taken.ptn");
    writeBytes(taken, "keep me");
    const std::string other = siteFile("other.ptn", {"Other"});
    struct Case {
        const char* name;
        std::function<void(CommandFixture&)> run;
    };
    const Case cases[] = {
        {"New", [](CommandFixture& f) { newBook(f.session, f.ui); }},
        {"Open",
         [&](CommandFixture& f) {
             f.ui.fileNames[FileDialog::OpenSite] = {other};
             openSiteFile(f.session, f.ui);
         }},
        {"Save onto an existing file",
         [&](CommandFixture& f) {
             f.ui.fileNames[FileDialog::SaveSite] = {taken};
             saveSiteFile(f.session, f.ui);
         }},
        {"close", [](CommandFixture& f) { EXPECT_FALSE(FormCloseQuery(f.session, f.ui)); }},
    };
    for (const Case& c : cases) {
        CommandFixture f;
        f.addSite("Mirror");
        f.session.BookModified = true;
        f.ui.defaultAnswer = testing::closedDialogAnswer;
        c.run(f);
        EXPECT_EQ(f.ui.messages.size(), 1u) << c.name;
        EXPECT_EQ(f.ui.items, std::vector<std::string>{"Mirror"}) << c.name;
        EXPECT_TRUE(f.session.BookModified) << c.name;
        EXPECT_EQ(readBytes(taken), "keep me") << c.name;
    }
}

TEST_F(BookCommands, CloseQueryWithoutChangesAsksNothing) {
    EXPECT_TRUE(FormCloseQuery(session, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readBytes(settingsFilePath(folder.path())).size(), SettingsRecordSize);
}

TEST_F(BookCommands, TheSettingsFolderIsWorkedOutAtEveryReadAndWrite) {
    ui.bounds = {1, 2, 300, 250};
    FormCloseQuery(session, ui);
    EXPECT_EQ(readBytes(settingsFilePath(folder.path())).size(), SettingsRecordSize);

    // The program's folder becomes one the user may not write: the next write goes to the user's own
    // folder, and the next read comes from there.
    places.readOnly = {folder.path(), settingsFilePath(folder.path())};
    places.userFolder = folder.file("config");
    ui.bounds = {7, 8, 310, 260};
    FormCloseQuery(session, ui);
    loadSettings(session);
    EXPECT_EQ(session.settings.Left, 7);
    EXPECT_EQ(session.settings.Width, 310);
    EXPECT_EQ(readBytes(settingsFilePath(*places.userFolder)).size(), SettingsRecordSize);
}

TEST_F(BookCommands, LoadSettingsTakesTheStoredValues) {
    loadSettings(session);
    EXPECT_FALSE(session.settingsRead);
    Settings values;
    values.Left = 100;
    values.Width = 400;
    values.ClientCommand = "ftp %a";
    values.UseAnonymParam = true;
    writeSettingsFile(folder.path(), values);
    loadSettings(session);
    EXPECT_TRUE(session.settingsRead);
    EXPECT_EQ(session.settings.Left, 100);
    EXPECT_EQ(session.settings.Width, 400);
    EXPECT_EQ(session.settings.ClientCommand, "ftp %a");
    EXPECT_TRUE(session.settings.UseAnonymParam);
}

} // namespace
} // namespace portolan
