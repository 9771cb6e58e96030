// Writes a full book of 200 sites with Portolan's own site file writer, for the start-up benchmark.
// The descriptions vary in length as a real book's do; every host is a reserved example name.
// Usage: write_full_book <file.ptn>
#include "book/SiteFile.h"

#include <array>
#include <iostream>
#include <string>

namespace portolan {
namespace {

class ConsoleMessages final : public MessageSink {
public:
    int MessageDialog(std::string_view text, MessageKind, MessageButtons) override {
        std::cerr << text << '\n';
        failed = true;
        return AnswerOK;
    }
    void beep() override {}

    bool failed = false;
};

constexpr std::array<const char*, 11> topics = {"Mirror", "Archive", "Uploads",  "Backups",
                                                "Photos", "Drivers", "Releases", "Manuals",
                                                "Fonts",  "Patches", "Logs"};
constexpr std::string_view remark = " - kept for the weekly exchange of files with the partners abroad, "
                                    "checked every Monday before the office opens";

// A host under the reserved example domains; every fourth site has a host of its own.
std::string sampleHost(int slot, const std::string& number) {
    constexpr std::array<const char*, 3> shared = {"ftp.example.com", "ftp.example.org", "ftp.example.net"};
    return slot % 4 == 3 ? "files" + number + ".example.com" : shared[slot % 4];
}

// Site number slot + 1; every third one logs in anonymously.
SiteFields sampleSite(int slot) {
    const std::string number = std::to_string(slot + 1);
    const std::string topic = topics[slot % topics.size()];
    SiteFields site;
    // A unique head and a remark of 0 to 89 characters.
    site.Description = topic + " " + number + std::string(remark.substr(0, slot * 37 % 90));
    site.Address = sampleHost(slot, number);
    site.Port = slot % 5 == 0 ? "2121" : "21";
    site.Anonymous = slot % 3 == 0;
    site.UserName = site.Anonymous ? "anonymous" : "user" + number;
    site.Password = site.Anonymous ? "guest@example.com" : "secret" + number;
    site.LoginDirectory = "/pub/" + topic;
    site.Script = slot % 2 == 0 ? "" : "sync-" + number + ".txt";
    return site;
}

} // namespace
} // namespace portolan

int main(int argc, char* argv[]) {
    using namespace portolan;
    if (argc != 2) {
        std::cerr << "usage: write_full_book <file.ptn>\n";
        return 2;
    }
    SiteBook book;
    for (int slot = 0; slot < MaxSites; ++slot) {
        book.storeSite(slot, sampleSite(slot), 45000 + slot); // days in 2023
        ++book.SiteCount;
    }
    ConsoleMessages messages;
    writeSiteFile(book, argv[1], messages);
    return messages.failed ? 1 : 0;
}
