#pragma once

namespace portolan::test {

// Where FileZilla keeps its settings: in its own folder inside the folder that an environment variable
// names, the user's configuration folder.
struct FileZillaPlace {
    const char* variable;
    const char* folder;
};
inline constexpr FileZillaPlace fileZillaPlace{"XDG_CONFIG_HOME", "filezilla"};

} // namespace portolan::test
