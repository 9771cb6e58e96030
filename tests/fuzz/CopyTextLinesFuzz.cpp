// Copies arbitrary bytes as an export header or footer and compares the result with a plain model of
// the line rules: text up to the first Ctrl-Z, a line ending at each CR (an LF right after it belongs
// to that end), every line written with CR LF, and no empty line after a final line end.
#include "../unit/support/MemoryStream.h"

#include "commands/ExportText.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace portolan;

namespace {

std::string modelCopy(const std::string& input) {
    const std::string text = input.substr(0, input.find('\x1a'));
    std::string copied, line;
    bool lineOpen = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r') {
            copied += line + "\r\n";
            line.clear();
            lineOpen = false;
            if (at + 1 < text.size() && text[at + 1] == '\n')
                ++at;
        } else {
            line += text[at];
            lineOpen = true;
        }
    }
    if (lineOpen)
        copied += line + "\r\n";
    return copied;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    testing::MemoryStream source(input);
    testing::MemoryStream target;
    if (copyTextLines(source, target) != 0 || target.bytes() != modelCopy(input))
        std::abort();
    return 0;
}
