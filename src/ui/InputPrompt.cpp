#include "ui/InputPrompt.h"

#include "book/Messages.h"
#include "ui/aboutUnit.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/FramePlacement.h"
#include "ui/widgets/QtText.h"
#include "ui/widgets/RoleDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace portolan {

namespace {

constexpr int maxInputLength = 255;

class InputForm final : public RoleDialog {
public:
    InputForm(std::string_view caption, std::string_view prompt, std::string_view proposed)
        : RoleDialog(unicodeToQString(caption)) {
        setObjectName(QStringLiteral("InputForm"));
        const DialogUnits units(font());
        setFixedSize(units.x(180), units.y(63));

        auto* label = new QLabel(unicodeToQString(prompt), this);
        label->setObjectName(QStringLiteral("Prompt"));
        label->setTextFormat(Qt::PlainText);
        label->move(units.x(8), units.y(8));
        label->adjustSize();

        edit_ = new QLineEdit(this);
        edit_->setObjectName(QStringLiteral("Edit"));
        edit_->setMaxLength(maxInputLength);
        edit_->setText(unicodeToQString(proposed));
        edit_->setGeometry(units.x(8), units.y(19), units.x(164), edit_->sizeHint().height());
        edit_->selectAll();
        label->setBuddy(edit_);

        const QSize buttonSize(units.x(50), units.y(14));
        auto* ok = addAnswerButton(QStringLiteral("OK"), QStringLiteral("OK"),
                                   QRect(QPoint(units.x(38), units.y(41)), buttonSize), AnswerOK);
        auto* cancel = addAnswerButton(QStringLiteral("Cancel"), QStringLiteral("Cancel"),
                                       QRect(QPoint(units.x(92), units.y(41)), buttonSize), AnswerCancel);
        setRoles(ok, cancel);
        edit_->setFocus(); // the box, not the default button, starts with the focus
    }

    QString text() const { return edit_->text(); }

protected:
    // Centred by its outer size; a negative left or top is raised to 0.
    void showEvent(QShowEvent* event) override {
        RoleDialog::showEvent(event);
        placeByOuterFrame(*this, [](QSize outer) {
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            return screen.topLeft() + centredOrigin(screen.size(), outer);
        });
    }

private:
    QLineEdit* edit_;
};

} // namespace

std::optional<std::string> InputPrompt(std::string_view caption, std::string_view prompt,
                                       std::string_view proposed) {
    InputForm form(caption, prompt, proposed);
    if (runModal(form) == AnswerOK)
        return unicodeFromQString(form.text());
    return std::nullopt;
}

} // namespace portolan
