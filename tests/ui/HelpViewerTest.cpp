#include "ui/platform/HelpViewer.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include <memory>
#include <optional>

using namespace portolan;

namespace {

const QString helpFile = QStringLiteral("prtln.hlp");

QString shippedManual() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(helpFile);
}

HelpViewer* viewerOf(QWidget& owner) {
    return owner.findChild<HelpViewer*>(QStringLiteral("HelpViewer"));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Where in the document the anchor of that name starts, if it has one.
std::optional<qreal> anchorTop(QTextBrowser& browser, const QString& name) {
    QTextDocument* document = browser.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (fragment.fragment().charFormat().anchorNames().contains(name))
                return document->documentLayout()->blockBoundingRect(block).top();
    return std::nullopt;
}

// The manual's text with its non-breaking spaces (which keep double blanks) read as blanks.
QString plainText(QTextBrowser& browser) {
    return browser.document()->toPlainText().replace(QChar(0x00a0), QLatin1Char(' '));
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aFileInTheCurrentFolderComesFirst();
    void otherwiseTheManualBesideTheExecutable();
    void anInstalledCopyFindsTheManualInItsDataFolder();
    void aMissingFileShowsNothing();
    void jumpScrollsToTheIndex();
    void contentsShowTheTopAgain();
    void everyLinkOfTheManualLeadsToATopic();
    void theManualQuotesTheSiteDialogsMessages();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString startFolder_;
    std::unique_ptr<QWidget> owner_;
};

void HelpViewerTest::init() {
    startFolder_ = QDir::currentPath();
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QVERIFY(QDir::setCurrent(folder_->path()));
    owner_ = std::make_unique<QWidget>();
    QVERIFY2(QFileInfo(shippedManual()).isFile(), "the build copies the manual beside the executable");
}

void HelpViewerTest::cleanup() {
    owner_.reset();
    QDir::setCurrent(startFolder_);
    folder_.reset();
}

void HelpViewerTest::aFileInTheCurrentFolderComesFirst() {
    const QString local = QDir(folder_->path()).filePath(helpFile);
    writeFile(local, "<html><body><p>The copy in the current folder.</p></body></html>");
    QCOMPARE(findHelpFile(helpFile), QFileInfo(local).absoluteFilePath());

    QVERIFY(showContents(helpFile, owner_.get()));
    HelpViewer* viewer = viewerOf(*owner_);
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->isWindow());
    QCOMPARE(viewer->browser()->document()->toPlainText(), QStringLiteral("The copy in the current folder."));
}

void HelpViewerTest::otherwiseTheManualBesideTheExecutable() {
    QCOMPARE(findHelpFile(helpFile), QFileInfo(shippedManual()).absoluteFilePath());
    QVERIFY(showContents(helpFile, owner_.get()));
    HelpViewer* viewer = viewerOf(*owner_);
    QVERIFY(viewer);
    QCOMPARE(viewer->browser()->documentTitle(), QStringLiteral("Portolan Help"));
    const QString text = plainText(*viewer->browser());
    QVERIFY(text.startsWith(QStringLiteral("Portolan Help")));
    QVERIFY(text.contains(QStringLiteral("Portolan is an address book for FTP sites.")));
}

void HelpViewerTest::anInstalledCopyFindsTheManualInItsDataFolder() {
    // An installed tree: prefix/bin holds the program, prefix/share/portolan the manual.
    const QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/portolan")));
    const QString bin = QDir(prefix.path()).filePath(QStringLiteral("bin"));
    const QString installed = QDir(prefix.path()).filePath(QStringLiteral("share/portolan/") + helpFile);
    writeFile(installed, "<html><body><p>The installed manual.</p></body></html>");
    QCOMPARE(findHelpFile(helpFile, bin), installed);

    // A manual beside the program still comes before it, one in the current folder before both.
    const QString beside = QDir(bin).filePath(helpFile);
    writeFile(beside, "<html><body><p>Beside the program.</p></body></html>");
    QCOMPARE(findHelpFile(helpFile, bin), beside);
    const QString local = QDir(folder_->path()).filePath(helpFile);
    writeFile(local, "<html><body><p>In the current folder.</p></body></html>");
    QCOMPARE(findHelpFile(helpFile, bin), QFileInfo(local).absoluteFilePath());
}

void HelpViewerTest::aMissingFileShowsNothing() {
    QCOMPARE(findHelpFile(QStringLiteral("no-such-manual.hlp")), QString());
    QVERIFY(!showContents(QStringLiteral("no-such-manual.hlp"), owner_.get()));
    QCOMPARE(viewerOf(*owner_), nullptr);
}

void HelpViewerTest::jumpScrollsToTheIndex() {
    QVERIFY(showContents(helpFile, owner_.get()));
    QTextBrowser* browser = viewerOf(*owner_)->browser();
    QScrollBar* scroll = browser->verticalScrollBar();
    QCOMPARE(scroll->value(), 0);
    const std::optional<qreal> index = anchorTop(*browser, QStringLiteral("Index"));
    QVERIFY2(index, "the manual has a topic anchored Index");

    jumpToTopic(QStringLiteral("Index"));
    QVERIFY(scroll->value() > 0);
    QCOMPARE(scroll->value(), qMin(qRound(*index), scroll->maximum()));
}

void HelpViewerTest::contentsShowTheTopAgain() {
    QVERIFY(showContents(helpFile, owner_.get()));
    HelpViewer* viewer = viewerOf(*owner_);
    jumpToTopic(QStringLiteral("Index"));
    QVERIFY(viewer->browser()->verticalScrollBar()->value() > 0);

    QVERIFY(showContents(helpFile, owner_.get()));
    QCOMPARE(viewerOf(*owner_), viewer);
    QCOMPARE(owner_->findChildren<HelpViewer*>().size(), 1);
    QCOMPARE(viewer->browser()->verticalScrollBar()->value(), 0);
    QCOMPARE(viewer->browser()->documentTitle(), QStringLiteral("Portolan Help"));
}

void HelpViewerTest::everyLinkOfTheManualLeadsToATopic() {
    QVERIFY(showContents(helpFile, owner_.get()));
    QTextBrowser* browser = viewerOf(*owner_)->browser();
    int links = 0;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString href = fragment.fragment().charFormat().anchorHref();
            if (href.isEmpty())
                continue;
            ++links;
            QVERIFY2(href.startsWith(QLatin1Char('#')), qPrintable(href));
            QVERIFY2(anchorTop(*browser, href.mid(1)), qPrintable(href));
        }
    }
    QVERIFY(links > 20);
}

void HelpViewerTest::theManualQuotesTheSiteDialogsMessages() {
    QVERIFY(showContents(helpFile, owner_.get()));
    const QString text = plainText(*viewerOf(*owner_)->browser()).simplified();
    for (const char* message :
         {"No description or valid characters specified in sitedescription.",
          "Two sites can not share the same description and one alreadyexists under the currently "
          "entered description.",
          "A maximum number of sites have been used already.  No moremay be added"}) {
        // The text is read with its line breaks joined; the double blank is kept by the manual.
        const QString quoted = QString::fromLatin1(message);
        QVERIFY2(text.contains(QString(quoted).replace(QStringLiteral("  "), QStringLiteral(" "))), message);
    }
    QVERIFY(plainText(*viewerOf(*owner_)->browser()).contains(QStringLiteral("already.  No moremay")));
}

QTEST_MAIN(HelpViewerTest)
#include "HelpViewerTest.moc"
