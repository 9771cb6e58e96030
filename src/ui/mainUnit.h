#pragma once

#include "commands/Session.h"
#include "commands/UserInterface.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/Glyphs.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QLabel;
class QTimer;

namespace portolan {

class SiteList;
class SpeedButton;
class TaboutFRM;
class TaddFRM;
class TexportFRM;
class TconfigFRM;

// The secondary windows, created once after the main window and kept until the program ends.
struct SecondaryWindows {
    TaboutFRM* aboutFRM = nullptr;
    TaddFRM* addFRM = nullptr;
    TexportFRM* exportFRM = nullptr;
    TconfigFRM* configFRM = nullptr;
};

// The main window: the sorted site list under the tool bar, the menus and the two-panel status bar.
// It holds no rules of its own: every menu item, button and list gesture runs a command, and the
// commands reach the window through the UserInterface it implements. Every handler runs guarded.
class TmainFRM : public QMainWindow, public UserInterface {
    Q_OBJECT
public:
    // Reads the settings file into the session and takes the stored bounds as usableStartBounds makes
    // them fit the screens, or the design size.
    // startupFile is the first command-line argument, opened when the window is first shown.
    TmainFRM(Session& session, std::optional<std::string> startupFile, QWidget* parent = nullptr);
    ~TmainFRM() override;

    void setSecondaryWindows(const SecondaryWindows& windows);

    // Puts a dialog 20 pixels right of and 22 below the main window's top-left corner, pulled back
    // so that its right and bottom edges do not pass those of the screen.
    void placeDialog(QWidget& dialog) const;

    // The command by which the desktop's session starts the program again at the next login: the
    // program with the book's file when it has one. Qt's own would add "-session" and its key, which
    // the program would take for the name of a site file.
    QStringList restartCommand() const;

    // UserInterface
    int MessageDialog(std::string_view text, MessageKind kind, MessageButtons buttons) override;
    int MessageDialogWithDetails(std::string_view text, MessageKind kind, MessageButtons buttons,
                                 const std::vector<std::string>& details) override;
    void beep() override;
    std::optional<std::string> InputQuery(std::string_view caption, std::string_view prompt,
                                          std::string_view proposed) override;
    std::optional<std::string> runFileDialog(FileDialog dialog) override;
    void clearFileDialogName(FileDialog dialog) override;
    void addSiteItem(std::string_view description) override;
    void deleteSiteItem(int index) override;
    void clearSiteItems() override;
    int selectedSiteIndex() const override;
    std::string siteItemText(int index) const override;
    void setStatusText(int panel, std::string_view text) override;
    void setTitle(std::string_view title) override;
    void setControlEnabled(SiteControl control, bool enabled) override;
    WindowBounds windowBounds() const override;
    void showSiteDialog() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createSiteBox();
    void createStatusBar();
    void applyStartBounds();
    void compensateFrameOnce();
    QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption,
                         std::function<void()> command, const QKeySequence& shortcut = {});
    // A key that is the shortcut of a menu item that is disabled now.
    bool isDisabledShortcut(const QKeyEvent& key) const;
    void addSpeedButton(const QString& name, Glyph glyph, const QString& hint, int left,
                        std::function<void()> command);

    void HelpTopics1Click();
    void About1Click();
    void ExportASCIIlist1Click();
    void Options1Click();

    Session& session_;
    std::optional<std::string> startupFile_;
    SecondaryWindows windows_;

    SiteList* SiteBox = nullptr;
    QLabel* statusPanels_[2] = {nullptr, nullptr};
    QTimer* Timer1 = nullptr;
    FileDialogOnDemand OpenDialog1;
    FileDialogOnDemand SaveDialog1;
    FileDialogOnDemand ImportDialog1;
    std::map<QString, QAction*> actions_;
    std::map<QString, QWidget*> buttons_;

    bool shownBefore_ = false;
    bool frameCompensated_ = false;
    QSize wantedOuterSize_;
};

} // namespace portolan
