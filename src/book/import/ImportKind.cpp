#include "book/import/ImportKind.h"

#include "book/SiteRecord.h"
#include "book/import/ImportText.h"

namespace portolan {

ImportKind recogniseImportKind(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return ImportKind::FileZilla;
    if (bytes.substr(0, SiteRecordSize).find('\0') != std::string_view::npos)
        return ImportKind::SiteBook;
    const std::string_view text = withoutByteOrderMark(bytes);
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '<')
        return ImportKind::FileZilla;
    if (first != std::string_view::npos && text[first] == '[')
        return ImportKind::WinScp;
    return ImportKind::Csv;
}

} // namespace portolan
