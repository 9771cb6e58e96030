#include "ui/widgets/Glyphs.h"

#include <QImage>
#include <QPixmap>
#include <QtTest>

using namespace portolan;

namespace {

struct NamedGlyph {
    Glyph glyph;
    const char* name;
};

constexpr NamedGlyph allGlyphs[] = {
    {Glyph::New, "New"},
    {Glyph::Open, "Open"},
    {Glyph::Save, "Save"},
    {Glyph::Insert, "Insert"},
    {Glyph::Delete, "Delete"},
    {Glyph::Edit, "Edit"},
    {Glyph::Information, "Information"},
    {Glyph::Help, "Help"},
    {Glyph::Browse, "Browse"},
    {Glyph::MoreItems, "MoreItems"},
};

QImage look(Glyph glyph, QIcon::Mode mode, int size = 16) {
    return glyphIcon(glyph).pixmap(QSize(size, size), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool isGrey(QRgb pixel) {
    return qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel);
}

} // namespace

class GlyphsTest : public QObject {
    Q_OBJECT
private slots:
    void everyGlyphHasTwoLooksOf16Pixels_data();
    void everyGlyphHasTwoLooksOf16Pixels();
    void theDisabledLookIsAGreyEmbossOfTheDarkPixels_data();
    void theDisabledLookIsAGreyEmbossOfTheDarkPixels();
    void theDoubledLookRepeatsEachPixel();
    void noTwoGlyphsAreAlike();
};

void GlyphsTest::everyGlyphHasTwoLooksOf16Pixels_data() {
    QTest::addColumn<Glyph>("glyph");
    for (const NamedGlyph& named : allGlyphs)
        // clang-format off
        QTest::newRow(named.name) << named.glyph;
    // clang-format on
}

void GlyphsTest::everyGlyphHasTwoLooksOf16Pixels() {
    QFETCH(Glyph, glyph);
    const QImage normal = look(glyph, QIcon::Normal);
    const QImage disabled = look(glyph, QIcon::Disabled);
    QCOMPARE(normal.size(), QSize(16, 16));
    QCOMPARE(disabled.size(), QSize(16, 16));
    QVERIFY(normal != disabled);

    int opaque = 0;
    int coloured = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb pixel = normal.pixel(x, y);
            opaque += qAlpha(pixel) != 0;
            coloured += qAlpha(pixel) != 0 && !isGrey(pixel);
        }
    }
    // A picture with some colour in it that leaves part of the button face showing.
    QVERIFY(opaque > 40);
    QVERIFY(opaque < 256);
    QVERIFY(coloured > 0);
}

void GlyphsTest::theDisabledLookIsAGreyEmbossOfTheDarkPixels_data() {
    everyGlyphHasTwoLooksOf16Pixels_data();
}

void GlyphsTest::theDisabledLookIsAGreyEmbossOfTheDarkPixels() {
    QFETCH(Glyph, glyph);
    const QImage normal = look(glyph, QIcon::Normal);
    const QImage disabled = look(glyph, QIcon::Disabled);
    int shadows = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb source = normal.pixel(x, y);
            const bool dark = qAlpha(source) != 0 && qGray(source) < 160;
            const QRgb pixel = disabled.pixel(x, y);
            if (dark) {
                QCOMPARE(pixel, qRgb(128, 128, 128));
                ++shadows;
            } else if (qAlpha(pixel) != 0) {
                // Only the white copy, one pixel down and right of a dark pixel, shows elsewhere.
                QCOMPARE(pixel, qRgb(255, 255, 255));
                QVERIFY(x > 0 && y > 0);
                const QRgb above = normal.pixel(x - 1, y - 1);
                QVERIFY(qAlpha(above) != 0 && qGray(above) < 160);
            }
        }
    }
    QVERIFY(shadows > 20);
}

void GlyphsTest::theDoubledLookRepeatsEachPixel() {
    for (const NamedGlyph& named : allGlyphs) {
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
            const QImage small = look(named.glyph, mode);
            const QImage doubled = look(named.glyph, mode, 32);
            QCOMPARE(doubled.size(), QSize(32, 32));
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    QCOMPARE(doubled.pixel(x, y), small.pixel(x / 2, y / 2));
        }
    }
}

void GlyphsTest::noTwoGlyphsAreAlike() {
    for (const NamedGlyph& first : allGlyphs)
        for (const NamedGlyph& second : allGlyphs)
            if (first.glyph != second.glyph)
                QVERIFY2(look(first.glyph, QIcon::Normal) != look(second.glyph, QIcon::Normal), first.name);
}

QTEST_MAIN(GlyphsTest)
#include "GlyphsTest.moc"
