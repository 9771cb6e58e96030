// A stand-in FTP client for the launch tests: writes each argument it was started with, followed by a
// NUL byte, to the file named by PORTOLAN_RECORD_ARGUMENTS, so a test can compare them exactly.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char* argv[]) {
    const char* target = std::getenv("PORTOLAN_RECORD_ARGUMENTS");
    if (!target)
        return 2;
    std::ofstream record(std::string(target) + ".part", std::ios::binary);
    for (int i = 1; i < argc; ++i)
        record << argv[i] << '\0';
    record.close();
    // Renamed into place only when complete, so a reader never sees half a record.
    return std::rename((std::string(target) + ".part").c_str(), target) == 0 ? 0 : 1;
}
