// Reads arbitrary bytes as a settings file: a record of 148 bytes or more must give values that write
// back as the same integers, the same command (at most 128 characters) and the same flag; anything
// shorter must leave the values untouched.
#include "../unit/support/MemoryStream.h"

#include "book/SettingsFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace portolan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    testing::MemoryStream file(input);
    Settings values;
    values.ClientCommand = "untouched";
    const Settings before = values;
    const bool read = readSettingsRecord(file, values);
    if (read != (size >= SettingsRecordSize) || (!read && !(values == before)))
        std::abort();
    if (!read)
        return 0;

    testing::MemoryStream copy;
    if (!writeSettingsRecord(values, copy) || copy.bytes().size() != SettingsRecordSize)
        std::abort();
    const std::string& written = copy.bytes();
    const std::size_t length = std::min<std::size_t>(data[16], 128);
    const bool sameValues =
        written.compare(0, 16, input, 0, 16) == 0 && static_cast<unsigned char>(written[16]) == length &&
        written.compare(17, length, input, 17, length) == 0 && written[145] == (data[145] != 0 ? 1 : 0);
    std::string unset = written; // every byte without a value must be zero
    unset[145] = 0;
    const bool zeroElsewhere = unset.find_first_not_of('\0', 17 + length) == std::string::npos;
    if (!sameValues || !zeroElsewhere || !(settingsFromRecord(makeSettingsRecord(values)) == values))
        std::abort();
    return 0;
}
