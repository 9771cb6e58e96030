#include "WindowsSituations.h"
#include "support/SettingsSamples.h"
#include "support/TempFolder.h"
#include "support/TestPlaces.h"

#include "book/SettingsLocation.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace portolan {
namespace {

using testing::exampleSettings;
using testing::readBytes;
using testing::setReadOnly;
using testing::TempFolder;
using testing::TestPlaces;
using testing::writeBytes;

// A copy of the program in root\bin, whose user's own settings folder is root\appdata\Portolan.
struct ProgramCopy {
    TempFolder root;
    std::string bin = root.file("bin");
    std::string userFolder = root.file("appdata") + "\\Portolan";
    TestPlaces places{bin};

    ProgramCopy() {
        testing::makeFolder(bin);
        places.userFolder = userFolder;
    }
    // The program's folder is one the user may not write, as Program Files is.
    void makeFolderReadOnly() { places.readOnly.insert(bin); }
};

TEST(SettingsFolder, BesideTheProgramOrInTheUsersOwnFolder) {
    enum class File { None, Writable, ReadOnly };
    struct Case {
        const char* name;
        bool folderWritable;
        File file;
        bool perUser;
        bool installed = false; // the data folder share\portolan lies beside bin
    };
    const Case cases[] = {
        {"a writable program folder (a portable copy)", true, File::None, false},
        {"a settings file the user may write in a read-only folder", false, File::Writable, false},
        {"a read-only settings file in a read-only folder", false, File::ReadOnly, true},
        {"a read-only folder without a settings file", false, File::None, true},
        // An administrator's installed copy makes no file beside itself either.
        {"an installed copy in a folder the user may write", true, File::None, true, true},
        {"an installed copy with a settings file the user may write", true, File::Writable, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramCopy copy;
        if (!c.folderWritable)
            copy.makeFolderReadOnly();
        if (c.file != File::None)
            writeBytes(settingsFilePath(copy.bin), std::string(148, '\0'));
        if (c.file == File::ReadOnly) {
            ASSERT_TRUE(setReadOnly(settingsFilePath(copy.bin), true));
        }
        if (c.installed) {
            ASSERT_TRUE(std::filesystem::create_directories(
                testing::systemPathOf(copy.bin + "\\" + PORTOLAN_DATA_FROM_BIN)));
        }
        const SettingsFolder folder = settingsFolder(copy.places);
        EXPECT_EQ(folder.path, c.perUser ? copy.userFolder : copy.bin);
        EXPECT_EQ(folder.perUser, c.perUser);
    }
}

TEST(SettingsFolder, APerUserWriteMakesTheFoldersAndWritesTheRecord) {
    ProgramCopy copy;
    copy.makeFolderReadOnly();
    writeSettings(copy.places, exampleSettings());
    EXPECT_EQ(readBytes(copy.userFolder + "\\prtln.cfg"), testing::exampleRecordBytes());
    EXPECT_FALSE(std::filesystem::exists(testing::systemPathOf(settingsFilePath(copy.bin))));
    Settings values;
    EXPECT_TRUE(readSettings(copy.places, values));
    EXPECT_EQ(values, exampleSettings());
}

// The running program's own answer, in this test's Wine prefix or Windows account: settings that may
// not lie beside the program go to %APPDATA%\Portolan. A file there before the test is put back after.
TEST(SettingsFolder, TheUsersOwnFolderIsPortolanInTheRoamingApplicationData) {
    const SystemPlaces system;
    const std::string appData = system.environmentValue("APPDATA");
    ASSERT_FALSE(appData.empty());
    const std::string folder = system.userSettingsFolder();
    EXPECT_EQ(folder, appData + "\\Portolan");

    TempFolder bin;
    TestPlaces places(bin.path());
    places.readOnly.insert(bin.path());
    const std::string file = folder + "\\prtln.cfg";
    const bool existed = std::filesystem::exists(testing::systemPathOf(file));
    const std::string earlier = existed ? readBytes(file) : std::string();
    writeSettings(places, exampleSettings());
    EXPECT_EQ(readBytes(file), testing::exampleRecordBytes());
    Settings values;
    EXPECT_TRUE(readSettings(places, values));
    EXPECT_EQ(values, exampleSettings());
    if (existed)
        writeBytes(file, earlier);
    else
        std::filesystem::remove(testing::systemPathOf(file));
}

TEST(SystemPlaces, AnswersForTheRealUser) {
    TempFolder folder;
    const SystemPlaces places;
    writeBytes(folder.file("open.cfg"), "x");
    writeBytes(folder.file("locked.cfg"), "x");
    ASSERT_TRUE(setReadOnly(folder.file("locked.cfg"), true));
    EXPECT_TRUE(places.userMayWrite(folder.path()));
    EXPECT_TRUE(places.userMayWrite(folder.file("open.cfg")));
    EXPECT_FALSE(places.userMayWrite(folder.file("locked.cfg")));
    EXPECT_FALSE(places.userMayWrite(folder.file("missing")));
    EXPECT_FALSE(places.userMayWrite(""));
    EXPECT_EQ(folder.entryCount(), 2u) << "asking leaves nothing behind";
    const std::string cyrillic = folder.file("\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0"); // Папка
    ASSERT_TRUE(testing::makeFolder(cyrillic));
    EXPECT_TRUE(places.isFolder(folder.path()));
    EXPECT_TRUE(places.isFolder(cyrillic));
    EXPECT_FALSE(places.isFolder(folder.file("open.cfg")));
    EXPECT_FALSE(places.isFolder(folder.file("missing")));
    EXPECT_FALSE(places.isFolder(""));
    EXPECT_EQ(places.programFolder(), executableFolder());

    const std::string value = "C:\\\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0"; // C:\Папка
    ASSERT_TRUE(::SetEnvironmentVariableW(L"PORTOLAN_TEST_VALUE", testing::widePathOf(value).c_str()));
    EXPECT_EQ(places.environmentValue("PORTOLAN_TEST_VALUE"), value);
    ::SetEnvironmentVariableW(L"PORTOLAN_TEST_VALUE", nullptr);
    EXPECT_EQ(places.environmentValue("PORTOLAN_TEST_VALUE"), "");
}

TEST(SystemPlaces, MakesEveryMissingFolder) {
    TempFolder folder;
    for (const char* deep :
         {"a\\b\\c", "d/e", "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0\\\xE6\x96\x87\xE6\x9B\xB8"}) {
        EXPECT_TRUE(SystemPlaces().makePrivateFolder(folder.file(deep))) << deep;
        EXPECT_TRUE(std::filesystem::is_directory(testing::systemPathOf(folder.file(deep)))) << deep;
        EXPECT_TRUE(SystemPlaces().makePrivateFolder(folder.file(deep)))
            << deep << ": a folder that exists is fine";
    }
    writeBytes(folder.file("plain"), "x");
    EXPECT_FALSE(SystemPlaces().makePrivateFolder(folder.file("plain")));
    EXPECT_FALSE(SystemPlaces().makePrivateFolder(folder.file("plain\\sub")));
}

} // namespace
} // namespace portolan
