// Whole imports as a person makes them: a FileZilla site manager of 57 sites in 4 folders, a WinSCP.ini
// of 10 sessions, a CSV file of 20 rows and another site book, each into a book that is then saved.
// The files are made here; the saved book is compared byte for byte with one put together from the
// record layout, so every field of every site is checked where it lands.
#include "support/CommandFixture.h"

#include "commands/BookCommands.h"
#include "commands/ImportSites.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>

using namespace portolan;
using namespace portolan::testing;

namespace {

// A site as it should stand in the saved book.
struct Expected {
    Expected(std::string description = "", std::string address = "", std::string port = "",
             bool anonymous = false, std::string user = "", std::string password = "",
             std::string directory = "", std::string script = "")
        : description(std::move(description)), address(std::move(address)), port(std::move(port)),
          anonymous(anonymous), user(std::move(user)), password(std::move(password)),
          directory(std::move(directory)), script(std::move(script)) {}
    std::string description, address, port;
    bool anonymous;
    std::string user, password, directory, script;
};

// Writes a text as a field does: its length byte and its characters, nothing behind them.
void putText(std::string& book, std::size_t offset, std::size_t capacity, const std::string& text) {
    ASSERT_LE(text.size(), capacity) << text;
    book[offset] = static_cast<char>(text.size());
    book.replace(offset + 1, text.size(), text);
}

// The book's bytes after the sites were stored in these slots, each stamped 2026-12-07.
std::string withSites(std::string book, const std::vector<std::pair<int, Expected>>& sites) {
    const auto stamp = std::bit_cast<std::uint64_t>(*EncodeDayNumber(2026, 12, 7));
    for (const auto& [slot, site] : sites) {
        const std::size_t at = static_cast<std::size_t>(slot) * 476;
        book[at] = 1;
        putText(book, at + 1, 128, site.description);
        putText(book, at + 130, 30, site.address);
        putText(book, at + 161, 5, site.port);
        book[at + 167] = site.anonymous ? 1 : 0;
        putText(book, at + 168, 20, site.user);
        putText(book, at + 189, 20, site.password);
        putText(book, at + 210, 128, site.directory);
        putText(book, at + 339, 128, site.script);
        for (int byte = 0; byte < 8; ++byte)
            book[at + 468 + byte] = static_cast<char>(stamp >> (8 * byte));
    }
    return book;
}

std::string base64(const std::string& bytes) {
    static const char* const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        unsigned block = 0;
        for (std::size_t k = 0; k < 3; ++k)
            block = block << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            text += k <= count ? alphabet[(block >> (18 - 6 * k)) & 63] : '=';
    }
    return text;
}

// A password in WinSCP's obfuscated form, made by the documented algorithm.
std::string winScpPassword(const std::string& user, const std::string& host, const std::string& password) {
    const auto put = [](unsigned byte) {
        static const char* const hex = "0123456789ABCDEF";
        const unsigned coded = ~(byte ^ 0xA3u) & 0xFFu;
        return std::string{hex[coded >> 4], hex[coded & 15]};
    };
    const std::string block = user + host + password;
    std::string text =
        put(0xFF) + put(0) + put(static_cast<unsigned>(block.size())) + put(2) + put(7) + put(9);
    for (const char c : block)
        text += put(static_cast<unsigned char>(c));
    return text;
}

// A book with sites in its first slots, as the add/edit dialog stores them, and what it holds as bytes.
struct ShowcaseFixture : CommandFixture {
    explicit ShowcaseFixture(const std::vector<std::string>& descriptions) {
        for (const std::string& description : descriptions)
            addSite(description);
        before.assign(reinterpret_cast<const char*>(&session.book.SiteTable), sizeof(SiteSlots));
    }

    // Imports the file, answering the summary with answer, and returns the summary's text.
    std::string import(const std::string& name, const std::string& bytes, int answer) {
        writeBytes(folder.file(name), bytes);
        ui.fileNames[FileDialog::Import].push_back(folder.file(name));
        ui.answers.push_back(answer);
        importSites(session, ui);
        return ui.messages.empty() ? std::string() : ui.messages.back().text;
    }

    // Saves the book under a new name, as Save does for an untitled book, and returns the file.
    std::string saved() {
        ui.fileNames[FileDialog::SaveSite].push_back(folder.file("saved.ptn"));
        saveSiteFile(session, ui);
        return readBytes(folder.file("saved.ptn"));
    }

    std::string before;
};

// The slots that stores take, lowest free first, after the given slots were freed.
std::vector<int> slotsTaken(std::vector<int> freed, int firstUnused, std::size_t count) {
    std::vector<int> slots = std::move(freed);
    for (int slot = firstUnused; slots.size() < count; ++slot)
        slots.push_back(slot);
    slots.resize(count);
    return slots;
}

std::vector<std::pair<int, Expected>> inSlots(const std::vector<Expected>& sites,
                                              const std::vector<int>& slots) {
    std::vector<std::pair<int, Expected>> placed;
    for (std::size_t n = 0; n < sites.size(); ++n)
        placed.emplace_back(slots[n], sites[n]);
    return placed;
}

// One site of the FileZilla file.
struct FileZillaSite {
    FileZillaSite(std::string name, std::string host, int protocol = 0, int logon = 1,
                  std::string passEncoding = "base64", std::string user = "")
        : name(std::move(name)), host(std::move(host)), protocol(protocol), logon(logon),
          passEncoding(std::move(passEncoding)), user(std::move(user)) {}
    std::string name;
    std::string host;
    int protocol;
    int logon;                // 0 anonymous
    std::string passEncoding; // "plain", "base64" or "crypt"
    std::string user;
};

} // namespace

TEST(ImportShowcase, FileZillaSiteManagerOf57SitesIn4Folders) {
    ShowcaseFixture fixture({"Mirror", "Keep me", "Intranet", "Docs"});
    struct Folder {
        std::string path;
        std::vector<FileZillaSite> sites;
    };
    std::vector<Folder> folders(5);
    folders[0].path = "";
    folders[0].sites = {{"Mirror", "ftp.example.org", 0, 0, "plain", "anonymous"},
                        {"Intranet", "intranet.example.com"},
                        {"Docs", "docs.example.com"},
                        {"Nowhere", ""},
                        {"Public 1", "public1.example.com", 6, 0, "plain", "anonymous"},
                        {"Public 2", "public2.example.com", 3},
                        {"Long host", "a-very-long-host-name.example.com"}};
    folders[1].path = "Work";
    folders[1].sites = {{"Backup", "backup.work.example.com"}, {"Work ghost", ""}};
    for (int n = 1; n <= 13; ++n)
        folders[1].sites.push_back(
            {"Work " + std::to_string(n), "w" + std::to_string(n) + ".example.com", 4});
    folders[2].path = "Work/Clients";
    for (int n = 1; n <= 12; ++n)
        folders[2].sites.push_back({"Client " + std::to_string(n), "c" + std::to_string(n) + ".example.net"});
    folders[2].sites.push_back({"Client shell", "shell.example.net", 1});
    folders[2].sites.push_back({"Client files", "files.example.net", 1});
    folders[2].sites.push_back({"Client ghost", ""});
    folders[3].path = "Home";
    folders[3].sites = {{"Backup", "nas.home.example"},
                        {"Locked", "locked.home.example", 0, 1, "crypt"},
                        {"Long user", "user.home.example", 0, 1, "base64", "a-user-name-of-25-letters"},
                        {"Home ghost", ""}};
    for (int n = 1; n <= 6; ++n)
        folders[3].sites.push_back({"Home " + std::to_string(n), "h" + std::to_string(n) + ".home.example"});
    folders[4].path = "Archive";
    for (int n = 1; n <= 9; ++n)
        folders[4].sites.push_back({"Archive " + std::to_string(n), "a" + std::to_string(n) + ".example.org",
                                    0, 0, "plain", "anonymous"});
    folders[4].sites.push_back({"Archive ghost", ""});

    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<FileZilla3 version=\"3.63.1\" platform=\"*nix\">\n\t<Servers>\n";
    std::vector<Expected> expected;
    int number = 0;
    const auto writeSites = [&](const Folder& folder, const std::string& indent) {
        for (const FileZillaSite& site : folder.sites) {
            ++number;
            const std::string user = site.user.empty() ? "user" + std::to_string(number) : site.user;
            const std::string password = site.logon == 0 ? "" : "p\xC3\xA4ss " + std::to_string(number);
            const std::string directory = "dir " + std::to_string(number);
            xml += indent + "<Server>\n" + indent + "\t<Host>" + site.host + "</Host>\n" + indent +
                   "\t<Port>" + (site.protocol == 1 ? "22" : "21") + "</Port>\n" + indent + "\t<Protocol>" +
                   std::to_string(site.protocol) + "</Protocol>\n" + indent + "\t<Type>0</Type>\n" + indent +
                   "\t<User>" + user + "</User>\n";
            if (site.logon != 0) {
                if (site.passEncoding == "crypt")
                    xml += indent + "\t<Pass encoding=\"crypt\" pubkey=\"0123\">c2VjcmV0</Pass>\n";
                else if (site.passEncoding == "base64")
                    xml += indent + "\t<Pass encoding=\"base64\">" + base64(password) + "</Pass>\n";
                else
                    xml += indent + "\t<Pass>" + password + "</Pass>\n";
            }
            xml += indent + "\t<Logontype>" + std::to_string(site.logon) + "</Logontype>\n" + indent +
                   "\t<Name>" + site.name + "</Name>\n" + indent + "\t<RemoteDir>1 0 4 home " +
                   std::to_string(directory.size()) + " " + directory + "</RemoteDir>\n" + indent +
                   "</Server>\n";
            if (site.host.empty())
                continue;
            const bool shared = site.name == "Backup"; // in two folders
            const bool unread = site.logon == 0 || site.passEncoding == "crypt";
            expected.push_back({shared ? folder.path + "/" + site.name : site.name, site.host.substr(0, 30),
                                site.protocol == 1 ? "22" : "21", site.logon == 0, user.substr(0, 20),
                                unread ? "" : "p\xE4ss " + std::to_string(number), "/home/" + directory, ""});
        }
    };
    writeSites(folders[0], "\t\t");
    xml += "\t\t<Folder expanded=\"1\">Work\n";
    writeSites(folders[1], "\t\t\t");
    xml += "\t\t\t<Folder>Clients\n";
    writeSites(folders[2], "\t\t\t\t");
    xml += "\t\t\t</Folder>\n\t\t</Folder>\n";
    for (int n = 3; n <= 4; ++n) {
        xml += "\t\t<Folder>" + folders[n].path + "\n";
        writeSites(folders[n], "\t\t\t");
        xml += "\t\t</Folder>\n";
    }
    xml += "\t</Servers>\n</FileZilla3>\n";
    ASSERT_EQ(number, 57);
    ASSERT_EQ(expected.size(), 52u);

    EXPECT_EQ(
        fixture.import("sitemanager.xml", xml, AnswerYes),
        "sitemanager.xml holds 57 sites: 49 will be added, 3 have the description of a site already in the "
        "book, 5 have no host and are left out, 2 are not FTP sites, 1 has a password that could not be "
        "read, 2 have fields longer than Portolan keeps. Replace the 3 sites that are already in the book?");
    EXPECT_EQ(fixture.session.book.SiteCount, 53);
    EXPECT_EQ(fixture.ui.items.size(), 53u);
    EXPECT_TRUE(fixture.session.BookModified);
    EXPECT_TRUE(fixture.saved() ==
                withSites(fixture.before, inSlots(expected, slotsTaken({0, 2, 3}, 4, expected.size()))))
        << "the saved book differs from the expected bytes";
}

TEST(ImportShowcase, WinScpIniOf10Sessions) {
    ShowcaseFixture fixture({});
    struct WinScpSession {
        std::string section, host, user, password, protocol, port, directory;
        Expected kept;
    };
    const std::vector<WinScpSession> sessions = {
        {"Work/Web%20server",
         "web.example.com",
         "deploy",
         "w3b!",
         "5",
         "",
         "/var/www",
         {"Work/Web server", "web.example.com", "21", false, "deploy", "w3b!", "/var/www"}},
        {"Work/Shell",
         "shell.example.com",
         "me",
         "",
         "",
         "",
         "",
         {"Work/Shell", "shell.example.com", "22", false, "me"}},
        {"Home/NAS",
         "nas.example.home",
         "anonymous",
         "",
         "5",
         "2121",
         "/pub%20lic",
         {"Home/NAS", "nas.example.home", "2121", true, "anonymous", "", "/pub lic"}},
        {"Caf%C3%A9%20mirror",
         "cafe.example.org",
         "",
         "",
         "5",
         "",
         "",
         {"Caf\xE9 mirror", "cafe.example.org", "21", true}},
        {"Secure%20files",
         "tls.example.com",
         "ann",
         "t%ls",
         "5",
         "",
         "/in",
         {"Secure files", "tls.example.com", "990", false, "ann", "t%ls", "/in"}},
        {"Copy",
         "scp.example.com",
         "root",
         "",
         "0",
         "",
         "",
         {"Copy", "scp.example.com", "22", false, "root"}},
        {"Nobody", "", "x", "", "5", "", "", {}},
        {"Sftp%20only",
         "sftp.example.com",
         "me",
         "",
         "2",
         "2222",
         "",
         {"Sftp only", "sftp.example.com", "2222", false, "me"}},
        {"Wrong%20key",
         "key.example.com",
         "me",
         "",
         "5",
         "",
         "",
         {"Wrong key", "key.example.com", "21", false, "me"}},
        {"Last",
         "last.example.com",
         "zed",
         "z",
         "5",
         "",
         "/",
         {"Last", "last.example.com", "21", false, "zed", "z", "/"}},
    };
    std::string ini = "[Configuration\\Interface]\r\nTheme=1\r\n\r\n"
                      "[Sessions\\Default%20Settings]\r\nHostName=default.example.com\r\n\r\n";
    std::vector<Expected> expected;
    for (const WinScpSession& session : sessions) {
        ini += "[Sessions\\" + session.section + "]\r\nHostName=" + session.host +
               "\r\nUserName=" + session.user + "\r\n";
        if (!session.password.empty())
            ini += "Password=" + winScpPassword(session.user, session.host, session.password) + "\r\n";
        if (session.section == "Wrong%20key")
            ini += "Password=" + winScpPassword("someone", "else.example.com", "pw") + "\r\n";
        if (session.section == "Secure%20files")
            ini += "Ftps=1\r\n";
        if (!session.protocol.empty())
            ini += "FSProtocol=" + session.protocol + "\r\n";
        if (!session.port.empty())
            ini += "PortNumber=" + session.port + "\r\n";
        if (!session.directory.empty())
            ini += "RemoteDirectory=" + session.directory + "\r\n";
        ini += "\r\n";
        if (!session.host.empty())
            expected.push_back(session.kept);
    }
    EXPECT_EQ(
        fixture.import("WinSCP.ini", ini, AnswerYes),
        "WinSCP.ini holds 10 sites: 9 will be added, 1 has no host and is left out, 3 are not FTP sites, 1 "
        "has a password that could not be read. Add them to the book?");
    EXPECT_EQ(fixture.ui.messages.back().buttons, button::Yes | button::Cancel);
    EXPECT_TRUE(fixture.saved() ==
                withSites(fixture.before, inSlots(expected, slotsTaken({}, 0, expected.size()))))
        << "the saved book differs from the expected bytes";
}

TEST(ImportShowcase, CsvOf20Rows) {
    ShowcaseFixture fixture({"Site 04", "Other"});
    std::string csv = "\xEF\xBB\xBF"
                      "Script;Anonymous;Login Directory;Password;User Name;Port;Address;Description\r\n";
    std::vector<Expected> expected;
    for (int row = 1; row <= 20; ++row) {
        const std::string n = (row < 10 ? "0" : "") + std::to_string(row);
        Expected site{"Site " + n, "s" + n + ".example.com", "21",         row % 3 == 0,
                      "user" + n,  "pw;\"" + n + "\"",       "/data/" + n, "get " + n + ".scr"};
        std::string description = site.description;
        if (row == 7) { // a description longer than the field
            description = "Site 07 " + std::string(130, 'x');
            site.description = description.substr(0, 128);
        }
        if (row == 11) { // a letter that Windows-1252 lacks
            description = "Site \xE2\x84\xA6 11";
            site.description = "Site ? 11";
        }
        if (row == 12) // a login directory over two lines
            site.directory = "/data\r\n12";
        const std::string address = row == 15 ? "" : site.address;
        csv += site.script + ";" + (site.anonymous ? "yes" : "no") + ";\"" + site.directory + "\";\"pw;\"\"" +
               n + "\"\"\";" + site.user + ";21;" + address + ";\"" + description + "\"\r\n";
        if (row != 15 && row != 4) // row 15 has no host, row 4 is in the book and kept
            expected.push_back(site);
    }
    EXPECT_EQ(
        fixture.import("sites.csv", csv, AnswerNo),
        "sites.csv holds 20 sites: 18 will be added, 1 has the description of a site already in the book, 1 "
        "has no host and is left out, 1 has fields longer than Portolan keeps, 1 has letters that Portolan "
        "stores as \"?\". Replace the site that is already in the book?");
    EXPECT_EQ(fixture.session.book.SiteCount, 20);
    EXPECT_TRUE(fixture.saved() ==
                withSites(fixture.before, inSlots(expected, slotsTaken({}, 2, expected.size()))))
        << "the saved book differs from the expected bytes";
}

TEST(ImportShowcase, AnotherSiteBook) {
    ShowcaseFixture fixture({"Shared", "Mine"});
    ShowcaseFixture other({});
    const std::vector<std::pair<int, Expected>> otherSites = {
        {0, {"Alpha", "alpha.example.com", "21", true, "", "", "/pub", ""}},
        {3, {"Shared", "shared.example.org", "2121", false, "me", "secret", "/in", "up.scr"}},
        {4, {"Caf\xE9", "cafe.example.org", "", false, "gar\xE7on", "\x80uro", "", ""}},
        {7, {"Beta", "", "", true, "", "", "", ""}},
        {199, {"Gamma", "gamma.example.net", "990", false, "g", "g", "/", "g"}},
        {200, {"Delta", "delta.example.net", "21", false, "d", "d", "", ""}},
    };
    std::string otherBook = withSites(other.before, otherSites);
    otherBook[5 * 476] = 0; // slot 5 free, with texts left behind
    otherBook.replace(5 * 476 + 1, 6, std::string("\x05") + "Freed");
    otherBook[200 * 476] = 7; // an Active byte another program wrote
    std::vector<Expected> expected;
    for (const auto& [slot, site] : otherSites)
        expected.push_back(site);
    EXPECT_EQ(
        fixture.import("other.ptn", otherBook, AnswerYes),
        "other.ptn holds 6 sites: 5 will be added, 1 has the description of a site already in the book. "
        "Replace the site that is already in the book?");
    EXPECT_EQ(fixture.ui.messages.back().details[3], "Beta: added") << "a book's site without host is kept";
    EXPECT_TRUE(fixture.saved() ==
                withSites(fixture.before, inSlots(expected, slotsTaken({0}, 2, expected.size()))))
        << "the saved book differs from the expected bytes";
}
