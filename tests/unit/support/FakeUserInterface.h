#pragma once

#include "book/DayNumber.h"
#include "commands/Launcher.h"
#include "commands/UserInterface.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace portolan::testing {

// What a message dialog answers when the user closes it without pressing a button (its close box, the
// window manager's close), whatever buttons it has.
inline constexpr int closedDialogAnswer = AnswerCancel;

// A user interface that records what the commands do to it and answers from queues. The log holds
// one line per call in order, so tests can check what came first.
class FakeUserInterface final : public UserInterface {
public:
    struct Message {
        std::string text;
        MessageKind kind;
        MessageButtons buttons;
        std::vector<std::string> details; // the lines under the text, for the one message that has them
    };

    std::vector<std::string> log;
    std::vector<Message> messages;
    std::deque<int> answers; // answers to MessageDialog, then defaultAnswer
    int defaultAnswer = AnswerOK;
    std::map<FileDialog, std::deque<std::optional<std::string>>> fileNames; // nothing = cancelled
    std::deque<std::optional<std::string>> promptAnswers; // nothing, or none left = cancelled
    std::vector<std::string> items;                       // the site list, kept sorted
    int selected = -1;
    std::string title;
    std::string status[2];
    std::map<SiteControl, bool> enabled;
    WindowBounds bounds{10, 20, 270, 217};
    std::function<void()> siteDialog;     // what the user does while the add/edit dialog is open
    std::function<void()> whilePrompting; // what happens while the input prompt is open

    int MessageDialog(std::string_view text, MessageKind kind, MessageButtons buttons) override {
        return MessageDialogWithDetails(text, kind, buttons, {});
    }
    int MessageDialogWithDetails(std::string_view text, MessageKind kind, MessageButtons buttons,
                                 const std::vector<std::string>& details) override {
        messages.push_back({std::string(text), kind, buttons, details});
        log.push_back("message " + std::string(text));
        if (answers.empty())
            return defaultAnswer;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep() override { log.push_back("beep"); }

    std::optional<std::string> InputQuery(std::string_view caption, std::string_view prompt,
                                          std::string_view proposed) override {
        log.push_back("prompt " + std::string(caption) + "|" + std::string(prompt) + "|" +
                      std::string(proposed));
        if (whilePrompting)
            whilePrompting();
        if (promptAnswers.empty())
            return std::nullopt;
        auto answer = promptAnswers.front();
        promptAnswers.pop_front();
        return answer;
    }

    std::optional<std::string> runFileDialog(FileDialog dialog) override {
        log.push_back("file dialog " + std::to_string(static_cast<int>(dialog)));
        auto& queue = fileNames[dialog];
        if (queue.empty())
            return std::nullopt;
        auto name = queue.front();
        queue.pop_front();
        return name;
    }
    void clearFileDialogName(FileDialog dialog) override {
        log.push_back("clear file name " + std::to_string(static_cast<int>(dialog)));
    }

    void addSiteItem(std::string_view description) override {
        const std::string kept = selected >= 0 ? items[selected] : std::string();
        items.insert(std::upper_bound(items.begin(), items.end(), description), std::string(description));
        if (selected >= 0)
            selected = static_cast<int>(std::find(items.begin(), items.end(), kept) - items.begin());
    }
    void deleteSiteItem(int index) override {
        items.erase(items.begin() + index);
        if (selected == index)
            selected = -1;
        else if (selected > index)
            --selected;
    }
    void clearSiteItems() override {
        items.clear();
        selected = -1;
    }
    int selectedSiteIndex() const override { return selected; }
    std::string siteItemText(int index) const override { return items.at(index); }

    // Selects the item with this text, as a click would (the caller then runs the click handler).
    void select(const std::string& text) {
        selected = static_cast<int>(std::find(items.begin(), items.end(), text) - items.begin());
        if (selected == static_cast<int>(items.size()))
            selected = -1;
    }

    void setStatusText(int panel, std::string_view text) override { status[panel] = std::string(text); }
    void setTitle(std::string_view text) override {
        title = std::string(text);
        log.push_back("title " + title);
    }
    void setControlEnabled(SiteControl control, bool state) override { enabled[control] = state; }
    WindowBounds windowBounds() const override { return bounds; }

    void showSiteDialog() override {
        log.push_back("site dialog");
        if (siteDialog)
            siteDialog();
    }
};

// A launcher that remembers every command line it was given.
class RecordingLauncher final : public Launcher {
public:
    std::vector<std::string> commandLines;
    void WinExec(std::string_view commandLine) override { commandLines.emplace_back(commandLine); }
};

// A clock standing still on one day.
class FixedClock final : public Clock {
public:
    explicit FixedClock(CalendarDate date) : date(date) {}
    CalendarDate date;
    CalendarDate localDate() const override { return date; }
};

} // namespace portolan::testing
