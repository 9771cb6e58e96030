#include "book/SettingsFile.h"

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/Utf8.h"

namespace portolan {

namespace {

// The integers of the record are little-endian whatever the machine's byte order.
void putInt32(std::uint8_t (&bytes)[4], std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t getInt32(const std::uint8_t (&bytes)[4]) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

} // namespace

std::string settingsFilePath(const std::string& folder) {
    return folder + pathSeparator + "prtln.cfg";
}

SettingsRecord makeSettingsRecord(const Settings& values) {
    SettingsRecord record{};
    putInt32(record.Left, values.Left);
    putInt32(record.Top, values.Top);
    putInt32(record.Width, values.Width);
    putInt32(record.Height, values.Height);
    const std::string_view command = values.ClientCommand;
    record.ClientCommand.assign(command.substr(0, utf8PrefixLength(command, record.ClientCommand.capacity)));
    record.UseAnonymParam = values.UseAnonymParam ? 1 : 0;
    return record;
}

Settings settingsFromRecord(const SettingsRecord& record) {
    Settings values;
    values.Left = getInt32(record.Left);
    values.Top = getInt32(record.Top);
    values.Width = getInt32(record.Width);
    values.Height = getInt32(record.Height);
    // An earlier version stored the command in Windows-1252.
    values.ClientCommand = utf8FromUtf8OrCp1252(record.ClientCommand.text());
    values.UseAnonymParam = record.UseAnonymParam != 0;
    return values;
}

bool readSettingsRecord(ByteStream& stream, Settings& values) {
    SettingsRecord record;
    const bool complete = stream.read(&record, SettingsRecordSize) == SettingsRecordSize;
    if (stream.fetchError() != 0 || !complete) {
        stream.close();
        stream.fetchError(); // a short file is simply not used
        return false;
    }
    values = settingsFromRecord(record);
    stream.close();
    if (const int code = stream.fetchError())
        throw InOutError(code);
    return true;
}

bool writeSettingsRecord(const Settings& values, ByteStream& stream) {
    const SettingsRecord record = makeSettingsRecord(values);
    stream.write(&record, SettingsRecordSize);
    stream.close();
    return stream.fetchError() == 0;
}

bool readSettingsFile(const std::string& folder, Settings& values) {
    PlainFile file;
    file.openForReading(settingsFilePath(folder));
    if (file.fetchError() != 0)
        return false;
    return readSettingsRecord(file, values);
}

void writeSettingsFile(const std::string& folder, const Settings& values) {
    ReplacingFile file(settingsFilePath(folder));
    writeSettingsRecord(values, file); // a failure is deliberately silent; the file replaced nothing
}

} // namespace portolan
