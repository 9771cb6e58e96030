// Reads arbitrary bytes as a settings file: a record of 148 bytes or more must give values that write
// back as the same integers, the same flag and the same command, which is UTF-8: the stored bytes when
// they are UTF-8, else their Windows-1252 characters, written back cut to at most 128 bytes, never
// inside a character. Anything shorter must leave the values untouched.
#include "../unit/support/MemoryStream.h"

#include "book/SettingsFile.h"
#include "runtime/Cp1252.h"
#include "runtime/Utf8.h"

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
    const std::string stored = input.substr(17, std::min<std::size_t>(data[16], 128));
    if (values.ClientCommand != (isUtf8(stored) ? stored : utf8FromCp1252(stored)))
        std::abort();

    testing::MemoryStream copy;
    if (!writeSettingsRecord(values, copy) || copy.bytes().size() != SettingsRecordSize)
        std::abort();
    const std::string& written = copy.bytes();
    const std::size_t length = static_cast<unsigned char>(written[16]);
    const std::string command = written.substr(17, length);
    // The whole command when it fits, else as much of it as fits without cutting a character.
    const bool sameCommand = values.ClientCommand.starts_with(command) && isUtf8(command) &&
                             (length == values.ClientCommand.size() || (length <= 128 && length > 124));
    const bool sameValues =
        written.compare(0, 16, input, 0, 16) == 0 && sameCommand && written[145] == (data[145] != 0 ? 1 : 0);
    std::string unset = written; // every byte without a value must be zero
    unset[145] = 0;
    const bool zeroElsewhere = unset.find_first_not_of('\0', 17 + length) == std::string::npos;
    Settings again = values;
    again.ClientCommand = command;
    if (!sameValues || !zeroElsewhere || !(settingsFromRecord(makeSettingsRecord(values)) == again))
        std::abort();
    return 0;
}
