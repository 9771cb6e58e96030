#include "SystemFacts.h"
#include "support/ExportFixture.h"
#include "support/MemoryStream.h"

#include "commands/ExportText.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace portolan {
namespace {

using namespace std::string_literals;
using testing::CommandFixture;
using testing::ExportText;
using testing::footerNotOpened;
using testing::headerNotOpened;
using testing::headerReadError;
using testing::MemoryStream;
using testing::question;
using testing::readBytes;
using testing::saveDialog;
using testing::writeBytes;

TEST_F(ExportText, TheFirstExportOfTheRunPadsEachColumnToItsLongestText) {
    storeSite(0, "Mirror", "example-host");
    storeSite(3, "Archive of texts", "files");
    EXPECT_EQ(exportTo(columns({"Description", "Address"})),
              "Mirror" + std::string(11, ' ') + "example-host" + " " + "\r\n" + "Archive of texts" + " " +
                  "files" + std::string(8, ' ') + "\r\n");
    EXPECT_EQ(session.ExportColumnWidths, (std::array<std::int32_t, 6>{16, 12, 0, 0, 0, 0}));
    EXPECT_EQ(ui.log, (std::vector<std::string>{saveDialog}));
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary file is left";
}

TEST_F(ExportText, TheInitialChoicesWriteTheSixFieldsInOrder) {
    SiteFields mirror;
    mirror.Description = "Mirror";
    mirror.Address = "example-host";
    mirror.Port = "21";
    mirror.UserName = "guest";
    mirror.Password = "secret";
    mirror.LoginDirectory = "/pub";
    mirror.Script = "login.scr";
    mirror.Anonymous = true;
    session.book.storeSite(0, mirror, 35250);
    SiteFields archive;
    archive.Description = "Archive of texts";
    archive.Address = "files";
    archive.Port = "2121";
    archive.UserName = "anonymous";
    archive.Password = "x";
    archive.LoginDirectory = "/pub/texts";
    session.book.storeSite(1, archive, 35250);
    session.book.SiteCount = 2;

    const auto request =
        columns({"Description", "Address", "Port", "User Name", "Password", "Login Directory"});
    EXPECT_EQ(exportTo(request), "Mirror           example-host 21   guest     secret /pub       \r\n"
                                 "Archive of texts files        2121 anonymous x      /pub/texts \r\n");
    EXPECT_EQ(session.ExportColumnWidths, (std::array<std::int32_t, 6>{16, 12, 4, 9, 6, 10}));
}

TEST_F(ExportText, ColumnChoicesShapeEachLine) {
    struct Case {
        const char* name;
        ExportRequest request;
        std::string lines;
    };
    const Case cases[] = {
        {"all None: an empty line per site", columns({}), "\r\n\r\n"},
        {"a column chosen twice is written twice", columns({"Description", "Description"}),
         "zeta  zeta  \r\nalpha alpha \r\n"},
        {"None between columns writes nothing", columns({"None", "Address", "None", "Description"}),
         "z.example zeta  \r\nhost      alpha \r\n"},
        {"one column", columns({"Address"}), "z.example \r\nhost      \r\n"},
    };
    for (const Case& c : cases) {
        CommandFixture fresh;
        SiteFields zeta;
        zeta.Description = "zeta";
        zeta.Address = "z.example";
        fresh.session.book.storeSite(0, zeta, 35250);
        SiteFields alpha;
        alpha.Description = "alpha";
        alpha.Address = "host";
        fresh.session.book.storeSite(1, alpha, 35250);
        const std::string path = fresh.folder.file("sites.txt");
        fresh.ui.fileNames[FileDialog::ExportTarget].push_back(path);
        exportSites(fresh.session, fresh.ui, c.request);
        EXPECT_EQ(readBytes(path), c.lines) << c.name << ": slot order, not alphabetical";
    }
}

TEST_F(ExportText, WithoutActiveSitesTheTargetHoldsHeaderAndFooterLines) {
    writeBytes(folder.file("head.txt"), "Sites\r\n=====\r\n");
    writeBytes(folder.file("foot.txt"), "-- end");
    storeSite(0, "Freed");
    session.book.removeSite(0);
    ExportRequest request = columns({"Description"});
    request.headerText = folder.file("head.txt");
    request.footerText = folder.file("foot.txt");
    EXPECT_EQ(exportTo(request), "Sites\r\n=====\r\n-- end\r\n");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportText, HeaderAndFooterFrameTheSiteLines) {
    writeBytes(folder.file("head.txt"), "Sites\r\n");
    writeBytes(folder.file("foot.txt"), "End\r\n");
    storeSite(2, "Mirror");
    ExportRequest request = columns({"Description"});
    request.headerText = folder.file("head.txt");
    request.footerText = folder.file("foot.txt");
    EXPECT_EQ(exportTo(request), "Sites\r\nMirror \r\nEnd\r\n");
}

TEST_F(ExportText, HeaderAndFooterFilesFollowTheTextLineRules) {
    struct Case {
        const char* name;
        std::string text;
        std::string lines;
    };
    const Case cases[] = {
        {"lines ended by CR LF", "one\r\ntwo\r\n", "one\r\ntwo\r\n"},
        {"no final line end", "one\r\ntwo", "one\r\ntwo\r\n"},
        {"line feeds only: one line", "one\ntwo\n", "one\ntwo\n\r\n"},
        {"carriage returns only", "one\rtwo\r", "one\r\ntwo\r\n"},
        {"CR CR LF", "one\r\r\ntwo", "one\r\n\r\ntwo\r\n"},
        {"LF before CR", "one\n\rtwo", "one\n\r\ntwo\r\n"},
        {"LF after a line end", "one\r\n\ntwo", "one\r\n\ntwo\r\n"},
        {"Ctrl-Z in the middle", "kept\r\nha\x1alf\r\ngone\r\n", "kept\r\nha\r\n"},
        {"Ctrl-Z after a line end", "kept\r\n\x1a", "kept\r\n"},
        {"Ctrl-Z first", "\x1agone\r\n", ""},
        {"empty file", "", ""},
        {"a single line end", "\r\n", "\r\n"},
        {"empty lines", "\r\n\r\n", "\r\n\r\n"},
        {"other bytes unchanged", "\t\xe4\x00\xff x\r\n"s, "\t\xe4\x00\xff x\r\n"s},
        {"a line of 100000 characters", std::string(100000, 'w'), std::string(100000, 'w') + "\r\n"},
    };
    for (const Case& c : cases) {
        writeBytes(folder.file("text.txt"), c.text);
        for (const bool asHeader : {true, false}) {
            std::filesystem::remove(testing::systemPathOf(target));
            ExportRequest request = columns({"Description"});
            (asHeader ? request.headerText : request.footerText) = folder.file("text.txt");
            EXPECT_EQ(exportTo(request), c.lines) << c.name << (asHeader ? " as header" : " as footer");
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportText, TextsOfAnySizeAreReadInLargeBlocks) {
    for (const std::size_t size : {1u, 4095u, 4096u, 4097u, 65535u, 65536u, 65537u, 131072u, 200000u}) {
        MemoryStream source(std::string(size, 'x'));
        MemoryStream copy;
        EXPECT_EQ(copyTextLines(source, copy), 0) << size;
        EXPECT_EQ(copy.bytes(), std::string(size, 'x') + "\r\n") << size;
        EXPECT_EQ(source.fetchError(), 0) << "the end of the text is no failure";
        EXPECT_LE(source.reads, static_cast<int>(size / 4096 + 2)) << size;
        for (const std::size_t request : source.requestSizes)
            EXPECT_GE(request, 4096u) << size;
    }
}

TEST_F(ExportText, ALineEndAcrossABlockBoundaryIsOneLineEnd) {
    for (const std::size_t before : {4095u, 32767u, 65535u, 131071u}) {
        MemoryStream source(std::string(before, 'x') + "\r\ny");
        MemoryStream copy;
        EXPECT_EQ(copyTextLines(source, copy), 0);
        EXPECT_EQ(copy.bytes(), std::string(before, 'x') + "\r\ny\r\n") << before;
    }
}

TEST_F(ExportText, ReadingStopsAtTheBlockHoldingACtrlZ) {
    MemoryStream source("ab\x1a" + std::string(300000, 'z'));
    MemoryStream copy;
    EXPECT_EQ(copyTextLines(source, copy), 0);
    EXPECT_EQ(copy.bytes(), "ab\r\n");
    EXPECT_EQ(source.reads, 1);

    MemoryStream failingBehind("ab\x1a" + std::string(1000, 'z'));
    failingBehind.failAfter = 100;
    failingBehind.failCode = ioCode::AccessDenied;
    copy.clear();
    EXPECT_EQ(copyTextLines(failingBehind, copy), 0) << "a failure behind the Ctrl-Z is outside the text";
    EXPECT_EQ(copy.bytes(), "ab\r\n");
    EXPECT_EQ(failingBehind.fetchError(), 0);
}

TEST_F(ExportText, AFailedReadWritesNothingAndGivesItsCode) {
    MemoryStream source("line one\r\nline two\r\n");
    source.failAfter = 12;
    source.failCode = ioCode::AccessDenied;
    MemoryStream copy;
    EXPECT_EQ(copyTextLines(source, copy), ioCode::AccessDenied);
    EXPECT_EQ(copy.writes, 0);
}

TEST_F(ExportText, ACancelledSaveDialogAsksAndOpensNothing) {
    storeSite(0, "Mirror");
    ExportRequest request = columns({"Description"});
    request.headerText = folder.file("missing-head.txt");
    request.footerText = folder.file("missing-foot.txt");
    exportSites(session, ui, request); // no name queued: the dialog is cancelled
    EXPECT_EQ(ui.log, (std::vector<std::string>{saveDialog}));
    EXPECT_EQ(folder.entryCount(), 0u);
    EXPECT_EQ(session.ExportColumnWidths, (std::array<std::int32_t, 6>{}));
}

TEST_F(ExportText, HeaderThenFooterAreOpenedBeforeTheTargetIsTested) {
    writeBytes(folder.file("head.txt"), "Head\r\n");
    writeBytes(folder.file("foot.txt"), "Foot\r\n");
    struct Case {
        const char* name;
        const char* header;
        const char* footer;
        bool targetExists;
        const char* message;
    };
    const Case cases[] = {
        {"missing header", "missing.txt", "", false, headerNotOpened},
        {"missing header before missing footer", "missing.txt", "missing.txt", false, headerNotOpened},
        {"missing header, existing target", "missing.txt", "foot.txt", true, headerNotOpened},
        {"missing footer", "", "missing.txt", false, footerNotOpened},
        {"header there, missing footer", "head.txt", "missing.txt", false, footerNotOpened},
        {"missing footer, existing target", "head.txt", "missing.txt", true, footerNotOpened},
    };
    storeSite(0, "Mirror");
    for (const Case& c : cases) {
        ui.log.clear();
        ui.messages.clear();
        std::filesystem::remove(testing::systemPathOf(target));
        if (c.targetExists)
            writeBytes(target, "old export");
        ExportRequest request = columns({"Description"});
        request.headerText = *c.header ? folder.file(c.header) : "";
        request.footerText = *c.footer ? folder.file(c.footer) : "";
        runExport(request);
        EXPECT_EQ(ui.log, (std::vector<std::string>{saveDialog, "message "s + c.message})) << c.name;
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(ui.messages[0].buttons, button::Yes) << "a single Yes button";
        EXPECT_EQ(targetExists(), c.targetExists) << c.name;
        EXPECT_EQ(readBytes(target), c.targetExists ? "old export" : "") << c.name;
        EXPECT_EQ(session.ExportColumnWidths, (std::array<std::int32_t, 6>{})) << c.name;
    }
}

TEST_F(ExportText, BlanksAloneInANameBoxMeanNoFile) {
    storeSite(0, "Mirror");
    for (const char* blank : {"", "   ", "\t \r\n\x01 "}) {
        std::filesystem::remove(testing::systemPathOf(target));
        ExportRequest request = columns({"Description"});
        request.headerText = blank;
        request.footerText = blank;
        EXPECT_EQ(exportTo(request), "Mirror \r\n");
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportText, NamesAreOpenedAsTypedWithTheirBlanks) {
    writeBytes(folder.file("head.txt"), "without blank\r\n");
    writeBytes(folder.file("head.txt "), "with blank\r\n");
    ExportRequest request = columns({"Description"});
    request.headerText = folder.file("head.txt") + " ";
    request.footerText = folder.file("head.txt") + " ";
    EXPECT_EQ(exportTo(request), "with blank\r\nwith blank\r\n");

    ExportRequest leading = columns({"Description"});
    leading.headerText = " " + folder.file("head.txt");
    runExport(leading);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, headerNotOpened);

    ExportRequest leadingFooter = columns({"Description"});
    leadingFooter.footerText = " " + folder.file("head.txt");
    runExport(leadingFooter);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, footerNotOpened);
}

TEST_F(ExportText, AnExistingTargetIsReplacedOnlyAfterABeepAndYes) {
    storeSite(0, "Mirror");
    struct Case {
        int answer;
        bool replaced;
    };
    const Case cases[] = {
        {AnswerYes, true},    {testing::closedDialogAnswer, false}, {AnswerNo, false}, {AnswerOK, false},
        {AnswerAbort, false},
    };
    for (const Case& c : cases) {
        writeBytes(target, "old export");
        session.ExportColumnWidths = {};
        ui.log.clear();
        ui.messages.clear();
        ui.answers.push_back(c.answer);
        EXPECT_EQ(exportTo(columns({"Description"})), c.replaced ? "Mirror \r\n" : "old export") << c.answer;
        EXPECT_EQ(ui.log, (std::vector<std::string>{saveDialog, "beep", "message " + question})) << c.answer;
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Confirmation);
        EXPECT_EQ(ui.messages[0].buttons, button::Yes | button::Cancel);
        EXPECT_EQ(session.ExportColumnWidths[0], c.replaced ? 6 : 0) << c.answer;
        EXPECT_EQ(folder.entryCount(), 1u);
    }
}

TEST_F(ExportText, TheQuestionNamesTheTargetWithoutFolderInCapitals) {
    target = folder.file("my-Sites_2.txt");
    writeBytes(target, "old");
    ui.answers.push_back(AnswerCancel);
    runExport(columns({"Description"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The file  MY-SITES_2.TXT  exists.\r\n\r\nOverwrite the file?");
}

TEST_F(ExportText, WidthsCountFreedSlots) {
    storeSite(0, "Mirror");
    storeSite(1, std::string(40, 'f'));
    session.book.removeSite(1); // freeing keeps the description's bytes
    EXPECT_EQ(exportTo(columns({"Description"})), "Mirror" + std::string(35, ' ') + "\r\n");
    EXPECT_EQ(session.ExportColumnWidths[0], 40);
}

TEST_F(ExportText, ALengthByteAboveTheCapacityCountsAsTheCapacity) {
    storeSite(0, "Mirror", "host");
    session.book.SiteTable[2].Address.length = 200; // a slot never used, from a file written elsewhere
    storeSite(3, std::string(128, 'd'));
    session.book.SiteTable[3].Description.length = 255;
    EXPECT_EQ(exportTo(columns({"Description", "Address"})),
              "Mirror" + std::string(123, ' ') + "host" + std::string(27, ' ') + "\r\n" +
                  std::string(128, 'd') + " " + std::string(31, ' ') + "\r\n");
    EXPECT_EQ(session.ExportColumnWidths, (std::array<std::int32_t, 6>{128, 30, 0, 0, 0, 0}));
}

TEST_F(ExportText, WidthsNeverShrinkDuringTheRun) {
    storeSite(0, std::string(100, 'L'));
    exportTo(columns({"Description"}));
    EXPECT_EQ(session.ExportColumnWidths[0], 100);

    session.book = SiteBook{}; // another book, as Open reads it, whose descriptions are all short
    storeSite(0, "short");
    ui.answers.push_back(AnswerYes);
    EXPECT_EQ(exportTo(columns({"Description"})), "short" + std::string(96, ' ') + "\r\n");
    EXPECT_EQ(session.ExportColumnWidths[0], 100);
}

TEST_F(ExportText, TwoExportsInARowWriteIdenticalFiles) {
    writeBytes(folder.file("head.txt"), "Head");
    storeSite(0, "Mirror", "example-host");
    storeSite(1, "Archive of texts", "files");
    ExportRequest request = columns({"Address", "Description"});
    request.headerText = folder.file("head.txt");
    const std::string first = exportTo(request);
    ui.answers.push_back(AnswerYes);
    EXPECT_EQ(exportTo(request), first);
    EXPECT_EQ(first, "Head\r\nexample-host Mirror           \r\nfiles        Archive of texts \r\n");
}

TEST_F(ExportText, ATargetThatIsTheHeaderOrFooterIsReadWithItsOldContent) {
    exportOverATargetThatIsAlsoTheHeaderOrFooter();
}

TEST_F(ExportText, AFolderAsHeaderOrFooterIsAFileThatCannotBeOpened) {
    testing::makeFolder(folder.file("texts"));
    storeSite(0, "Mirror");
    for (const bool asHeader : {true, false}) {
        ui.messages.clear();
        ExportRequest request = columns({"Description"});
        (asHeader ? request.headerText : request.footerText) = folder.file("texts");
        EXPECT_EQ(failureOf(request), 0);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, asHeader ? headerNotOpened : footerNotOpened);
        EXPECT_FALSE(targetExists());
    }
}

TEST_F(ExportText, NamesOfAnyScriptAreOpenedAsTheyAreAndAskedAboutInCapitals) {
    const std::string inner =
        folder.file("\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B"); // Документы
    ASSERT_TRUE(testing::makeFolder(inner));
    writeBytes(inner + "/\xE9\xA0\xAD.txt", "Head");                  // 頭.txt
    writeBytes(inner + "/\xE8\xB6\xB3.txt", "Foot");                  // 足.txt
    target = inner + "/\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.txt"; // сайты.txt
    writeBytes(target, "old export");
    storeSite(0, "Mirror");
    ExportRequest request = columns({"Description"});
    request.headerText = inner + "/\xE9\xA0\xAD.txt";
    request.footerText = inner + "/\xE8\xB6\xB3.txt";
    ui.answers.push_back(AnswerYes);
    EXPECT_EQ(exportTo(request), "Head\r\nMirror \r\nFoot\r\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "The file  \xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.TXT  exists.\r\n\r\nOverwrite the file?");
}

TEST_F(ExportText, ATargetThatCannotBeCreatedFailsWithItsCode) {
    storeSite(0, "Mirror");
    target = folder.file("no-such-folder/sites.txt");
    EXPECT_EQ(failureOf(columns({"Description"})), testing::missingFolderCode);
    EXPECT_EQ(ui.log, (std::vector<std::string>{saveDialog}));
    EXPECT_EQ(folder.entryCount(), 0u);

    target = folder.file("folder.txt");
    testing::makeFolder(target);
    ui.answers.push_back(AnswerYes);
    EXPECT_EQ(failureOf(columns({"Description"})), ioCode::AccessDenied);
    EXPECT_TRUE(std::filesystem::is_directory(testing::systemPathOf(target)));
    EXPECT_EQ(folder.entryCount(), 1u);
}

} // namespace
} // namespace portolan
