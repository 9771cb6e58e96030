#pragma once

#include "book/Messages.h"
#include "ui/widgets/RoleDialog.h"

#include <string>
#include <string_view>
#include <vector>

namespace portolan {

// Shows text (Unicode, in UTF-8) modally in a TMessageForm with the caption and icon of kind and the
// buttons of the set, and returns the answer of the button pressed, or AnswerCancel when the dialog is
// closed any other way. The Help button leaves the dialog open and shows the help file's contents:
// the help file has no numbered topics, so helpContext (0 in every call) selects nothing else. The dialog is
// destroyed before the call returns.
int MessageDialog(std::string_view text, MessageKind kind, MessageButtons buttons, int helpContext);

// The same dialog with a list of lines under the text (UTF-8), as the import's summary shows what
// happens to each site.
int MessageDialogWithDetails(std::string_view text, MessageKind kind, MessageButtons buttons,
                             const std::vector<std::string>& details);

// The message dialog window. Its parts are named "Image" (the 32 x 32 icon; absent for Custom),
// "Message" (the text) and, for each button of the set, the button's name: "Yes", "No", "OK", "Cancel",
// "Abort", "Retry", "Ignore", "All", "Help". It sizes itself around the text, wrapped at half the
// primary screen's width, with the buttons in one centred row below, and centres itself on the screen.
// The default button is OK, else Yes, else Retry; the Escape button is Cancel, else No, else OK; a
// role whose button is not in the set has none. A button's access letter presses it with or without
// Alt ("n" answers No), as in the system's message boxes. Given details, a list named "Details" under
// the text shows them, as wide as the text or its longest line (at most half the screen) and at most
// ten lines high, and scrolls.
class TMessageForm : public RoleDialog {
    Q_OBJECT
public:
    TMessageForm(std::string_view text, MessageKind kind, MessageButtons buttons,
                 const std::vector<std::string>& details = {});

protected:
    // Centred by integer halves of the screen and of the outer size, frame included.
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace portolan
