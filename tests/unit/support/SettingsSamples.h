#pragma once

#include "book/SettingsFile.h"

#include <string>

// Settings that the tests of the settings file write and read.
namespace portolan::testing {

inline Settings exampleSettings() {
    Settings values;
    values.Left = -5;
    values.Top = 300;
    values.Width = 270;
    values.Height = 217;
    values.ClientCommand = "cuteftp %a";
    values.UseAnonymParam = true;
    return values;
}

// The 148 bytes of exampleSettings(), byte by byte.
inline std::string exampleRecordBytes() {
    std::string bytes(148, '\0');
    bytes.replace(0, 16,
                  std::string_view("\xfb\xff\xff\xff"
                                   "\x2c\x01\0\0"
                                   "\x0e\x01\0\0"
                                   "\xd9\0\0\0",
                                   16));
    bytes.replace(16, 11,
                  "\x0a"
                  "cuteftp %a");
    bytes[145] = 1;
    return bytes;
}

// Settings that differ from every value a file in these tests holds.
inline Settings startValues() {
    Settings values;
    values.Left = 11;
    values.Top = 22;
    values.Width = 270;
    values.Height = 217;
    values.ClientCommand = "start";
    return values;
}

} // namespace portolan::testing
