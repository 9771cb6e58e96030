// Reads arbitrary bytes as another site book, as the import reads one, and plans the import of its
// active sites: the plan must hold what every import holds (ImportFuzzChecks.h).
#include "../unit/support/MemoryStream.h"
#include "ImportFuzzChecks.h"

#include "book/SiteFile.h"
#include "book/import/BookSites.h"

#include <cstdint>
#include <memory>

using namespace portolan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::MemoryStream file(std::string(reinterpret_cast<const char*>(data), size));
    const auto slots = std::make_unique<SiteSlots>();
    if (!readSiteRecords(*slots, file))
        return 0; // the import refuses a short book as Open does
    fuzzing::checkReading(sitesOfBook(*slots));
    return 0;
}
