#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace portolan {

// The one-line input dialog: caption, prompt and a box holding proposed, all of it selected, with
// "OK" (default, Enter) and "Cancel" (Escape). Shown modally, centred on the primary screen. Returns
// the box's text exactly as typed (not trimmed, possibly empty) when OK is pressed, and proposed
// unchanged on Cancel, Escape or the close box. At most 255 characters can be typed. Texts are
// Unicode, in UTF-8. The dialog is destroyed before the call returns.
std::optional<std::string> InputPrompt(std::string_view caption, std::string_view prompt,
                                       std::string_view proposed);

} // namespace portolan
