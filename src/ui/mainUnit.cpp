#include "ui/mainUnit.h"

#include "commands/BookCommands.h"
#include "commands/ClientLaunch.h"
#include "commands/ImportSites.h"
#include "commands/PurgeOld.h"
#include "commands/SiteEditing.h"
#include "commands/SiteInformation.h"
#include "commands/SiteSelection.h"
#include "commands/StartBounds.h"
#include "ui/InputPrompt.h"
#include "ui/MessageDialog.h"
#include "ui/aboutUnit.h"
#include "ui/addUnit.h"
#include "ui/configUnit.h"
#include "ui/exportUnit.h"
#include "ui/platform/HelpViewer.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/FramePlacement.h"
#include "ui/widgets/Guard.h"
#include "ui/widgets/PanelStatusBar.h"
#include "ui/widgets/QtText.h"
#include "ui/widgets/SiteItem.h"
#include "ui/widgets/SiteList.h"
#include "ui/widgets/SpeedButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace portolan {

namespace {

constexpr QSize designOuterSize(designOuterWidth, designOuterHeight);

// The areas of the screens that windows may take, the primary screen's first.
std::vector<WindowBounds> screenAreas() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<QScreen*> screens = QGuiApplication::screens();
    std::stable_partition(screens.begin(), screens.end(),
                          [&](const QScreen* screen) { return screen == primary; });
    std::vector<WindowBounds> areas;
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.left(), area.top(), area.width(), area.height()});
    }
    return areas;
}

const char* controlName(SiteControl control) {
    switch (control) {
    case SiteControl::DeletePD:
        return "DeletePD";
    case SiteControl::DeleteSB:
        return "DeleteSB";
    case SiteControl::editSB:
        return "editSB";
    case SiteControl::getInfoPD:
        return "getInfoPD";
    case SiteControl::getInfoSB:
        return "getInfoSB";
    }
    return "";
}

} // namespace

TmainFRM::TmainFRM(Session& session, std::optional<std::string> startupFile, QWidget* parent)
    : QMainWindow(parent), session_(session), startupFile_(std::move(startupFile)),
      OpenDialog1(this, "OpenDialog1", "Open a site file", "Portolan files (*.ptn)", "ptn",
                  FileRole::OpenExisting),
      SaveDialog1(this, "SaveDialog1", "Save a site file", "Portolan files (*.ptn)", "ptn", FileRole::Save),
      ImportDialog1(
          this, "ImportDialog1", "Import sites",
          "All site lists (sitemanager.xml *.xml WinSCP.ini *.ini *.csv *.ptn);;"
          "FileZilla site manager (sitemanager.xml *.xml);;WinSCP configuration (WinSCP.ini *.ini);;"
          "CSV (*.csv);;Portolan site files (*.ptn);;All files (*)",
          "", FileRole::OpenExisting) {
    setObjectName("mainFRM");
    setWindowTitle("Portolan - untitled");

    createActions();
    createToolBar();
    createSiteBox();
    createStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([&] { Timer1Timer(session_, *this); }); });
    Timer1->start();

    // FormCreate: the stored bounds, ClientCommand and UseAnonymParam, before any dialog exists.
    guarded([&] { loadSettings(session_); });
    applyStartBounds();

    // The system asks before it logs off or shuts down; the question needs the session's leave.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!manager.allowsInteraction())
            return;
        bool mayEnd = true;
        guarded([&] { mayEnd = FormCloseQuery(session_, *this); });
        manager.release();
        if (!mayEnd)
            manager.cancel();
    });
    connect(qApp, &QGuiApplication::saveStateRequest, this,
            [this](QSessionManager& manager) { manager.setRestartCommand(restartCommand()); });
}

QStringList TmainFRM::restartCommand() const {
    QStringList command{QCoreApplication::applicationFilePath()};
    if (!session_.SiteFileName.empty()) // a name from the command line may be relative to another folder
        command << QFileInfo(pathToQString(session_.SiteFileName)).absoluteFilePath();
    return command;
}

TmainFRM::~TmainFRM() = default;

void TmainFRM::setSecondaryWindows(const SecondaryWindows& windows) {
    windows_ = windows;
}

QAction* TmainFRM::addMenuItem(QMenu* menu, const QString& name, const QString& caption,
                               std::function<void()> command, const QKeySequence& shortcut) {
    auto* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [command] { guarded(command); });
    actions_[name] = action;
    return action;
}

void TmainFRM::createActions() {
    menuBar()->setObjectName("MainMenu1");
    auto menu = [this](const char* name, const char* caption) {
        QMenu* item = menuBar()->addMenu(caption);
        item->setObjectName(name);
        return item;
    };
    auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* File1 = menu("File1", "&File");
    addMenuItem(File1, "New1", "&New", [this] { newBook(session_, *this); });
    addMenuItem(File1, "Open1", "&Open", [this] { openSiteFile(session_, *this); });
    addMenuItem(File1, "Save1", "&Save", [this] { saveSiteFile(session_, *this); });
    addMenuItem(File1, "SaveAs1", "Save &As", [this] { saveasSiteFile(session_, *this); });
    addMenuItem(File1, "Import1", "&Import...", [this] { importSites(session_, *this); });
    separator(File1, "N1");
    addMenuItem(File1, "Exit1", "&Exit", [this] { close(); });

    QMenu* Edit1 = menu("Edit1", "&Edit");
    addMenuItem(
        Edit1, "Insert1", "&Insert", [this] { addSite(session_, *this); }, Qt::Key_Insert);
    addMenuItem(
        Edit1, "DeletePD", "&Delete", [this] { deleteSite(session_, *this); }, Qt::Key_Delete)
        ->setEnabled(false);
    separator(Edit1, "N2");
    QAction* getInfoPD =
        addMenuItem(Edit1, "getInfoPD", "&Get Information", [this] { ShowSiteInformation(session_, *this); });
    getInfoPD->setToolTip("Get Site Information"); // a hint that nothing shows: menus show no tool tips
    getInfoPD->setEnabled(false);

    QMenu* Tools1 = menu("Tools1", "&Tools");
    addMenuItem(Tools1, "PurgeOld1", "&Purge Old", [this] { PurgeOldSites(session_, *this); });
    addMenuItem(Tools1, "ExportASCIIlist1", "&Export to ASCII", [this] { ExportASCIIlist1Click(); });
    separator(Tools1, "N3");
    addMenuItem(Tools1, "Options1", "&Configure FTP Client", [this] { Options1Click(); });

    QMenu* Help1 = menu("Help1", "&Help");
    addMenuItem(
        Help1, "HelpTopics1", "&Help Topics", [this] { HelpTopics1Click(); }, Qt::Key_F1);
    addMenuItem(Help1, "About1", "&About", [this] { About1Click(); });
}

void TmainFRM::addSpeedButton(const QString& name, Glyph glyph, const QString& hint, int left,
                              std::function<void()> command) {
    auto* button = new SpeedButton(name, glyphIcon(glyph), hint, findChild<QFrame*>("Panel1"));
    button->move(left, 8);
    connect(button, &QToolButton::clicked, this, [command] { guarded(command); });
    buttons_[name] = button;
}

void TmainFRM::createToolBar() {
    // The form's own colour lies under the tool bar and the site list, which cover it entirely; the
    // menu bar and the status bar keep the system's colours.
    auto* central = new QWidget(this);
    QPalette colours = central->palette();
    colours.setColor(QPalette::Window, QColor(213, 203, 149));
    central->setPalette(colours);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    auto* Panel1 = new QFrame(central);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    Panel1->setFixedHeight(41);
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::Button);
    layout->addWidget(Panel1);

    addSpeedButton("NewSB", Glyph::New, "New", 8, [this] { newBook(session_, *this); });
    addSpeedButton("OpenSB", Glyph::Open, "Open", 33, [this] { openSiteFile(session_, *this); });
    addSpeedButton("SaveSB", Glyph::Save, "Save", 58, [this] { saveSiteFile(session_, *this); });
    addSpeedButton("InsertSB", Glyph::Insert, "Insert", 90, [this] { addSite(session_, *this); });
    addSpeedButton("DeleteSB", Glyph::Delete, "Delete", 115, [this] { deleteSite(session_, *this); });
    addSpeedButton("editSB", Glyph::Edit, "Edit Site", 147, [this] { editSBClick(session_, *this); });
    addSpeedButton("getInfoSB", Glyph::Information, "Get Information", 172,
                   [this] { ShowSiteInformation(session_, *this); });
    addSpeedButton("SpeedButton4", Glyph::Help, "Help", 205, [this] { HelpTopics1Click(); });
    for (const char* name : {"DeleteSB", "editSB", "getInfoSB"})
        buttons_[name]->setEnabled(false);
}

void TmainFRM::createSiteBox() {
    SiteBox = new SiteList(centralWidget());
    SiteBox->setObjectName("SiteBox");
    SiteBox->setAccessibleName("Sites");
    SiteBox->setSortingEnabled(true);
    SiteBox->setSelectionMode(QAbstractItemView::SingleSelection);
    SiteBox->setUniformItemSizes(true);
    centralWidget()->layout()->addWidget(SiteBox);
    SiteBox->setFocus();
    // Commands change the items with the signals blocked, so this runs only for the user's changes.
    connect(SiteBox, &SiteList::siteChosen, this,
            [this] { guarded([&] { SiteBoxClick(session_, *this); }); });
    SiteBox->installEventFilter(this);
    SiteBox->viewport()->installEventFilter(this);
}

void TmainFRM::createStatusBar() {
    auto* bar = new PanelStatusBar(this, {30, 20});
    bar->setObjectName("StatusBar1");
    setStatusBar(bar);
    for (int panel = 0; panel < 2; ++panel)
        statusPanels_[panel] = bar->panel(panel);
    statusPanels_[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusPanels_[0]->setText("0");
}

void TmainFRM::applyStartBounds() {
    const Settings& stored = session_.settings;
    if (session_.settingsRead) {
        // Bounds from another screen setup, or from any program, are made usable first.
        const WindowBounds bounds =
            usableStartBounds({stored.Left, stored.Top, stored.Width, stored.Height}, screenAreas(),
                              style()->pixelMetric(QStyle::PM_TitleBarHeight));
        move(bounds.Left, bounds.Top);
        wantedOuterSize_ = QSize(bounds.Width, bounds.Height);
    } else {
        wantedOuterSize_ = designOuterSize;
    }
    resize(wantedOuterSize_);
}

// The stored size is the outer frame's; the window manager adds its frame after the window is first
// mapped, so the inner size is corrected once the frame is known.
void TmainFRM::compensateFrameOnce() {
    if (frameCompensated_ || !shownBefore_)
        return;
    const QMargins frame = knownFrame(*this);
    if (frame.isNull())
        return; // not known yet, or no frame at all
    frameCompensated_ = true;
    resize(wantedOuterSize_.shrunkBy(frame));
}

void TmainFRM::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    compensateFrameOnce();
}

void TmainFRM::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    compensateFrameOnce();
}

void TmainFRM::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownBefore_)
        return;
    shownBefore_ = true;
    compensateFrameOnce(); // where the frame is known at once; others report it by a later move
    // FormShow: the site file named on the command line.
    if (startupFile_)
        guarded([&] { openStartupFile(session_, *this, *startupFile_); });
}

void TmainFRM::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    guarded([&] { mayClose = FormCloseQuery(session_, *this); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit(); // the export dialog, if open, goes with the main window
}

bool TmainFRM::isDisabledShortcut(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    return std::any_of(actions_.begin(), actions_.end(), [&](const auto& item) {
        return !item.second->isEnabled() && item.second->shortcut() == pressed;
    });
}

bool TmainFRM::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SiteBox && event->type() == QEvent::KeyPress) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        // Qt hands the key of a disabled menu item's shortcut to the focused widget; it does nothing.
        if (isDisabledShortcut(key))
            return true;
        if (key.text() == "?")
            guarded([&] { ShowSiteInformation(session_, *this); }); // the list still gets the "?" after
    }
    if (watched == SiteBox->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        guarded([&] { SiteBoxDblClick(session_); });
    return QMainWindow::eventFilter(watched, event);
}

void TmainFRM::placeDialog(QWidget& dialog) const {
    placeByOuterFrame(dialog, [this](QSize outer) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect main = outerGeometry(*this);
        int left = main.left() + 20;
        int top = main.top() + 22;
        if (screen.width() < left + outer.width())
            left = screen.width() - outer.width();
        if (screen.height() < top + outer.height())
            top = screen.height() - outer.height();
        return QPoint(left, top);
    });
}

void TmainFRM::HelpTopics1Click() {
    if (showContents("prtln.hlp", this))
        jumpToTopic("Index");
}

void TmainFRM::About1Click() {
    windows_.aboutFRM->exec();
}

void TmainFRM::ExportASCIIlist1Click() {
    windows_.exportFRM->show();
    windows_.exportFRM->raise();
    windows_.exportFRM->activateWindow();
}

void TmainFRM::Options1Click() {
    windows_.configFRM->exec();
}

int TmainFRM::MessageDialog(std::string_view text, MessageKind kind, MessageButtons buttons) {
    return portolan::MessageDialog(text, kind, buttons, 0);
}

int TmainFRM::MessageDialogWithDetails(std::string_view text, MessageKind kind, MessageButtons buttons,
                                       const std::vector<std::string>& details) {
    return portolan::MessageDialogWithDetails(text, kind, buttons, details);
}

void TmainFRM::beep() {
    QApplication::beep();
}

std::optional<std::string> TmainFRM::InputQuery(std::string_view caption, std::string_view prompt,
                                                std::string_view proposed) {
    return portolan::InputPrompt(caption, prompt, proposed);
}

std::optional<std::string> TmainFRM::runFileDialog(FileDialog dialog) {
    switch (dialog) {
    case FileDialog::OpenSite:
        return OpenDialog1.run();
    case FileDialog::SaveSite:
        return SaveDialog1.run();
    case FileDialog::ExportTarget:
        return windows_.exportFRM->runSaveDialog();
    case FileDialog::Import:
        ImportDialog1.setStartFolder(
            pathToQString(importStartFolder(session_.places, session_.SiteFileName)));
        return ImportDialog1.run();
    }
    return std::nullopt;
}

void TmainFRM::clearFileDialogName(FileDialog dialog) {
    if (dialog == FileDialog::SaveSite)
        SaveDialog1.forgetFileName();
}

void TmainFRM::addSiteItem(std::string_view description) {
    const QSignalBlocker quiet(SiteBox);
    SiteBox->addItem(new SiteItem(description));
}

void TmainFRM::deleteSiteItem(int index) {
    const QSignalBlocker quiet(SiteBox);
    delete SiteBox->takeItem(index);
    // The list would select a neighbour of a deleted selected entry; the program leaves none selected.
    SiteBox->selectionModel()->clear();
}

void TmainFRM::clearSiteItems() {
    const QSignalBlocker quiet(SiteBox);
    SiteBox->clear();
}

int TmainFRM::selectedSiteIndex() const {
    const QList<QListWidgetItem*> selected = SiteBox->selectedItems();
    return selected.isEmpty() ? -1 : SiteBox->row(selected.constFirst());
}

std::string TmainFRM::siteItemText(int index) const {
    return static_cast<const SiteItem*>(SiteBox->item(index))->description();
}

void TmainFRM::setStatusText(int panel, std::string_view text) {
    statusPanels_[panel]->setText(unicodeToQString(text));
}

void TmainFRM::setTitle(std::string_view title) {
    setWindowTitle(unicodeToQString(title));
}

void TmainFRM::setControlEnabled(SiteControl control, bool enabled) {
    const QString name = controlName(control);
    if (const auto action = actions_.find(name); action != actions_.end())
        action->second->setEnabled(enabled);
    if (const auto button = buttons_.find(name); button != buttons_.end())
        button->second->setEnabled(enabled);
}

WindowBounds TmainFRM::windowBounds() const {
    const QRect outer = outerGeometry(*this);
    return {outer.left(), outer.top(), outer.width(), outer.height()};
}

void TmainFRM::showSiteDialog() {
    windows_.addFRM->exec();
}

} // namespace portolan
