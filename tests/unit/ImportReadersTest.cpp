#include "book/import/BookSites.h"
#include "book/import/CsvSites.h"
#include "book/import/FileZillaSites.h"
#include "book/import/ImportKind.h"
#include "book/import/WinScpSites.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace portolan;

namespace {

// The fields of a read site in one line, so that a table row states a whole site.
std::string fieldsOf(const ImportedSite& imported) {
    const SiteFields& site = imported.fields;
    return site.Description + "|" + site.Address + "|" + site.Port + "|" + site.UserName + "|" +
           site.Password + "|" + site.LoginDirectory + "|" + site.Script + "|" +
           (site.Anonymous ? "anonymous" : "named") + (imported.withoutHost ? "|no host" : "") +
           (imported.otherProtocol.empty() ? "" : "|" + imported.otherProtocol) +
           (imported.passwordUnreadable ? "|password unreadable" : "");
}

std::vector<std::string> fieldsOf(const ImportReading& reading) {
    std::vector<std::string> lines;
    for (const ImportedSite& site : reading.sites)
        lines.push_back(fieldsOf(site));
    return lines;
}

// "s3cr%t" for the user "me" on ftp.example.com, made by WinSCP's documented algorithm: flag, length of
// user + host + password, three bytes skipped, the block, and padding.
const std::string storedPassword = "A35C4B5F4D7E6F31393A282C7239243D312C3039723F33312F6F3F2E7928060606060606"
                                   "0606060606060606060606060606060606";

const std::string fileZillaSites = R"(<?xml version="1.0" encoding="UTF-8"?>
<FileZilla3 version="3.63.1" platform="*nix">
  <Servers>
    <Server>
      <Host>ftp.example.org</Host>
      <Port>21</Port>
      <Protocol>0</Protocol>
      <Type>0</Type>
      <User>anonymous</User>
      <Logontype>0</Logontype>
      <Name>Mirror</Name>
      <RemoteDir>1 0 3 pub 10 my  folder</RemoteDir>
    </Server>
    <Folder expanded="1">Work
      <Server>
        <Host>files.example.com</Host>
        <Port>2121</Port>
        <Protocol>4</Protocol>
        <User>me</User>
        <Pass encoding="base64">c8OpY3JldA==</Pass>
        <Logontype>1</Logontype>
        <Name>Shared</Name>
      </Server>
      <Folder>Old days
        <Server>
          <Host>old.example.com</Host>
          <Port>21</Port>
          <User>you</User>
          <Pass>plain &amp; simple</Pass>
          <Logontype>1</Logontype>
          <Name>Shared</Name>
          <RemoteDir>3 0 2 C: 4 Data</RemoteDir>
        </Server>
      </Folder>
    </Folder>
    <Server>Named the old way<Host>legacy.example.net</Host><Port>21</Port><Logontype>1</Logontype><User>u</User></Server>
    <Server><Host>   </Host><Port>21</Port><Name>Nowhere</Name></Server>
    <Server><Host>sftp.example.com</Host><Port>22</Port><Protocol>1</Protocol><Logontype>1</Logontype><Name>Shell</Name></Server>
    <Server><Host>locked.example.com</Host><Port>21</Port><Logontype>1</Logontype><User>me</User><Pass encoding="crypt" pubkey="ABC">XYZ</Pass><Name>Locked</Name></Server>
  </Servers>
</FileZilla3>
)";

} // namespace

TEST(FileZillaSites, ReadsEverySiteInFoldersWithBothPasswordFormsAndWhatItCannotCarry) {
    const ImportReading reading = readFileZillaSites(fileZillaSites);
    EXPECT_EQ(reading.refusal, "");
    const std::vector<std::string> expected = {
        "Mirror|ftp.example.org|21|anonymous||/pub/my  folder||anonymous",
        "Work/Shared|files.example.com|2121|me|s\xC3\xA9"
        "cret|||named",
        "Work/Old days/Shared|old.example.com|21|you|plain & simple|C:\\Data||named",
        "Named the old way|legacy.example.net|21|u||||named",
        "Nowhere||21|||||named|no host",
        "Shell|sftp.example.com|22|||||named|SFTP",
        "Locked|locked.example.com|21|me||||named|password unreadable",
    };
    EXPECT_EQ(fieldsOf(reading), expected);
}

TEST(FileZillaSites, ANameSharedOnlyWithinOneFolderOrWithASiteWithoutHostStaysBare) {
    const ImportReading reading = readFileZillaSites(R"(<FileZilla3><Servers>
        <Folder>A<Server><Host>a.example.com</Host><Name>Same</Name></Server>
                 <Server><Host>b.example.com</Host><Name>Same</Name></Server></Folder>
        <Server><Host></Host><Name>Same</Name></Server>
        <Server><Host>top.example.com</Host><Name>Top</Name></Server>
        <Folder>B<Server><Host>c.example.com</Host><Name>Top</Name></Server></Folder>
        </Servers></FileZilla3>)");
    ASSERT_EQ(reading.sites.size(), 5u);
    EXPECT_EQ(reading.sites[0].fields.Description, "Same");
    EXPECT_EQ(reading.sites[1].fields.Description, "Same");
    EXPECT_EQ(reading.sites[2].fields.Description, "Same");
    EXPECT_EQ(reading.sites[3].fields.Description, "Top")
        << "a site at the top has no folder to put in front";
    EXPECT_EQ(reading.sites[4].fields.Description, "B/Top");
}

TEST(FileZillaSites, RefusesWhatIsNotFileZillasXml) {
    struct Case {
        const char* bytes;
        const char* refusal;
    };
    const Case cases[] = {
        {"<FileZilla3><Servers><Server>", "it is not well-formed XML (Start-end tags mismatch at byte 28)"},
        {"<?xml version=\"1.0\"?><Sites/>", "it is an XML file, but not one of FileZilla's"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readFileZillaSites(c.bytes).refusal, c.refusal) << c.bytes;

    std::string deep = "<FileZilla3><Servers>";
    for (int level = 0; level < 101; ++level)
        deep += "<Folder>f";
    for (int level = 0; level < 101; ++level)
        deep += "</Folder>";
    deep += "</Servers></FileZilla3>";
    EXPECT_EQ(readFileZillaSites(deep).refusal, "its folders nest deeper than 100 levels");
    EXPECT_TRUE(readFileZillaSites("<FileZilla3/>").sites.empty()) << "a file without sites is no error";
}

TEST(FileZillaSites, RemoteDirectoriesAreReadByTheLengthsOfTheirSegments) {
    struct Case {
        const char* safePath;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"1 0 4 home 6 debian", "/home/debian"},
        {"1 0", "/"},
        {"0 0 10 with blank 1 x", "/with blank/x"},
        {"1 0 5 caf\xC3\xA9s", "/caf\xC3\xA9s"}, // five characters, six bytes
        {"3 0 2 C: 4 Data", "C:\\Data"},
        {"3 0 2 D:", "D:\\"},
        {"2 10 DISK$USER: 3 DIR 3 SUB", "DISK$USER:[DIR.SUB]"},
        {"1 0 4 hom", std::nullopt},
        {"1 0 0 x", std::nullopt},
        {"1 0 3 abc5 x", std::nullopt},
        {"/home/debian", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pathFromFileZillaDirectory(c.safePath), c.path) << c.safePath;
}

TEST(WinScpSites, RevealsPasswordsInWinScpsObfuscatedForm) {
    EXPECT_EQ(revealWinScpPassword(storedPassword, "me", "ftp.example.com"), "s3cr%t");
    // The older form without the flag: length, nothing skipped, the password alone.
    EXPECT_EQ(revealWinScpPassword("595C2C303D3532", "anyone", "anywhere"), "plain");
    EXPECT_EQ(revealWinScpPassword(storedPassword, "you", "ftp.example.com"), std::nullopt)
        << "another user's key in front";
    EXPECT_EQ(revealWinScpPassword("A35C4B5F", "me", "ftp.example.com"), std::nullopt) << "cut short";
    EXPECT_EQ(revealWinScpPassword("not hex", "me", "ftp.example.com"), std::nullopt);
}

TEST(WinScpSites, ReadsSessionsWithDecodedNamesFoldersDefaultPortsAndProtocols) {
    const ImportReading reading = readWinScpSites("\xEF\xBB\xBF[Configuration\\Interface]\r\n"
                                                  "Theme=1\r\n"
                                                  "\r\n"
                                                  "[Sessions\\Default%20Settings]\r\n"
                                                  "HostName=template.example.com\r\n"
                                                  "\r\n"
                                                  "[Sessions\\My%20Server]\r\n"
                                                  "HostName=ftp.example.com\r\n"
                                                  "UserName=me\r\n"
                                                  "Password=" +
                                                  storedPassword +
                                                  "\r\n"
                                                  "FSProtocol=5\r\n"
                                                  "RemoteDirectory=/pub/my%20files\r\n"
                                                  "\r\n"
                                                  "[Sessions\\Work/Web%20box]\r\n"
                                                  "HostName=web.example.com\r\n"
                                                  "FSProtocol=5\r\n"
                                                  "Ftps=1\r\n"
                                                  "\r\n"
                                                  "[Sessions\\Shell]\r\n"
                                                  "HostName=shell.example.com\r\n"
                                                  "UserName=root\r\n"
                                                  "\r\n"
                                                  "[Sessions\\Cloud]\r\n"
                                                  "HostName=s3.example.com\r\n"
                                                  "FSProtocol=7\r\n"
                                                  "PortNumber=8443\r\n"
                                                  "UserName=Anonymous\r\n"
                                                  "\r\n"
                                                  "[Sessions\\Empty]\r\n"
                                                  "UserName=x\r\n");
    const std::vector<std::string> expected = {
        "My Server|ftp.example.com|21|me|s3cr%t|/pub/my files||named",
        "Work/Web box|web.example.com|990|||||anonymous",
        "Shell|shell.example.com|22|root||||named|SFTP",
        "Cloud|s3.example.com|8443|Anonymous||||anonymous|S3",
        "Empty||22|x||||named|no host|SFTP",
    };
    EXPECT_EQ(fieldsOf(reading), expected);
}

TEST(WinScpSites, AMasterPasswordLeavesEveryStoredPasswordUnread) {
    const ImportReading reading = readWinScpSites("[Configuration\\Security]\n"
                                                  "UseMasterPassword=1\n"
                                                  "[Sessions\\Locked]\n"
                                                  "HostName=ftp.example.com\n"
                                                  "UserName=me\n"
                                                  "FSProtocol=5\n"
                                                  "Password=" +
                                                  storedPassword +
                                                  "\n"
                                                  "[Sessions\\Open]\n"
                                                  "HostName=ftp.example.com\n"
                                                  "FSProtocol=5\n");
    const std::vector<std::string> expected = {
        "Locked|ftp.example.com|21|me||||named|password unreadable",
        "Open|ftp.example.com|21|||||anonymous",
    };
    EXPECT_EQ(fieldsOf(reading), expected);
}

TEST(WinScpSites, AFileInTheWindowsCodePageIsReadAsSuch) {
    const ImportReading reading =
        readWinScpSites("[Sessions\\Caf%E9]\nHostName=caf\xE9.example.com\nFSProtocol=5\n");
    ASSERT_EQ(reading.sites.size(), 1u);
    EXPECT_EQ(reading.sites[0].fields.Description, "Caf\xC3\xA9");
    EXPECT_EQ(reading.sites[0].fields.Address, "caf\xC3\xA9.example.com");
}

TEST(CsvSites, ReadsQuotesDoubledQuotesEmbeddedLineEndsAndEitherLineEnd) {
    const ImportReading reading =
        readCsvSites("Description,Address,Port,User Name,Password,Login Directory,Anonymous,Script\r\n"
                     "\"Mirror, the first\",ftp.example.org,21,,,/pub,1,\r\n"
                     "\"Say \"\"hi\"\"\",files.example.com,2121,me,\"p,w\",\"/a\r\nb\",no,get.scr\n"
                     ",,,,,,,\r\n"
                     "No host,,21,,,,yes,\n"
                     "Last,last.example.com,,,,,TRUE,");
    const std::vector<std::string> expected = {
        "Mirror, the first|ftp.example.org|21|||/pub||anonymous",
        "Say \"hi\"|files.example.com|2121|me|p,w|/a\r\nb|get.scr|named",
        "No host||21|||||anonymous|no host",
        "Last|last.example.com||||||anonymous",
    };
    EXPECT_EQ(fieldsOf(reading), expected);
}

TEST(CsvSites, TakesSemicolonsAByteOrderMarkAndColumnsInAnyOrderAndCase) {
    const ImportReading reading = readCsvSites("\xEF\xBB\xBF"
                                               "address; PASSWORD ;user name;Notes;description\n"
                                               "ftp.example.com;secret;me;ignored;Caf\xC3\xA9\n"
                                               "ftp.example.net;;;;Open\n"
                                               "ftp.example.org;;anonymous\n");
    const std::vector<std::string> expected = {
        "Caf\xC3\xA9|ftp.example.com||me|secret|||named",
        "Open|ftp.example.net||||||anonymous",
        "|ftp.example.org||anonymous||||anonymous",
    };
    EXPECT_EQ(fieldsOf(reading), expected);
}

TEST(CsvSites, RefusesAFileWithoutAHeaderNamingTheColumns) {
    const std::string refusal =
        "its first row does not name its columns. Portolan reads CSV files whose first row names some of the "
        "columns Description, Address, Port, User Name, Password, Login Directory, Anonymous and Script, "
        "separated by commas or semicolons";
    for (const char* bytes : {"Mirror,ftp.example.com,21\n", "", "Host;Name\nx;y\n"})
        EXPECT_EQ(readCsvSites(bytes).refusal, refusal) << bytes;
    EXPECT_EQ(readCsvSites("Address\n").refusal, "") << "a header alone is a file without sites";
}

TEST(BookSites, TakesTheActiveSitesOfABookWithTheirTextsInUnicode) {
    const auto slots = std::make_unique<SiteSlots>();
    (*slots)[0].Active = 1;
    (*slots)[0].Description.assign("Caf\xE9");
    (*slots)[0].Address.assign("");
    (*slots)[0].Script.assign("run");
    (*slots)[0].Anonymous = 1;
    (*slots)[1].Description.assign("Freed");
    (*slots)[200].Active = 7;
    (*slots)[200].Description.assign("Odd");
    (*slots)[200].Password.assign("\x80");
    const std::vector<std::string> expected = {
        "Caf\xC3\xA9||||||run|anonymous",
        "Odd||||\xE2\x82\xAC|||named",
    };
    EXPECT_EQ(fieldsOf(sitesOfBook(*slots)), expected) << "a book's site without host is still a site";
}

TEST(ImportKind, IsToldByTheContentAlone) {
    struct Case {
        std::string bytes;
        ImportKind kind;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?><FileZilla3/>", ImportKind::FileZilla},
        {"\xEF\xBB\xBF\r\n  <FileZilla3/>", ImportKind::FileZilla},
        {"\xFF\xFE<\0F\0", ImportKind::FileZilla},
        {std::string("\x01\x06Mirror\0\0", 10), ImportKind::SiteBook},
        {std::string(476, 'a') + '\0', ImportKind::Csv},
        {"\r\n[Sessions\\x]\r\nHostName=h\r\n", ImportKind::WinScp},
        {"Description,Address\r\nx,y\r\n", ImportKind::Csv},
        {"", ImportKind::Csv},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recogniseImportKind(c.bytes), c.kind) << c.bytes;
}
