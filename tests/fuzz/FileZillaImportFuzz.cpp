// Reads arbitrary bytes as FileZilla's site manager and plans their import: the reader must never fail on
// them, and the plan must hold what every import holds (ImportFuzzChecks.h).
#include "ImportFuzzChecks.h"

#include "book/import/FileZillaSites.h"
#include "book/import/ImportKind.h"

#include <cstdint>
#include <string_view>

using namespace portolan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    recogniseImportKind(bytes);
    fuzzing::checkReading(readFileZillaSites(bytes));
    return 0;
}
