#pragma once

#include <cstdint>
#include <string_view>

namespace portolan {

// What a message dialog shows: the kind picks its caption and icon.
enum class MessageKind { Warning, Error, Information, Confirmation, Custom };

// A set of buttons, one bit per button; the bit order is also the left-to-right order on screen.
using MessageButtons = std::uint16_t;
namespace button {
inline constexpr MessageButtons Yes = 1 << 0;
inline constexpr MessageButtons No = 1 << 1;
inline constexpr MessageButtons OK = 1 << 2;
inline constexpr MessageButtons Cancel = 1 << 3;
inline constexpr MessageButtons Abort = 1 << 4;
inline constexpr MessageButtons Retry = 1 << 5;
inline constexpr MessageButtons Ignore = 1 << 6;
inline constexpr MessageButtons All = 1 << 7;
inline constexpr MessageButtons Help = 1 << 8;
} // namespace button

// The answer of a message dialog; closing it by its close box answers Cancel.
enum MessageAnswer : int {
    AnswerOK = 1,
    AnswerCancel = 2,
    AnswerAbort = 3,
    AnswerRetry = 4,
    AnswerIgnore = 5,
    AnswerYes = 6,
    AnswerNo = 7,
    AnswerAll = 8,
};

// How the site book reaches the user: a modal message with a kind and a button set, and the beep.
// The window implements it; tests record the calls. The text is Unicode, in UTF-8: the program's words,
// a path as it stands (its bytes are UTF-8 on Linux), and a Windows-1252 text of a site file or a date
// only once converted by utf8FromCp1252.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual int MessageDialog(std::string_view text, MessageKind kind, MessageButtons buttons) = 0;
    virtual void beep() = 0;
};

} // namespace portolan
