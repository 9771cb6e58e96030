#include "book/import/CsvSites.h"

#include "book/import/ImportText.h"

#include <algorithm>
#include <array>
#include <optional>

namespace portolan {

namespace {

enum Column {
    Description,
    Address,
    Port,
    UserName,
    Password,
    LoginDirectory,
    Anonymous,
    Script,
    ColumnCount
};

using ColumnPlaces = std::array<std::optional<std::size_t>, ColumnCount>;

// Where each known column stands in the header; the first of two cells with the same name counts.
ColumnPlaces placesOf(const std::vector<std::string>& header) {
    ColumnPlaces places;
    for (std::size_t cell = 0; cell < header.size(); ++cell)
        for (int column = 0; column < ColumnCount; ++column)
            if (!places[column] && equalsIgnoringCase(trimBlanks(header[cell]), csvColumnNames[column]))
                places[column] = cell;
    return places;
}

std::size_t countOf(const ColumnPlaces& places) {
    return static_cast<std::size_t>(
        std::count_if(places.begin(), places.end(), [](auto p) { return p.has_value(); }));
}

bool isYes(std::string_view text) {
    const std::string_view value = trimBlanks(text);
    for (const std::string_view yes : {"1", "yes", "y", "true", "x"})
        if (equalsIgnoringCase(value, yes))
            return true;
    return false;
}

std::string refusalNamingTheColumns() {
    std::string names;
    for (std::size_t i = 0; i < std::size(csvColumnNames); ++i)
        names.append(i == 0                               ? ""
                     : i + 1 == std::size(csvColumnNames) ? " and "
                                                          : ", ")
            .append(csvColumnNames[i]);
    return "its first row does not name its columns. Portolan reads CSV files whose first row names some of "
           "the columns " +
           names + ", separated by commas or semicolons";
}

} // namespace

std::vector<std::vector<std::string>> csvRows(std::string_view text, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false;      // inside a quoted part of the cell
    bool cellStarted = false; // the cell has any character or quote
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                cell.push_back(c);
            else if (i + 1 < text.size() && text[i + 1] == '"')
                cell.push_back(text[++i]);
            else
                quoted = false;
            continue;
        }
        if (c == '"' && !cellStarted) {
            quoted = cellStarted = true;
        } else if (c == separator) {
            row.push_back(std::move(cell));
            cell.clear();
            cellStarted = false;
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += c == '\r' ? 1 : 0;
            row.push_back(std::move(cell));
            rows.push_back(std::move(row));
            cell.clear();
            row.clear();
            cellStarted = false;
        } else {
            cell.push_back(c); // a quote inside an unquoted cell is a character of it
            cellStarted = true;
        }
    }
    if (cellStarted || !row.empty()) {
        row.push_back(std::move(cell));
        rows.push_back(std::move(row));
    }
    return rows;
}

ImportReading readCsvSites(std::string_view bytes) {
    ImportReading reading;
    const std::string text = unicodeFromFileText(bytes);
    auto rows = csvRows(text, ',');
    ColumnPlaces places = rows.empty() ? ColumnPlaces{} : placesOf(rows.front());
    if (auto bySemicolons = csvRows(text, ';'); !bySemicolons.empty()) {
        const ColumnPlaces semicolonPlaces = placesOf(bySemicolons.front());
        if (countOf(semicolonPlaces) > countOf(places)) {
            rows = std::move(bySemicolons);
            places = semicolonPlaces;
        }
    }
    if (countOf(places) == 0) {
        reading.refusal = refusalNamingTheColumns();
        return reading;
    }
    for (std::size_t index = 1; index < rows.size(); ++index) {
        const std::vector<std::string>& row = rows[index];
        if (std::all_of(row.begin(), row.end(),
                        [](const std::string& cell) { return trimBlanks(cell).empty(); }))
            continue;
        const auto cellOf = [&](Column column) {
            return places[column] && *places[column] < row.size() ? row[*places[column]] : std::string();
        };
        ImportedSite site;
        site.fields.Description = cellOf(Description);
        site.fields.Address = cellOf(Address);
        site.withoutHost = trimBlanks(site.fields.Address).empty();
        site.fields.Port = cellOf(Port);
        site.fields.UserName = cellOf(UserName);
        site.fields.Password = cellOf(Password);
        site.fields.LoginDirectory = cellOf(LoginDirectory);
        site.fields.Script = cellOf(Script);
        site.fields.Anonymous =
            places[Anonymous] ? isYes(cellOf(Anonymous)) : isAnonymousUserName(site.fields.UserName);
        reading.sites.push_back(std::move(site));
    }
    return reading;
}

} // namespace portolan
