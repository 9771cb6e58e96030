#include "support/TempFolder.h"
#include "support/TestPlaces.h"

#include "book/SettingsLocation.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace portolan {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::TestPlaces;
using testing::writeBytes;

// A copy of the program in root/bin and a home folder root/home, both the test's own.
struct ProgramCopy {
    TempFolder root;
    std::string bin = root.file("bin");
    std::string home = root.file("home");
    TestPlaces places{bin};

    ProgramCopy() {
        std::filesystem::create_directory(bin);
        std::filesystem::create_directory(home);
        places.environment["HOME"] = home;
    }
    // The program's folder is one the user may not write, as a system folder is.
    void makeFolderReadOnly() { places.readOnly.insert(bin); }
};

Settings someSettings() {
    Settings values;
    values.Left = 40;
    values.Top = 50;
    values.Width = 300;
    values.Height = 240;
    values.ClientCommand = "lftp %u@%a";
    values.UseAnonymParam = true;
    return values;
}

mode_t permissions(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST(SettingsFolder, OneRowPerRule) {
    enum class File { None, Writable, NotWritable };
    struct Case {
        const char* name;
        bool folderWritable;
        File file;
        const char* configHome; // nullptr: unset
        bool homeSet;
        const char* expected; // relative to the copy's root, "bin" being the program's folder
        bool perUser;
        bool installed = false; // the data folder share/portolan lies beside bin
    };
    const Case cases[] = {
        {"a writable program folder", true, File::None, "/elsewhere", true, "bin", false},
        {"a file the user may write in a read-only folder", false, File::Writable, "/elsewhere", true, "bin",
         false},
        {"XDG_CONFIG_HOME set", false, File::None, "/elsewhere", true, "/elsewhere/portolan", true},
        {"XDG_CONFIG_HOME unset", false, File::None, nullptr, true, "home/.config/portolan", true},
        {"XDG_CONFIG_HOME empty", false, File::None, "", true, "home/.config/portolan", true},
        {"XDG_CONFIG_HOME not absolute", false, File::None, "config", true, "home/.config/portolan", true},
        {"a file the user may not write", false, File::NotWritable, nullptr, true, "home/.config/portolan",
         true},
        {"neither variable set", false, File::None, nullptr, false, "bin", false},
        // Whoever runs an installed copy, root too, it makes no file beside itself.
        {"an installed copy in a folder the user may write", true, File::None, nullptr, true,
         "home/.config/portolan", true, true},
        {"an installed copy with a file the user may write", true, File::Writable, nullptr, true, "bin",
         false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramCopy copy;
        if (!c.folderWritable)
            copy.makeFolderReadOnly();
        if (c.file != File::None)
            writeBytes(settingsFilePath(copy.bin), std::string(148, '\0'));
        if (c.file == File::NotWritable)
            copy.places.readOnly.insert(settingsFilePath(copy.bin));
        if (c.configHome)
            copy.places.environment["XDG_CONFIG_HOME"] = c.configHome;
        if (!c.homeSet)
            copy.places.environment.erase("HOME");
        if (c.installed)
            std::filesystem::create_directories(copy.bin + "/" + PORTOLAN_DATA_FROM_BIN);

        const SettingsFolder folder = settingsFolder(copy.places);
        const std::string expected = c.expected[0] == '/' ? c.expected : copy.root.file(c.expected);
        EXPECT_EQ(folder.path, expected);
        EXPECT_EQ(folder.perUser, c.perUser);
    }
}

TEST(SettingsFolder, APerUserWriteMakesPrivateFoldersAndAPrivateFile) {
    ProgramCopy copy;
    copy.makeFolderReadOnly();
    writeSettings(copy.places, someSettings());

    const std::string config = copy.home + "/.config";
    const std::string file = config + "/portolan/prtln.cfg";
    EXPECT_EQ(permissions(config), 0700u);
    EXPECT_EQ(permissions(config + "/portolan"), 0700u);
    EXPECT_EQ(permissions(file), 0600u);
    EXPECT_FALSE(std::filesystem::exists(settingsFilePath(copy.bin)));

    // The same 148 bytes as a write beside the program.
    TempFolder beside;
    writeSettingsFile(beside.path(), someSettings());
    EXPECT_EQ(readBytes(file), readBytes(settingsFilePath(beside.path())));
    Settings values;
    EXPECT_TRUE(readSettings(copy.places, values));
    EXPECT_EQ(values, someSettings());
}

TEST(SettingsFolder, AnExistingConfigurationFolderKeepsItsPermissions) {
    ProgramCopy copy;
    copy.makeFolderReadOnly();
    const std::string config = copy.home + "/.config";
    std::filesystem::create_directory(config);
    ::chmod(config.c_str(), 0755);
    writeSettings(copy.places, someSettings());
    EXPECT_EQ(permissions(config), 0755u);
    EXPECT_EQ(permissions(config + "/portolan"), 0700u);
}

TEST(SettingsFolder, AFolderThatCannotBeMadeWritesNothingAndReportsNothing) {
    ProgramCopy copy;
    copy.makeFolderReadOnly();
    writeBytes(copy.home + "/.config", "a file where the folder belongs");
    EXPECT_NO_THROW(writeSettings(copy.places, someSettings()));
    EXPECT_EQ(readBytes(copy.home + "/.config"), "a file where the folder belongs");
    Settings values;
    EXPECT_FALSE(readSettings(copy.places, values));
}

TEST(SettingsFolder, ReadingMakesNoFolder) {
    ProgramCopy copy;
    copy.makeFolderReadOnly();
    Settings values;
    EXPECT_FALSE(readSettings(copy.places, values));
    EXPECT_FALSE(std::filesystem::exists(copy.home + "/.config"));
}

TEST(SystemPlaces, AnswersForTheRealUser) {
    TempFolder folder;
    const SystemPlaces places;
    EXPECT_TRUE(places.userMayWrite(folder.path()));
    EXPECT_FALSE(places.userMayWrite(folder.file("missing")));
    EXPECT_FALSE(places.userMayWrite(""));
    writeBytes(folder.file("plain"), "x");
    EXPECT_TRUE(places.isFolder(folder.path()));
    EXPECT_FALSE(places.isFolder(folder.file("plain")));
    EXPECT_FALSE(places.isFolder(folder.file("missing")));
    EXPECT_EQ(places.programFolder(), executableFolder());

    ::setenv("PORTOLAN_TEST_VALUE", "/some/where", 1);
    EXPECT_EQ(places.environmentValue("PORTOLAN_TEST_VALUE"), "/some/where");
    ::unsetenv("PORTOLAN_TEST_VALUE");
    EXPECT_EQ(places.environmentValue("PORTOLAN_TEST_VALUE"), "");
}

TEST(SystemPlaces, AReadOnlyFolderIsNotWritable) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write any folder";
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_FALSE(SystemPlaces().userMayWrite(folder.path()));
}

TEST(SystemPlaces, MakesEveryMissingFolderPrivate) {
    TempFolder folder;
    const std::string deep = folder.file("a/b/c");
    EXPECT_TRUE(SystemPlaces().makePrivateFolder(deep));
    for (const char* path : {"a", "a/b", "a/b/c"})
        EXPECT_EQ(permissions(folder.file(path)), 0700u) << path;
    EXPECT_TRUE(SystemPlaces().makePrivateFolder(deep)) << "a folder that exists is fine";
    writeBytes(folder.file("plain"), "x");
    EXPECT_FALSE(SystemPlaces().makePrivateFolder(folder.file("plain")));
    EXPECT_FALSE(SystemPlaces().makePrivateFolder(folder.file("plain/sub")));
}

} // namespace
} // namespace portolan
