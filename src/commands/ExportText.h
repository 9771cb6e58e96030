#pragma once

#include "commands/Session.h"
#include "commands/UserInterface.h"
#include "runtime/ByteStream.h"

#include <array>
#include <string>
#include <string_view>

namespace portolan {

// The column names of the export dialog's lists, in list order; "None" writes nothing.
inline constexpr std::array<std::string_view, 7> ExportColumnNames = {
    "None", "Description", "Address", "Port", "User Name", "Password", "Login Directory",
};

// What the export dialog holds when "Export" is pressed: the header and footer boxes as typed, and the
// chosen column name of each list in the order the columns are written.
struct ExportRequest {
    std::string headerText;
    std::string footerText;
    std::array<std::string, 6> columns;
};

// Writes one column of a slot: the field's characters as stored (as many as its length byte says, at
// most the field's capacity), then spaces: the field's export width minus that length, plus one. A
// name that is not one of the six field columns writes nothing.
void writeExportColumn(const Session& session, int slot, ByteStream& target, std::string_view columnName);

// Copies a text file to target line by line, each line followed by CR LF. A line ends at a CR, and an
// LF directly after it belongs to that line end; any other LF is an ordinary character. A Ctrl-Z (26)
// ends the text: nothing after it is copied, and reading stops with the block that holds it. The last
// line needs no line end, and a text that ends with one yields no extra empty line. The source is read
// whole in large blocks before anything is written. Returns the code of a failed read, after which
// nothing is written; 0 when the text was read to its end. Failed writes stay recorded in target.
int copyTextLines(ByteStream& source, ByteStream& target);

// The export: asks for the target, reads the header and footer files, asks before replacing an existing
// target, raises ExportColumnWidths over all 201 slots and writes the header lines, one padded line per
// active slot in slot order, and the footer lines. The target is replaced only as a whole: a failure
// part-way, the header's own message included, leaves an existing target as it was and no new or
// temporary file behind, and a target that is also the header or footer is read with its old content.
// A failure to read or write while the header is copied shows "An error occurred reading your header
// file."; every other input/output failure after the target's question throws InOutError.
void exportSites(Session& session, UserInterface& ui, const ExportRequest& request);

} // namespace portolan
