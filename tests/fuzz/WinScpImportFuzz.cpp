// Reads arbitrary bytes as WinSCP's configuration and plans their import: the reader must never fail on them,
// and the plan must hold what every import holds (ImportFuzzChecks.h).
#include "ImportFuzzChecks.h"

#include "book/import/ImportKind.h"
#include "book/import/WinScpSites.h"

#include <cstdint>
#include <string_view>

using namespace portolan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    recogniseImportKind(bytes);
    fuzzing::checkReading(readWinScpSites(bytes));
    return 0;
}
