#include "support/MemoryStream.h"
#include "support/SettingsSamples.h"
#include "support/TempFolder.h"

#include "book/SettingsFile.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace portolan {
namespace {

using testing::exampleRecordBytes;
using testing::exampleSettings;
using testing::MemoryStream;
using testing::readBytes;
using testing::startValues;
using testing::TempFolder;
using testing::writeBytes;

std::string recordBytes(const SettingsRecord& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

TEST(SettingsFormat, TheRecordHoldsTheValuesAtTheirOffsets) {
    EXPECT_EQ(recordBytes(makeSettingsRecord(exampleSettings())), exampleRecordBytes());
    SettingsRecord record;
    std::memcpy(&record, exampleRecordBytes().data(), sizeof record);
    EXPECT_EQ(settingsFromRecord(record), exampleSettings());
}

TEST(SettingsFormat, ValuesRoundTripThroughTheRecord) {
    struct Case {
        std::int32_t left, top, width, height;
        std::string command;
        bool anonym;
    };
    const Case cases[] = {
        {0, 0, 0, 0, "", false},
        {INT32_MIN, INT32_MAX, -1, 1, "a", true},
        {100, 200, 270, 217, std::string(128, 'c'), false},
        {-3000, -20, 1920, 1080, "cutftp.exe \"%a\" \xe2\x82\xac\xc3\xbf", true},
    };
    for (const Case& c : cases) {
        const Settings values{c.left, c.top, c.width, c.height, c.command, c.anonym};
        EXPECT_EQ(settingsFromRecord(makeSettingsRecord(values)), values);
    }
}

TEST(SettingsFormat, OnlyTheFirst128CharactersOfTheCommandAreStored) {
    Settings values = exampleSettings();
    values.ClientCommand = std::string(100, 'a') + std::string(50, 'b');
    const std::string bytes = recordBytes(makeSettingsRecord(values));
    EXPECT_EQ(static_cast<unsigned char>(bytes[16]), 128);
    EXPECT_EQ(bytes.substr(17, 128), std::string(100, 'a') + std::string(28, 'b'));
    EXPECT_EQ(bytes[145], 1);
    EXPECT_EQ(settingsFromRecord(makeSettingsRecord(values)).ClientCommand, bytes.substr(17, 128));
}

// The command is a command line of the system and keeps its own bytes, UTF-8. One stored by an earlier
// version in Windows-1252 is not UTF-8, and reads with the same letters.
TEST(SettingsFormat, TheCommandKeepsItsLetters) {
    struct Case {
        const char* name;
        std::string stored;
        std::string command;
    };
    const Case cases[] = {
        {"Cyrillic letters", "/opt/\xd0\xba\xd0\xbb\xd0\xb8\xd0\xb5\xd0\xbd\xd1\x82/ftp %a",
         "/opt/\xd0\xba\xd0\xbb\xd0\xb8\xd0\xb5\xd0\xbd\xd1\x82/ftp %a"},
        {"Windows-1252 of an earlier version", "C:\\Fl\xfcgel\\ftp.exe %a \x80",
         "C:\\Fl\xc3\xbcgel\\ftp.exe %a \xe2\x82\xac"},
        {"plain ASCII", "ftp %a", "ftp %a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord record = makeSettingsRecord(exampleSettings());
        record.ClientCommand.assign(c.stored);
        const Settings values = settingsFromRecord(record);
        EXPECT_EQ(values.ClientCommand, c.command);
        // Written back as UTF-8, the length byte counting its bytes.
        const std::string bytes = recordBytes(makeSettingsRecord(values));
        EXPECT_EQ(bytes.substr(16, 1 + c.command.size()), static_cast<char>(c.command.size()) + c.command);
    }
}

TEST(SettingsFormat, TheCommandIsCutAt128BytesNeverInsideALetter) {
    Settings values = exampleSettings();
    values.ClientCommand = std::string(127, 'a') + "\xd0\xb9" + "b"; // bytes 128 and 129 are one letter
    const std::string bytes = recordBytes(makeSettingsRecord(values));
    EXPECT_EQ(static_cast<unsigned char>(bytes[16]), 127);
    EXPECT_EQ(bytes.substr(17, 128), std::string(127, 'a') + '\0');
    EXPECT_EQ(settingsFromRecord(makeSettingsRecord(values)).ClientCommand, std::string(127, 'a'));
}

TEST(SettingsFormat, BytesWithoutAValueAreZero) {
    Settings values = exampleSettings();
    values.ClientCommand.clear();
    values.UseAnonymParam = false;
    const std::string bytes = recordBytes(makeSettingsRecord(values));
    EXPECT_EQ(bytes[16], 0) << "an empty command has length 0";
    EXPECT_EQ(bytes.substr(16), std::string(132, '\0'));
}

TEST(SettingsFormat, AnyNonZeroByte145IsOnAndALongLengthByteReadsAs128) {
    const std::pair<unsigned char, bool> flags[] = {{0, false}, {1, true}, {2, true}, {255, true}};
    for (const auto& [byte, on] : flags) {
        SettingsRecord record = makeSettingsRecord(exampleSettings());
        record.UseAnonymParam = byte;
        EXPECT_EQ(settingsFromRecord(record).UseAnonymParam, on) << int(byte);
    }
    SettingsRecord record;
    std::memset(&record, 'x', sizeof record);
    record.ClientCommand.length = 255;
    EXPECT_EQ(settingsFromRecord(record).ClientCommand, std::string(128, 'x'));
}

TEST(SettingsFile, AWrittenFileIsThe148BytesOfTheRecord) {
    TempFolder folder;
    writeSettingsFile(folder.path(), exampleSettings());
    EXPECT_EQ(readBytes(folder.file("prtln.cfg")), exampleRecordBytes());
    EXPECT_EQ(folder.entryCount(), 1u);

    Settings values = startValues();
    EXPECT_TRUE(readSettingsFile(folder.path(), values));
    EXPECT_EQ(values, exampleSettings());
}

TEST(SettingsFile, AShorterCommandLeavesNoOldCharactersBehindIt) {
    TempFolder folder;
    Settings values = exampleSettings();
    values.ClientCommand = std::string(128, 'z');
    writeSettingsFile(folder.path(), values);
    values.ClientCommand = "ftp";
    writeSettingsFile(folder.path(), values);
    const std::string bytes = readBytes(folder.file("prtln.cfg"));
    ASSERT_EQ(bytes.size(), 148u);
    EXPECT_EQ(bytes.substr(16, 4), "\x03"
                                   "ftp");
    EXPECT_EQ(bytes.substr(20, 125), std::string(125, '\0'));
    EXPECT_EQ(bytes.substr(146), std::string(2, '\0'));
}

TEST(SettingsFile, AMissingOrShortFileLeavesTheValuesUntouched) {
    const std::size_t sizes[] = {0, 1, 100, 147};
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        TempFolder folder;
        writeBytes(folder.file("prtln.cfg"), exampleRecordBytes().substr(0, size));
        Settings values = startValues();
        EXPECT_FALSE(readSettingsFile(folder.path(), values));
        EXPECT_EQ(values, startValues());
    }
    TempFolder empty;
    Settings values = startValues();
    EXPECT_FALSE(readSettingsFile(empty.path(), values));
    EXPECT_EQ(values, startValues());
    EXPECT_EQ(empty.entryCount(), 0u);
}

TEST(SettingsFile, AFileOf100BytesIsReplacedByAFullRecordAtTheNextWrite) {
    TempFolder folder;
    writeBytes(folder.file("prtln.cfg"), std::string(100, '\x01'));
    Settings values = startValues();
    EXPECT_FALSE(readSettingsFile(folder.path(), values));
    writeSettingsFile(folder.path(), values);
    EXPECT_EQ(readBytes(folder.file("prtln.cfg")), recordBytes(makeSettingsRecord(startValues())));
}

TEST(SettingsFile, ALongerFileGivesItsFirst148BytesAndTheNextWriteShortensIt) {
    TempFolder folder;
    std::string bytes = exampleRecordBytes() + std::string(52, '\x7f');
    bytes[146] = 'r'; // reserved bytes are never looked at
    bytes[147] = 's';
    writeBytes(folder.file("prtln.cfg"), bytes);
    Settings values = startValues();
    EXPECT_TRUE(readSettingsFile(folder.path(), values));
    EXPECT_EQ(values, exampleSettings());
    writeSettingsFile(folder.path(), values);
    EXPECT_EQ(readBytes(folder.file("prtln.cfg")), exampleRecordBytes());
}

TEST(SettingsFile, A150CharacterCommandComesBackWith128) {
    TempFolder folder;
    Settings values = exampleSettings();
    values.ClientCommand = std::string(150, 'q');
    writeSettingsFile(folder.path(), values);
    const std::string bytes = readBytes(folder.file("prtln.cfg"));
    ASSERT_EQ(bytes.size(), 148u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[16]), 128);
    Settings restored = startValues();
    ASSERT_TRUE(readSettingsFile(folder.path(), restored));
    EXPECT_EQ(restored.ClientCommand, std::string(128, 'q'));
}

TEST(SettingsFile, Byte145Of2IsOn) {
    TempFolder folder;
    std::string bytes = exampleRecordBytes();
    bytes[145] = 2;
    writeBytes(folder.file("prtln.cfg"), bytes);
    Settings values;
    ASSERT_TRUE(readSettingsFile(folder.path(), values));
    EXPECT_TRUE(values.UseAnonymParam);
}

TEST(SettingsFile, AReadOnlyFileIsRead) {
    TempFolder folder;
    writeBytes(folder.file("prtln.cfg"), exampleRecordBytes());
    std::filesystem::permissions(testing::systemPathOf(folder.file("prtln.cfg")),
                                 std::filesystem::perms::owner_read);
    Settings values = startValues();
    EXPECT_TRUE(readSettingsFile(folder.path(), values));
    EXPECT_EQ(values, exampleSettings());
}

// The settings file lies wherever the program does, also in a folder named in any script.
TEST(SettingsFile, IsReadAndWrittenInAFolderOfAnyScript) {
    for (const char* name :
         {"\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B", // Программы
          "\xE3\x83\x97\xE3\x83\xAD\xE3\x82\xB0\xE3\x83\xA9\xE3\x83\xA0"}) {          // プログラム
        TempFolder folder;
        const std::string inner = folder.file(name);
        ASSERT_TRUE(testing::makeFolder(inner));
        writeSettingsFile(inner, exampleSettings());
        EXPECT_EQ(readBytes(inner + "/prtln.cfg"), exampleRecordBytes()) << name;
        Settings values = startValues();
        EXPECT_TRUE(readSettingsFile(inner, values)) << name;
        EXPECT_EQ(values, exampleSettings()) << name;
    }
}

TEST(SettingsStream, ReadingIsOneReadOfTheRecordThenTheClose) {
    MemoryStream stream(exampleRecordBytes() + "tail");
    Settings values = startValues();
    EXPECT_TRUE(readSettingsRecord(stream, values));
    EXPECT_EQ(values, exampleSettings());
    EXPECT_EQ(stream.requestSizes, std::vector<std::size_t>{148});
    EXPECT_EQ(stream.closes, 1);
}

TEST(SettingsStream, AFailedReadIsClosedQuietlyAndUsesNothing) {
    MemoryStream stream(exampleRecordBytes());
    stream.failAfter = 147;
    stream.failCode = ioCode::GeneralFailure;
    stream.failClose = true; // a close failing after a failed read goes unreported too
    Settings values = startValues();
    EXPECT_FALSE(readSettingsRecord(stream, values));
    EXPECT_EQ(values, startValues());
    EXPECT_EQ(stream.closes, 1);
    EXPECT_EQ(stream.fetchError(), 0);
}

TEST(SettingsStream, AFailingCloseAfterAGoodReadThrowsItsCodeWithTheValuesApplied) {
    MemoryStream stream(exampleRecordBytes());
    stream.failClose = true;
    Settings values = startValues();
    try {
        readSettingsRecord(stream, values);
        ADD_FAILURE() << "no InOutError";
    } catch (const InOutError& error) {
        EXPECT_EQ(error.code(), ioCode::GeneralFailure);
    }
    EXPECT_EQ(values, exampleSettings());
}

TEST(SettingsStream, WritingIsOneWriteOfTheRecordThenTheClose) {
    MemoryStream stream;
    EXPECT_TRUE(writeSettingsRecord(exampleSettings(), stream));
    EXPECT_EQ(stream.bytes(), exampleRecordBytes());
    EXPECT_EQ(stream.requestSizes, std::vector<std::size_t>{148});
    EXPECT_EQ(stream.closes, 1);

    MemoryStream failing;
    failing.failAfter = 10;
    EXPECT_FALSE(writeSettingsRecord(exampleSettings(), failing));
    EXPECT_EQ(failing.closes, 1);
    EXPECT_EQ(failing.fetchError(), 0) << "no recorded error is left behind";
}

} // namespace
} // namespace portolan
