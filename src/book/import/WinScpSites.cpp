#include "book/import/WinScpSites.h"

#include "book/import/ImportText.h"

#include <charconv>
#include <map>
#include <vector>

namespace portolan {

namespace {

// WinSCP's numbers for its protocols (FSProtocol) and its kinds of TLS (Ftps).
constexpr int protocolFtp = 5;
constexpr int protocolWebDav = 6;
constexpr int defaultProtocol = 1; // SFTP, also when none is written
constexpr int implicitTls = 1;

std::string otherProtocolName(int protocol) {
    switch (protocol) {
    case protocolFtp:
        return "";
    case 0:
        return "SCP";
    case 1:
    case 2:
        return "SFTP";
    case protocolWebDav:
        return "WebDAV";
    case 7:
        return "S3";
    default:
        return "protocol " + std::to_string(protocol);
    }
}

std::string defaultPort(int protocol, int tls) {
    switch (protocol) {
    case protocolFtp:
        return tls == implicitTls ? "990" : "21";
    case protocolWebDav:
        return tls != 0 ? "443" : "80";
    case 7:
        return "443";
    default:
        return "22";
    }
}

int numberOr(const std::string& text, int fallback) {
    int number = fallback; // kept when the text is no number
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

// The byte that two hexadecimal digits stand for, undone as WinSCP does it; nothing for other text.
std::optional<unsigned> nextByte(std::string_view& digits) {
    static constexpr std::string_view hex = "0123456789ABCDEF";
    if (digits.size() < 2)
        return std::nullopt;
    const auto high = hex.find(digits[0]);
    const auto low = hex.find(digits[1]);
    if (high == std::string_view::npos || low == std::string_view::npos)
        return std::nullopt;
    digits.remove_prefix(2);
    return ~((high << 4 | low) ^ 0xA3u) & 0xFFu;
}

struct Section {
    std::string name;
    std::map<std::string, std::string> values; // keys in lower case, values %-decoded, in UTF-8
};

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::vector<Section> sectionsOf(std::string_view text) {
    std::vector<Section> sections;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        line = trimBlanks(line);
        if (line.starts_with('[') && line.ends_with(']')) {
            sections.push_back({std::string(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        const auto equals = line.find('=');
        if (sections.empty() || equals == std::string_view::npos || line.starts_with(';'))
            continue;
        sections.back().values.emplace(lowerAscii(std::string(trimBlanks(line.substr(0, equals)))),
                                       unicodeFromFileText(percentDecoded(line.substr(equals + 1))));
    }
    return sections;
}

std::string valueOf(const Section& section, const char* key) {
    const auto found = section.values.find(key);
    return found == section.values.end() ? std::string() : found->second;
}

} // namespace

std::optional<std::string> revealWinScpPassword(std::string_view stored, std::string_view userName,
                                                std::string_view hostName) {
    constexpr unsigned flagged = 0xFF; // the block holds the key in front of the password
    std::string_view digits = stored;
    const auto flag = nextByte(digits);
    if (!flag)
        return std::nullopt;
    auto length = flag;
    if (*flag == flagged) {
        if (!nextByte(digits)) // a byte without meaning
            return std::nullopt;
        length = nextByte(digits);
    }
    const auto skipped = nextByte(digits);
    if (!length || !skipped || digits.size() < 2 * *skipped)
        return std::nullopt;
    digits.remove_prefix(2 * *skipped);
    std::string clear;
    for (unsigned i = 0; i < *length; ++i) {
        const auto byte = nextByte(digits);
        if (!byte)
            return std::nullopt;
        clear.push_back(static_cast<char>(*byte));
    }
    if (*flag == flagged) {
        const std::string key = std::string(userName) + std::string(hostName);
        if (!clear.starts_with(key))
            return std::nullopt;
        clear.erase(0, key.size());
    }
    return unicodeFromFileText(clear);
}

ImportReading readWinScpSites(std::string_view bytes) {
    ImportReading reading;
    const std::vector<Section> sections = sectionsOf(unicodeFromFileText(bytes));
    bool masterPassword = false;
    for (const Section& section : sections)
        if (equalsIgnoringCase(section.name, "Configuration\\Security"))
            masterPassword = valueOf(section, "usemasterpassword") == "1";

    constexpr std::string_view sessions = "Sessions\\";
    for (const Section& section : sections) {
        if (section.name.size() <= sessions.size() ||
            !equalsIgnoringCase(std::string_view(section.name).substr(0, sessions.size()), sessions))
            continue;
        const std::string name = unicodeFromFileText(percentDecoded(section.name.substr(sessions.size())));
        if (name == "Default Settings")
            continue; // the template of new sessions, not a site
        ImportedSite site;
        site.fields.Description = name;
        site.fields.Address = valueOf(section, "hostname");
        site.withoutHost = trimBlanks(site.fields.Address).empty();
        const int protocol = numberOr(valueOf(section, "fsprotocol"), defaultProtocol);
        site.fields.Port = valueOf(section, "portnumber");
        if (site.fields.Port.empty())
            site.fields.Port = defaultPort(protocol, numberOr(valueOf(section, "ftps"), 0));
        site.fields.UserName = valueOf(section, "username");
        site.fields.Anonymous = isAnonymousUserName(site.fields.UserName);
        site.fields.LoginDirectory = valueOf(section, "remotedirectory");
        site.otherProtocol = otherProtocolName(protocol);
        const std::string stored = valueOf(section, "password");
        if (!stored.empty()) {
            const auto password =
                masterPassword ? std::nullopt
                               : revealWinScpPassword(stored, site.fields.UserName, site.fields.Address);
            site.passwordUnreadable = !password;
            site.fields.Password = password.value_or("");
        }
        reading.sites.push_back(std::move(site));
    }
    return reading;
}

} // namespace portolan
