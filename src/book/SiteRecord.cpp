#include "book/SiteRecord.h"

#include <bit>
#include <cstring>

namespace portolan {

namespace {
// The stamp is little-endian on disk whatever the machine's byte order.
void reverseIfBigEndian(std::array<std::uint8_t, 8>& bytes) {
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(bytes.begin(), bytes.end());
}
} // namespace

DayNumber SiteRecord::stamp() const {
    auto bytes = Stamp;
    reverseIfBigEndian(bytes);
    DayNumber day;
    std::memcpy(&day, bytes.data(), sizeof day);
    return day;
}

void SiteRecord::setStamp(DayNumber day) {
    std::memcpy(Stamp.data(), &day, sizeof day);
    reverseIfBigEndian(Stamp);
}

} // namespace portolan
