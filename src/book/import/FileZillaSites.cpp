#include "book/import/FileZillaSites.h"

#include "book/import/ImportText.h"
#include "runtime/TextRules.h"

#include <pugixml.hpp>

#include <charconv>
#include <map>
#include <set>
#include <vector>

namespace portolan {

namespace {

// FileZilla's numbers for its protocols; those of the FTP family are plain FTP and FTPS.
std::optional<std::string> otherProtocolName(int protocol) {
    switch (protocol) {
    case 0: // FTP, trying TLS
    case 3: // FTPS, implicit TLS
    case 4: // FTPES, explicit TLS
    case 6: // plain FTP
        return std::nullopt;
    case 1:
        return "SFTP";
    case 2:
        return "HTTP";
    case 5:
        return "HTTPS";
    case 7:
        return "S3";
    case 9:
    case 19:
        return "WebDAV";
    default:
        return "protocol " + std::to_string(protocol);
    }
}

// An element's text without the white space that indents it.
std::string textOf(const pugi::xml_node& node) {
    return std::string(trimControls(node.child_value()));
}

std::optional<std::string> base64Decoded(std::string_view text) {
    static constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    unsigned bits = 0;
    int count = 0;
    bool padding = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c == '=') {
            padding = true;
            continue;
        }
        const auto value = alphabet.find(c);
        if (value == std::string_view::npos || padding)
            return std::nullopt;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes.push_back(static_cast<char>((bits >> count) & 0xFF));
        }
    }
    return bytes;
}

// Reads a decimal number up to the next blank (or the end) and steps past it.
std::optional<std::size_t> takeNumber(std::string_view& text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || value > 65535)
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// Takes count characters; nothing when fewer are left.
std::optional<std::string> takeCharacters(std::string_view& text, std::size_t count) {
    const auto size = utf8PrefixSize(text, count);
    if (!size)
        return std::nullopt;
    std::string taken(text.substr(0, *size));
    text.remove_prefix(*size);
    return taken;
}

std::string joined(const std::vector<std::string>& segments, std::string_view separator) {
    std::string path;
    for (std::size_t i = 0; i < segments.size(); ++i)
        path.append(i == 0 ? "" : separator).append(segments[i]);
    return path;
}

struct Server {
    ImportedSite site;
    std::string name;
    std::string folder; // the folder path, "" at the top
};

// One <Server> element as a site, its folder path not yet in front of its name.
Server serverOf(const pugi::xml_node& node, const std::string& folder) {
    Server server;
    server.folder = folder;
    server.name = node.child("Name") ? textOf(node.child("Name")) : textOf(node);
    ImportedSite& site = server.site;
    site.fields.Address = textOf(node.child("Host"));
    site.withoutHost = site.fields.Address.empty();
    site.fields.Port = textOf(node.child("Port"));
    site.fields.UserName = node.child_value("User");
    site.fields.Anonymous = textOf(node.child("Logontype")) == "0";
    const pugi::xml_node pass = node.child("Pass");
    const std::string_view encoding = pass.attribute("encoding").value();
    if (encoding == "crypt") {
        site.passwordUnreadable = true;
    } else if (encoding == "base64") {
        const auto decoded = base64Decoded(pass.child_value());
        site.passwordUnreadable = !decoded;
        site.fields.Password = decoded ? unicodeFromFileText(*decoded) : std::string();
    } else {
        site.fields.Password = pass.child_value();
    }
    const std::string directory = node.child_value("RemoteDir");
    site.fields.LoginDirectory = pathFromFileZillaDirectory(directory).value_or(directory);
    const std::string protocolText = textOf(node.child("Protocol"));
    int protocol = 0; // when none is written, or no number: plain FTP
    std::from_chars(protocolText.data(), protocolText.data() + protocolText.size(), protocol);
    site.otherProtocol = otherProtocolName(protocol).value_or("");
    return server;
}

// Folders nest no deeper than this in any file that FileZilla writes; deeper ones are refused rather
// than followed without end.
constexpr int deepestFolder = 100;

// Collects the sites under parent in the file's order; false when folders nest too deep.
bool collectServers(const pugi::xml_node& parent, const std::string& folder, int depth,
                    std::vector<Server>& servers) {
    for (const pugi::xml_node& node : parent.children()) {
        const std::string_view element = node.name();
        if (element == "Server") {
            servers.push_back(serverOf(node, folder));
        } else if (element == "Folder") {
            const std::string name = textOf(node);
            if (depth == deepestFolder ||
                !collectServers(node, folder.empty() ? name : folder + "/" + name, depth + 1, servers))
                return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> pathFromFileZillaDirectory(std::string_view safePath) {
    std::string_view rest = safePath;
    const auto type = takeNumber(rest);
    if (!type || !rest.starts_with(' '))
        return std::nullopt;
    rest.remove_prefix(1);
    const auto prefixLength = takeNumber(rest);
    if (!prefixLength)
        return std::nullopt;
    std::string prefix;
    if (*prefixLength > 0) {
        if (!rest.starts_with(' '))
            return std::nullopt;
        rest.remove_prefix(1);
        const auto taken = takeCharacters(rest, *prefixLength);
        if (!taken)
            return std::nullopt;
        prefix = *taken;
    }
    std::vector<std::string> segments;
    while (!rest.empty()) {
        if (!rest.starts_with(' '))
            return std::nullopt;
        rest.remove_prefix(1);
        const auto length = takeNumber(rest);
        if (!length || *length == 0 || !rest.starts_with(' '))
            return std::nullopt;
        rest.remove_prefix(1);
        auto segment = takeCharacters(rest, *length);
        if (!segment)
            return std::nullopt;
        segments.push_back(std::move(*segment));
    }
    // The server's kind of system decides how its paths are written.
    switch (*type) {
    case 2: // VMS: DISK:[DIR.SUB]
        return prefix + "[" + joined(segments, ".") + "]";
    case 3: // DOS: C:\DIR\SUB, the drive being the first segment
        return joined(segments, "\\") + (segments.size() == 1 ? "\\" : "");
    case 4: // MVS and HP NonStop: dotted names
    case 7:
        return prefix + joined(segments, ".");
    case 8: // DOS-like servers with one root
        return "\\" + joined(segments, "\\");
    case 10: // DOS with forward slashes: C:/DIR/SUB
        return joined(segments, "/") + (segments.size() == 1 ? "/" : "");
    default: // Unix and every system like it
        return "/" + joined(segments, "/");
    }
}

ImportReading readFileZillaSites(std::string_view bytes) {
    ImportReading reading;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size());
    if (!parsed) {
        reading.refusal = "it is not well-formed XML (" + std::string(parsed.description()) + " at byte " +
                          std::to_string(parsed.offset) + ")";
        return reading;
    }
    const pugi::xml_node root = document.child("FileZilla3");
    if (!root) {
        reading.refusal = "it is an XML file, but not one of FileZilla's";
        return reading;
    }
    std::vector<Server> servers;
    for (const pugi::xml_node& list : root.children("Servers")) {
        if (!collectServers(list, "", 0, servers)) {
            reading.refusal = "its folders nest deeper than " + std::to_string(deepestFolder) + " levels";
            return reading;
        }
    }

    // A name that sites in different folders share gets each site's folder path in front.
    std::map<std::string, std::set<std::string>> foldersOfName;
    for (const Server& server : servers)
        if (!server.site.withoutHost)
            foldersOfName[server.name].insert(server.folder);
    for (Server& server : servers) {
        const bool shared = foldersOfName[server.name].size() > 1 && !server.folder.empty();
        server.site.fields.Description = shared ? server.folder + "/" + server.name : server.name;
        reading.sites.push_back(std::move(server.site));
    }
    return reading;
}

} // namespace portolan
