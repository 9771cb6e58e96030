#pragma once

#include "book/SiteBook.h"
#include "book/SiteFile.h"

#include <random>
#include <string>

// Books and site files that the tests of site files write and read.
namespace portolan::testing {

inline std::string tableBytes(const SiteSlots& slots) {
    return std::string(reinterpret_cast<const char*>(slots.data()), sizeof slots);
}

inline std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(byte(generator));
    return bytes;
}

inline SiteFields exampleSite(std::string description) {
    SiteFields site;
    site.Description = std::move(description);
    site.Address = "ftp.example.org";
    site.Port = "21";
    site.UserName = "anna";
    site.Password = "secret";
    site.LoginDirectory = "/pub";
    return site;
}

// A book with sites in slots 0 to count - 1, described "Site 0", "Site 1", ...
inline SiteBook bookOfSites(int count) {
    SiteBook book;
    for (int slot = 0; slot < count; ++slot) {
        book.storeSite(slot, exampleSite("Site " + std::to_string(slot)), 35250 + slot);
        ++book.SiteCount;
    }
    return book;
}

// The site file of exampleSite("Example") stored in slot 1 of an empty book, byte by byte.
inline std::string exampleFileBytes() {
    std::string file(SiteFileSize, '\0');
    auto put = [&](std::size_t offset, std::string_view bytes) {
        file.replace(476 + offset, bytes.size(), bytes);
    };
    put(0, "\x01");
    put(1, "\x07"
           "Example");
    put(130, "\x0f"
             "ftp.example.org");
    put(161, "\x02"
             "21");
    put(167, std::string_view("\0", 1)); // not anonymous
    put(168, "\x04"
             "anna");
    put(189, "\x06"
             "secret");
    put(210, "\x04"
             "/pub");
    put(468, std::string_view("\0\0\0\0\x40\x36\xe1\x40", 8)); // 35250.0
    return file;
}

// exampleSite("Example") in slot 1 of an empty book: the book of exampleFileBytes().
inline SiteBook exampleBook() {
    SiteBook book;
    book.storeSite(1, exampleSite("Example"), 35250);
    book.SiteCount = 1;
    return book;
}

} // namespace portolan::testing
