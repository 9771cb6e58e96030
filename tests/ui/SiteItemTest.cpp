#include "support/WindowDriving.h"

#include "ui/widgets/SiteItem.h"

#include <QListWidget>
#include <QtTest>

#include <algorithm>
#include <random>

using namespace portolan;

class SiteItemTest : public QObject {
    Q_OBJECT
private slots:
    void entriesTakeOneFixedPlaceWhateverTheOrderTheyComeIn();
};

// Digits before letters, letters without regard to case, and between entries that differ only in case
// the exact text. Site lists are short, and the order is checked for many orders of arrival.
void SiteItemTest::entriesTakeOneFixedPlaceWhateverTheOrderTheyComeIn() {
    const QStringList sorted = {"10 files", "2nd site", "ALPHA", "Alpha", "alpha",    "alphabet",
                                "Beta",     "beta",     "Gamma", "zeta",  "Zeta site"};
    std::mt19937 random(2026);
    for (int round = 0; round < 100; ++round) {
        QStringList arriving = sorted;
        std::shuffle(arriving.begin(), arriving.end(), random);
        QListWidget list;
        list.setSortingEnabled(true);
        for (const QString& description : arriving)
            list.addItem(new SiteItem(description.toStdString()));
        QCOMPARE(test::itemTexts(&list), sorted);
    }
}

QTEST_MAIN(SiteItemTest)
#include "SiteItemTest.moc"
