// Reads arbitrary bytes as a site file, uses the book as the program does, and writes it back: the
// written file must be the input's first 95,676 bytes (a shorter input padded with the zeros of a
// fresh table), and reading must succeed exactly when the input is long enough.
#include "../unit/support/MemoryStream.h"

#include "book/SiteFile.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace portolan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    testing::MemoryStream file(input);
    const auto book = std::make_unique<SiteBook>();
    const bool read = readSiteRecords(book->SiteTable, file);
    if (read != (size >= SiteFileSize))
        std::abort();

    for (const std::string& description : book->listActiveSites()) {
        const auto slot = book->findSiteSlot(description);
        if (!slot || book->SiteTable[*slot].Description.text() != description ||
            !book->hasActiveDescription(description))
            std::abort();
    }
    if (const auto free = book->findFreeSlot(); free && book->SiteTable[*free].Active != 0)
        std::abort();

    testing::MemoryStream copy;
    if (!writeSiteRecords(book->SiteTable, copy))
        std::abort();
    std::string expected = input.substr(0, SiteFileSize);
    expected.resize(SiteFileSize, '\0');
    if (copy.bytes() != expected)
        std::abort();
    return 0;
}
