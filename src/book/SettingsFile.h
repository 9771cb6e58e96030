#pragma once

#include "runtime/ByteStream.h"
#include "runtime/ShortString.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace portolan {

// The settings file "prtln.cfg" beside the executable holds one record of 148 bytes, integers
// little-endian:
//
//   offset size field
//        0    4 Left            main window left edge, signed
//        4    4 Top             main window top edge, signed
//        8    4 Width           main window outer width, signed
//       12    4 Height          main window outer height, signed
//       16  129 ClientCommand   ShortString<128>: the client command template, UTF-8; the length
//                               byte counts bytes
//      145    1 UseAnonymParam  0 off, any other value on
//      146    2 reserved        no meaning; written as 0
//
// The writer zeroes the bytes behind the command; a reader never looks at them. Unlike the other texts
// of Portolan's files, the command is a command line of the system, so it keeps the system's own
// bytes (UTF-8). Earlier versions stored it in Windows-1252: a command that is not well-formed UTF-8
// is one of those and is read as Windows-1252, so that it keeps its meaning.
struct SettingsRecord {
    std::uint8_t Left[4];
    std::uint8_t Top[4];
    std::uint8_t Width[4];
    std::uint8_t Height[4];
    ShortString<128> ClientCommand;
    std::uint8_t UseAnonymParam;
    std::uint8_t Reserved[2];
};

inline constexpr std::size_t SettingsRecordSize = 148;
static_assert(sizeof(SettingsRecord) == SettingsRecordSize);

// The values the settings file keeps. The command is the system's own text, UTF-8, of any length in
// memory; only its first 128 bytes are stored, less where the 128th byte is not the last of a
// character.
struct Settings {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::string ClientCommand;
    bool UseAnonymParam = false;
    friend bool operator==(const Settings&, const Settings&) = default;
};

// folder + "/prtln.cfg", joined with the system's pathSeparator. The folder is passed in
// (executableFolder() in the program), so tests never touch a real settings file.
std::string settingsFilePath(const std::string& folder);

// Reads the settings file in folder into values. Returns false, leaving values untouched, when the file
// cannot be opened or holds fewer than 148 bytes; bytes after the 148th are never read. After a good
// read the fields are applied before the file is closed; a failing close then throws InOutError with
// its code, the applied values staying in force.
bool readSettingsFile(const std::string& folder, Settings& values);

// Writes the settings file in folder: exactly 148 bytes, replacing an earlier file only as a whole. A
// failure is not reported, leaves no recorded error behind, and leaves an earlier file as it was.
void writeSettingsFile(const std::string& folder, const Settings& values);

// The reading and writing on an opened stream, as the two functions above do it: one read or write of
// the whole record, then the close.
bool readSettingsRecord(ByteStream& stream, Settings& values);
bool writeSettingsRecord(const Settings& values, ByteStream& stream);

// The record of a set of values (the command cut to at most 128 bytes, never inside a character, every
// other byte zero), and the values of a record (a length byte above 128 reads as 128, a command that is
// not UTF-8 as Windows-1252, a non-zero byte 145 as on).
SettingsRecord makeSettingsRecord(const Settings& values);
Settings settingsFromRecord(const SettingsRecord& record);

} // namespace portolan
