#include "ui/MessageDialog.h"

#include "ui/platform/HelpViewer.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/FramePlacement.h"
#include "ui/widgets/QtText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>

namespace portolan {

namespace {

struct ButtonEntry {
    MessageButtons bit;
    const char* name;
    const char* caption;
    std::optional<int> answer; // none for Help, which keeps the dialog open
};

// In their fixed left-to-right order.
constexpr std::array<ButtonEntry, 9> buttonTable{{
    {button::Yes, "Yes", "&Yes", AnswerYes},
    {button::No, "No", "&No", AnswerNo},
    {button::OK, "OK", "OK", AnswerOK},
    {button::Cancel, "Cancel", "Cancel", AnswerCancel},
    {button::Abort, "Abort", "&Abort", AnswerAbort},
    {button::Retry, "Retry", "&Retry", AnswerRetry},
    {button::Ignore, "Ignore", "&Ignore", AnswerIgnore},
    {button::All, "All", "&All", AnswerAll},
    {button::Help, "Help", "&Help", std::nullopt},
}};

QString captionOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirmation:
        return QStringLiteral("Confirm");
    case MessageKind::Custom:
        break;
    }
    return QApplication::applicationDisplayName();
}

std::optional<QStyle::StandardPixmap> iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageKind::Error:
        return QStyle::SP_MessageBoxCritical;
    case MessageKind::Information:
        return QStyle::SP_MessageBoxInformation;
    case MessageKind::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    case MessageKind::Custom:
        break;
    }
    return std::nullopt;
}

// Every line break of the text (CR LF, CR or LF alone) as the one Qt lays out.
QString withLineFeeds(std::string_view text) {
    QString result = unicodeToQString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

constexpr int iconSize = 32;

// The layout in units of the dialog's font.
constexpr int marginUnits = 8;
constexpr int iconSpacingUnits = 10;
constexpr int textToButtonsUnits = 10;
constexpr int buttonWidthUnits = 50;
constexpr int buttonHeightUnits = 14;
constexpr int buttonSpacingUnits = 4;
constexpr int textToDetailsUnits = 4;
constexpr int detailRows = 10;
constexpr int detailPadding = 8; // an item's own margins around its text

// The list of detail lines, sized to show them: as wide as its longest line or minWidth, at most
// maxWidth, and at most detailRows lines high; what does not fit is scrolled to.
QListWidget* makeDetailsList(QWidget* parent, const std::vector<std::string>& details, int minWidth,
                             int maxWidth) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("Details"));
    list->setAccessibleName(QStringLiteral("Details"));
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    int widest = 0;
    for (const std::string& line : details) {
        list->addItem(unicodeToQString(line));
        widest =
            std::max(widest, list->fontMetrics().horizontalAdvance(list->item(list->count() - 1)->text()));
    }
    const int frame = 2 * list->frameWidth();
    const int rows = std::min(static_cast<int>(details.size()), detailRows);
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int verticalBar = static_cast<int>(details.size()) > detailRows ? scrollBar : 0;
    const int wanted = widest + detailPadding + frame + verticalBar;
    const int width = std::clamp(wanted, minWidth, std::max(minWidth, maxWidth));
    const int horizontalBar = wanted > width ? scrollBar : 0;
    list->resize(width, rows * list->sizeHintForRow(0) + frame + horizontalBar);
    return list;
}

} // namespace

TMessageForm::TMessageForm(std::string_view text, MessageKind kind, MessageButtons buttons,
                           const std::vector<std::string>& details)
    : RoleDialog(captionOf(kind)) {
    setObjectName(QStringLiteral("TMessageForm"));
    const DialogUnits units(font());
    const int horzMargin = units.x(marginUnits);
    const int vertMargin = units.y(marginUnits);
    const int iconSpacing = units.x(iconSpacingUnits);
    const int textToButtons = units.y(textToButtonsUnits);
    const int buttonWidth = units.x(buttonWidthUnits);
    const int buttonHeight = units.y(buttonHeightUnits);
    const int buttonSpacing = units.x(buttonSpacingUnits);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    auto* message = new QLabel(this);
    message->setObjectName(QStringLiteral("Message"));
    message->setTextFormat(Qt::PlainText); // shown as written: no markup, no access keys
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message->setText(withLineFeeds(text));
    const QRect textBlock = message->fontMetrics().boundingRect(
        QRect(0, 0, screen.width() / 2, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, message->text());
    int textWidth = textBlock.width();
    int textHeight = textBlock.height();
    int textLeft = horzMargin;
    QListWidget* detailsList = nullptr;
    if (!details.empty()) {
        detailsList = makeDetailsList(this, details, textWidth, screen.width() / 2);
        textWidth = std::max(textWidth, detailsList->width());
        textHeight += units.y(textToDetailsUnits) + detailsList->height();
    }

    if (const auto icon = iconOf(kind)) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image"));
        image->setPixmap(style()->standardIcon(*icon, nullptr, this).pixmap(iconSize, iconSize));
        image->setGeometry(horzMargin, vertMargin, iconSize, iconSize);
        textLeft += iconSize + iconSpacing;
        textWidth += iconSize + iconSpacing;
        textHeight = std::max(textHeight, iconSize);
    }
    message->setGeometry(textLeft, vertMargin, textBlock.width(), textBlock.height());
    if (detailsList)
        detailsList->move(textLeft, vertMargin + textBlock.height() + units.y(textToDetailsUnits));

    const auto count = static_cast<int>(std::count_if(buttonTable.begin(), buttonTable.end(),
                                                      [&](const auto& e) { return buttons & e.bit; }));
    const int rowWidth = count == 0 ? 0 : count * buttonWidth + (count - 1) * buttonSpacing;
    const QSize client(std::max(textWidth, rowWidth) + 2 * horzMargin,
                       textHeight + buttonHeight + textToButtons + 2 * vertMargin);
    setFixedSize(client);

    // Indexed like the table.
    std::array<QPushButton*, buttonTable.size()> made{};
    int left = (client.width() - rowWidth) / 2;
    const int top = textHeight + vertMargin + textToButtons;
    for (std::size_t index = 0; index < buttonTable.size(); ++index) {
        const ButtonEntry& entry = buttonTable[index];
        if (!(buttons & entry.bit))
            continue;
        const QRect place(left, top, buttonWidth, buttonHeight);
        made[index] = entry.answer ? addAnswerButton(entry.name, entry.caption, place, *entry.answer)
                                   : addButton(entry.name, entry.caption, place,
                                               [this] { showContents(QStringLiteral("prtln.hlp"), this); });
        left += buttonWidth + buttonSpacing;
    }
    // The first of the candidates that the set holds, else none.
    const auto firstMade = [&](std::initializer_list<MessageButtons> candidates) -> QPushButton* {
        for (const MessageButtons bit : candidates)
            for (std::size_t index = 0; index < buttonTable.size(); ++index)
                if (buttonTable[index].bit == bit && made[index])
                    return made[index];
        return nullptr;
    };
    setRoles(firstMade({button::OK, button::Yes, button::Retry}),
             firstMade({button::Cancel, button::No, button::OK}));
}

void TMessageForm::showEvent(QShowEvent* event) {
    RoleDialog::showEvent(event);
    placeByOuterFrame(*this, [](QSize outer) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return QPoint(screen.left() + screen.width() / 2 - outer.width() / 2,
                      screen.top() + screen.height() / 2 - outer.height() / 2); // no further correction
    });
}

// A message dialog holds nothing to type into, so a letter alone may press a button, as the system's
// message boxes let it; with Alt, where Qt's own access keys have not taken it already, it does the
// same. A letter that two buttons share ("&Abort", "&All") moves the focus between them instead.
void TMessageForm::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers ignored = Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier;
    QList<QPushButton*> matching;
    if ((event->modifiers() & ~ignored) == Qt::NoModifier)
        for (QPushButton* button : findChildren<QPushButton*>()) {
            // A button without an access letter ("OK") has an empty one, whose key code 0 is also that
            // of a key press Qt cannot name, such as a composed letter.
            const QKeySequence letter = QKeySequence::mnemonic(button->text());
            if (!letter.isEmpty() && letter[0].key() == event->key())
                matching << button;
        }
    if (matching.isEmpty()) {
        RoleDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (matching.size() == 1) {
        matching.front()->click();
        return;
    }
    const auto focused = std::find(matching.begin(), matching.end(), focusWidget());
    const auto next =
        focused == matching.end() || focused + 1 == matching.end() ? matching.begin() : focused + 1;
    (*next)->setFocus(Qt::ShortcutFocusReason);
}

int MessageDialog(std::string_view text, MessageKind kind, MessageButtons buttons, int /*helpContext*/) {
    TMessageForm form(text, kind, buttons);
    return runModal(form);
}

int MessageDialogWithDetails(std::string_view text, MessageKind kind, MessageButtons buttons,
                             const std::vector<std::string>& details) {
    TMessageForm form(text, kind, buttons, details);
    return runModal(form);
}

} // namespace portolan
