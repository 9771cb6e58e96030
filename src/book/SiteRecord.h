#pragma once

#include "book/DayNumber.h"
#include "runtime/ShortString.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace portolan {

// One slot of the site table, laid out byte for byte as it is in memory and in the site file
// (476 bytes, no gaps):
//
//   offset size field
//        0    1 Active          1 holds a site, 0 free (a file written elsewhere may hold other values)
//        1  129 Description     ShortString<128>: the name in the site list and the lookup key
//      130   31 Address         ShortString<30>: host address
//      161    6 Port            ShortString<5>: the port as typed, not tested to be a number
//      167    1 Anonymous       1 anonymous login, 0 not
//      168   21 UserName        ShortString<20>
//      189   21 Password        ShortString<20>, plain text
//      210  129 LoginDirectory  ShortString<128>
//      339  129 Script          ShortString<128>
//      468    8 Stamp           DayNumber of the last add or edit, little-endian IEEE-754 double
struct SiteRecord {
    std::uint8_t Active;
    ShortString<128> Description;
    ShortString<30> Address;
    ShortString<5> Port;
    std::uint8_t Anonymous;
    ShortString<20> UserName;
    ShortString<20> Password;
    ShortString<128> LoginDirectory;
    ShortString<128> Script;
    std::array<std::uint8_t, 8> Stamp;

    DayNumber stamp() const;
    void setStamp(DayNumber day);
};

inline constexpr std::size_t SiteRecordSize = 476;

static_assert(sizeof(SiteRecord) == SiteRecordSize);
static_assert(offsetof(SiteRecord, Active) == 0);
static_assert(offsetof(SiteRecord, Description) == 1);
static_assert(offsetof(SiteRecord, Address) == 130);
static_assert(offsetof(SiteRecord, Port) == 161);
static_assert(offsetof(SiteRecord, Anonymous) == 167);
static_assert(offsetof(SiteRecord, UserName) == 168);
static_assert(offsetof(SiteRecord, Password) == 189);
static_assert(offsetof(SiteRecord, LoginDirectory) == 210);
static_assert(offsetof(SiteRecord, Script) == 339);
static_assert(offsetof(SiteRecord, Stamp) == 468);

} // namespace portolan
