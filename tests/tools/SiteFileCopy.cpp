// Writes a book, or copies one, through Portolan's own reading and writing of site files, so that books
// can move between the builds of different systems and be compared byte for byte:
//   site_file_copy make BOOK      writes a book of 201 slots of arbitrary bytes, free slots included
//   site_file_copy copy FROM TO   reads FROM into a book and writes the book to TO
// Prints the program's message and exits with 1 when reading or writing fails, with 2 on a wrong call.
// Paths are taken as the program receives them: ASCII ones travel alike on every system.
#include "book/SiteFile.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

using namespace portolan;

class PrintedMessages final : public MessageSink {
public:
    bool shown = false;
    int MessageDialog(std::string_view text, MessageKind, MessageButtons) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
        shown = true;
        return AnswerOK;
    }
    void beep() override {}
};

// Every byte of every slot from a fixed sequence, so that each build makes the same book; the Active
// bytes run through 0, 1 and 7.
SiteBook arbitraryBook() {
    SiteBook book;
    std::mt19937 generator(1996);
    auto* bytes = reinterpret_cast<unsigned char*>(book.SiteTable.data());
    for (std::size_t i = 0; i < sizeof book.SiteTable; ++i)
        bytes[i] = static_cast<unsigned char>(generator());
    const unsigned char active[] = {0, 1, 7};
    for (std::size_t slot = 0; slot < book.SiteTable.size(); ++slot)
        book.SiteTable[slot].Active = active[slot % 3];
    return book;
}

} // namespace

int main(int argc, char** argv) {
    PrintedMessages messages;
    if (argc == 3 && std::strcmp(argv[1], "make") == 0) {
        writeSiteFile(arbitraryBook(), argv[2], messages);
    } else if (argc == 4 && std::strcmp(argv[1], "copy") == 0) {
        SiteBook book;
        if (readSiteFile(book, argv[2], messages))
            writeSiteFile(book, argv[3], messages);
    } else {
        std::fprintf(stderr, "usage: site_file_copy make BOOK | site_file_copy copy FROM TO\n");
        return 2;
    }
    return messages.shown ? 1 : 0;
}
