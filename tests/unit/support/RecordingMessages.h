#pragma once

#include "book/Messages.h"

#include <deque>
#include <ostream>
#include <string>
#include <vector>

namespace portolan::testing {

// A message sink that records every message and beep in one ordered log, and answers each message
// from a queue of answers, then with defaultAnswer.
class RecordingMessages final : public MessageSink {
public:
    struct Call {
        bool beep = false; // a beep, or else a message
        std::string text;
        MessageKind kind = MessageKind::Custom;
        MessageButtons buttons = 0;

        static Call message(std::string text, MessageKind kind, MessageButtons buttons) {
            return {false, std::move(text), kind, buttons};
        }
        static Call sound() { return {true, {}, MessageKind::Custom, 0}; }
        friend bool operator==(const Call&, const Call&) = default;
    };

    std::vector<Call> log;
    std::deque<int> answers;
    int defaultAnswer = AnswerOK;

    int MessageDialog(std::string_view text, MessageKind kind, MessageButtons buttons) override {
        log.push_back(Call::message(std::string(text), kind, buttons));
        if (answers.empty())
            return defaultAnswer;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void beep() override { log.push_back(Call::sound()); }
};

// Prints a call in a failed expectation.
inline void PrintTo(const RecordingMessages::Call& call, std::ostream* out) {
    if (call.beep)
        *out << "beep";
    else
        *out << "message \"" << call.text << "\" kind " << static_cast<int>(call.kind) << " buttons "
             << call.buttons;
}

} // namespace portolan::testing
