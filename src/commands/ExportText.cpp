#include "commands/ExportText.h"

#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextRules.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace portolan {

namespace {

constexpr std::size_t readBlockSize = 64 * 1024;
constexpr char endOfText = 26; // Ctrl-Z

// The six field columns, in the order of ExportColumnNames after "None" and of ExportColumnWidths.
using FieldText = std::string_view (*)(const SiteRecord&);
constexpr std::array<FieldText, 6> exportFields = {
    [](const SiteRecord& site) { return site.Description.text(); },
    [](const SiteRecord& site) { return site.Address.text(); },
    [](const SiteRecord& site) { return site.Port.text(); },
    [](const SiteRecord& site) { return site.UserName.text(); },
    [](const SiteRecord& site) { return site.Password.text(); },
    [](const SiteRecord& site) { return site.LoginDirectory.text(); },
};

std::optional<std::size_t> exportFieldOf(std::string_view columnName) {
    for (std::size_t field = 0; field < exportFields.size(); ++field)
        if (ExportColumnNames[field + 1] == columnName)
            return field;
    return std::nullopt;
}

void throwOnError(ByteStream& stream) {
    if (const int code = stream.fetchError(); code != 0)
        throw InOutError(code);
}

// Reads the source up to its end or its first Ctrl-Z into text; returns the code of a failed read, or 0.
int readText(ByteStream& source, std::string& text) {
    std::string block(readBlockSize, '\0');
    for (;;) {
        const std::size_t got = source.read(block.data(), block.size());
        const std::string_view arrived(block.data(), got);
        const std::size_t stop = arrived.find(endOfText);
        text.append(arrived.substr(0, stop));
        if (stop == std::string_view::npos && got == block.size())
            continue;
        // A short read records ReadBeyondEnd at the end of the file; a failure behind a Ctrl-Z lies
        // outside the text.
        const int code = source.fetchError();
        return stop == std::string_view::npos && code != ioCode::ReadBeyondEnd ? code : 0;
    }
}

void writeLines(std::string_view text, ByteStream& target) {
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t end = std::min(text.find('\r', position), text.size());
        target.write(text.data() + position, end - position);
        target.write("\r\n", 2);
        position = end + 1;
        if (position < text.size() && text[position] == '\n')
            ++position;
    }
}

// Raises each width to the longest text of its field over every slot, freed ones included.
void raiseExportColumnWidths(Session& session) {
    for (const SiteRecord& site : session.book.SiteTable)
        for (std::size_t field = 0; field < exportFields.size(); ++field) {
            const auto length = static_cast<std::int32_t>(exportFields[field](site).size());
            session.ExportColumnWidths[field] = std::max(session.ExportColumnWidths[field], length);
        }
}

void writeSiteLines(const Session& session, const std::array<std::string, 6>& columns, ByteStream& target) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (session.book.SiteTable[slot].Active == 0)
            continue;
        for (const std::string& column : columns)
            if (column != ExportColumnNames[0])
                writeExportColumn(session, slot, target, column);
        target.write("\r\n", 2);
    }
}

// Whether the target may be written: it does not exist, or the user, warned by a beep, confirmed
// replacing it.
bool mayWriteTarget(UserInterface& ui, const std::string& path) {
    if (!canOpenForReading(path))
        return true;
    ui.beep();
    const std::string question =
        "The file  " + upperCaseAscii(fileNamePart(path)) + "  exists.\r\n\r\nOverwrite the file?";
    return ui.MessageDialog(question, MessageKind::Confirmation, button::Yes | button::Cancel) == AnswerYes;
}

// Opens a header or footer file under its name exactly as typed; false when it cannot be opened.
bool openTextFile(PlainFile& file, const std::string& name) {
    file.openForReading(name);
    return file.fetchError() == 0;
}

} // namespace

void writeExportColumn(const Session& session, int slot, ByteStream& target, std::string_view columnName) {
    const auto field = exportFieldOf(columnName);
    if (!field)
        return;
    const std::string_view text = exportFields[*field](session.book.SiteTable[slot]);
    target.write(text.data(), text.size());
    const std::int64_t spaces =
        std::int64_t{session.ExportColumnWidths[*field]} - static_cast<std::int64_t>(text.size()) + 1;
    const std::string padding(static_cast<std::size_t>(std::max<std::int64_t>(spaces, 0)), ' ');
    target.write(padding.data(), padding.size());
}

int copyTextLines(ByteStream& source, ByteStream& target) {
    std::string text;
    if (const int code = readText(source, text); code != 0)
        return code;
    writeLines(text, target);
    return 0;
}

void exportSites(Session& session, UserInterface& ui, const ExportRequest& request) {
    // Blanks and control characters only decide whether there is a file; it is opened under the name
    // as typed.
    const bool hasHeader = !trimControls(request.headerText).empty();
    const bool hasFooter = !trimControls(request.footerText).empty();
    const auto targetPath = ui.runFileDialog(FileDialog::ExportTarget);
    if (!targetPath)
        return;

    PlainFile header;
    if (hasHeader && !openTextFile(header, request.headerText)) {
        ui.MessageDialog("The specified header file could not be opened.", MessageKind::Error, button::Yes);
        return;
    }
    PlainFile footer;
    if (hasFooter && !openTextFile(footer, request.footerText)) {
        ui.MessageDialog("The specified footer file could not be opened.", MessageKind::Error, button::Yes);
        return;
    }
    if (!mayWriteTarget(ui, *targetPath))
        return;

    // The target takes its new content only at the final close, so every return or throw before it
    // leaves an earlier file as it was.
    ReplacingFile target(*targetPath);
    throwOnError(target);
    // Nothing reaches the target before the footer has been read whole (and the header is read whole
    // before its lines are written), so a header or footer that is the target itself is read with its
    // old content, also where the target is rewritten in place. A failed read of the footer counts
    // where its lines are written.
    std::string footerText;
    const int footerFailure = hasFooter ? readText(footer, footerText) : 0;
    if (hasHeader) {
        const int readFailure = copyTextLines(header, target);
        target.flush(); // so that a failure to write the header lines is seen as the header's
        if (readFailure != 0 || target.fetchError() != 0) {
            ui.MessageDialog("An error occurred reading your header file.", MessageKind::Error, button::OK);
            return;
        }
        header.close();
        throwOnError(header);
    }
    raiseExportColumnWidths(session);
    writeSiteLines(session, request.columns, target);
    throwOnError(target);
    if (hasFooter) {
        if (footerFailure != 0)
            throw InOutError(footerFailure);
        writeLines(footerText, target);
        throwOnError(target);
        footer.close();
        throwOnError(footer);
    }
    target.close();
    throwOnError(target);
}

} // namespace portolan
