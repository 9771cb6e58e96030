#include "ui/widgets/Glyphs.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

#include <span>
#include <string_view>
#include <vector>

namespace portolan {

namespace {

constexpr int glyphSize = 16;

// The pictures are drawn as small pixel maps in the sixteen colours of the old desktop, one
// character per pixel; a glyph is a few of these parts laid over each other.
struct PaletteEntry {
    char code;
    QRgb colour;
};

constexpr PaletteEntry palette[] = {
    {'k', 0xff000000}, // black
    {'g', 0xff808080}, // dark grey
    {'s', 0xffc0c0c0}, // light grey
    {'w', 0xffffffff}, // white
    {'y', 0xffffff00}, // yellow
    {'o', 0xff808000}, // olive
    {'r', 0xffff0000}, // red
    {'m', 0xff800000}, // maroon
    {'b', 0xff0000ff}, // blue
    {'n', 0xff000080}, // navy
    {'c', 0xff00ffff}, // cyan
    {'t', 0xff008080}, // teal
};

// Any other code, '.' by habit, is a transparent pixel.
QRgb paletteColour(char code) {
    for (const PaletteEntry& entry : palette)
        if (entry.code == code)
            return entry.colour;
    return qRgba(0, 0, 0, 0);
}

using Rows = std::span<const std::string_view>;

constexpr std::string_view page[] = {
    "kkkkkkk...", //
    "kwwwwwkk..", //
    "kwwwwwkwk.", //
    "kwwwwwkkkk", //
    "kwwwwwwwwk", //
    "kwwwwwwwwk", //
    "kwwwwwwwwk", //
    "kwwwwwwwwk", //
    "kwwwwwwwwk", //
    "kwwwwwwwwk", //
    "kwwwwwwwwk", //
    "kwwwwwwwwk", //
    "kwwwwwwwwk", //
    "kkkkkkkkkk", //
};

// Lines of writing, laid over the page.
constexpr std::string_view writing[] = {
    "gggg..", //
    "......", //
    "gggggg", //
    "......", //
    "ggg.gg", //
    "......", //
    "gggggg", //
    "......", //
    "gg.ggg", //
};

constexpr std::string_view rays[] = {
    "y.o.y", //
    ".yyy.", //
    "oywyo", //
    ".yyy.", //
    "y.o.y", //
};

constexpr std::string_view smallPage[] = {
    "kkkkk..", //
    "kwwwkk.", //
    "kwwwkwk", //
    "kgggwwk", //
    "kwwwwwk", //
    "kggggwk", //
    "kwwwwwk", //
    "kkkkkkk", //
};

constexpr std::string_view arrowDown[] = {
    ".mrm.", //
    ".mrm.", //
    ".mrm.", //
    "mmrmm", //
    ".mrm.", //
    "..m..", //
};

constexpr std::string_view diskette[] = {
    "kkkkkkkkkkk", //
    "kgwwwwwwwgk", //
    "kgwwwwwwwgk", //
    "kgwwwwwwwgk", //
    "kgggggggggk", //
    "kggsssssggk", //
    "kggskkssggk", //
    "kggskkssggk", //
    ".kkkkkkkkkk", //
};

// A column of a list, its outline dotted.
constexpr std::string_view dottedColumn[] = {
    "k.k.k", //
    ".....", //
    "k...k", //
    ".....", //
    "k.k.k", //
    ".....", //
    "k...k", //
    ".....", //
    "k.k.k", //
    ".....", //
    "k...k", //
    ".....", //
    "k.k.k", //
    ".....", //
    "k...k", //
    ".....", //
};

constexpr std::string_view arrowRight[] = {
    "....n...", //
    "....nn..", //
    "nnnnnbn.", //
    "nbbbbbbn", //
    "nnnnnbn.", //
    "....nn..", //
    "....n...", //
};

constexpr std::string_view plusSign[] = {
    "..r..", //
    "..r..", //
    "rrrrr", //
    "..r..", //
    "..r..", //
};

constexpr std::string_view minusSign[] = {
    "rrrrr", //
};

constexpr std::string_view pencil[] = {
    ".......km.", //
    "......kymk", //
    ".....kyyok", //
    "....kyyok.", //
    "...kyyok..", //
    "..kyyok...", //
    ".ksyok....", //
    ".kssk.....", //
    "kkkk......", //
};

constexpr std::string_view terminal[] = {
    ".kkkkkkkkkkkk.", //
    "kwsssssssssssk", //
    "kskkkkkkkkkkgk", //
    "kskttttttttkgk", //
    "kskcccctttkkgk", //
    "kskttttttttkgk", //
    "kskccctttttkgk", //
    "kskttttttttkgk", //
    "kskkkkkkkkkkgk", //
    "ksssssssssssgk", //
    ".kkkkkkkkkkkk.", //
    "...kgggggggk..", //
    ".kkkkkkkkkkkkk", //
    "kwswswswswswsk", //
    "kkkkkkkkkkkkkk", //
};

constexpr std::string_view book[] = {
    "..kkkkkkkkkk.", //
    ".kcccccccccgk", //
    "ktcccccccccgk", //
    "ktcccccccccgk", //
    "ktcccccccccgk", //
    "ktcccccccccgk", //
    "ktcccccccccgk", //
    "ktcccccccccgk", //
    "ktcccccccccgk", //
    "ktcccccccccgk", //
    "ktcccccccccgk", //
    "ktkkkkkkkkkkk", //
    "kwwwwwwwwwwk.", //
    "kkkkkkkkkkkk.", //
};

constexpr std::string_view questionMark[] = {
    ".rrrr.", //
    "rr..rr", //
    "....rr", //
    "...rr.", //
    "..rr..", //
    "..rr..", //
    "......", //
    "..rr..", //
};

constexpr std::string_view chevrons[] = {
    "nn....nn....", //
    "nnn...nnn...", //
    ".nnn...nnn..", //
    "..nnn...nnn.", //
    "...nnn...nnn", //
    "..nnn...nnn.", //
    ".nnn...nnn..", //
    "nnn...nnn...", //
    "nn....nn....", //
};

constexpr std::string_view openFolder[] = {
    ".kkkk.........",  //
    "kyyyyk........",  //
    "kywwyykkkkkkk.",  //
    "kyyyyyyyyyyyk.",  //
    "kyyyyykkkkkkkkk", //
    "kyyyykoyyyyyyyk", //
    "kyyykoyyyyyyyok", //
    "kyykoyyyyyyyyk.", //
    "kykoyyyyyyyyok.", //
    "kkoyyyyyyyyyk..", //
    "kkkkkkkkkkkkk..", //
};

struct Layer {
    Rows rows;
    int left;
    int top;
    bool mirrored = false;
};

std::vector<Layer> layersOf(Glyph glyph) {
    switch (glyph) {
    case Glyph::New:
        return {{page, 2, 2}, {rays, 11, 0}};
    case Glyph::Open:
        return {{page, 2, 2}, {writing, 4, 6}, {rays, 11, 0}};
    case Glyph::Save:
        return {{smallPage, 0, 0}, {diskette, 5, 7}, {arrowDown, 8, 1}};
    case Glyph::Insert:
        return {{dottedColumn, 11, 0}, {plusSign, 2, 1}, {arrowRight, 1, 7}};
    case Glyph::Delete:
        return {{dottedColumn, 11, 0}, {minusSign, 2, 3}, {arrowRight, 1, 7, true}};
    case Glyph::Edit:
        return {{page, 1, 2}, {writing, 3, 6}, {pencil, 6, 0}};
    case Glyph::Information:
        return {{terminal, 1, 0}};
    case Glyph::Help:
        return {{book, 1, 1}, {questionMark, 5, 4}};
    case Glyph::Browse:
        return {{openFolder, 1, 3}};
    case Glyph::MoreItems:
        return {{chevrons, 2, 4}};
    }
    return {};
}

QImage normalImage(Glyph glyph) {
    QImage image(glyphSize, glyphSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (const Layer& layer : layersOf(glyph)) {
        for (int row = 0; row < static_cast<int>(layer.rows.size()); ++row) {
            const std::string_view line = layer.rows[row];
            const int width = static_cast<int>(line.size());
            for (int column = 0; column < width; ++column) {
                const char code = line[layer.mirrored ? width - 1 - column : column];
                const int x = layer.left + column;
                const int y = layer.top + row;
                if (code != '.' && x >= 0 && x < glyphSize && y >= 0 && y < glyphSize)
                    image.setPixel(x, y, paletteColour(code));
            }
        }
    }
    return image;
}

// The greyed look of a disabled button, as the old desktop made it: every dark pixel (outlines, dark
// and strong colours) becomes dark grey and the light ones vanish; a white copy one pixel down and
// right lies behind it, so the picture looks pressed into the button face.
QImage disabledImage(const QImage& normal) {
    auto isShape = [&normal](int x, int y) {
        const QRgb pixel = normal.pixel(x, y);
        return qAlpha(pixel) != 0 && qGray(pixel) < 160;
    };
    QImage image(glyphSize, glyphSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y + 1 < glyphSize; ++y)
        for (int x = 0; x + 1 < glyphSize; ++x)
            if (isShape(x, y))
                image.setPixel(x + 1, y + 1, qRgb(255, 255, 255));
    for (int y = 0; y < glyphSize; ++y)
        for (int x = 0; x < glyphSize; ++x)
            if (isShape(x, y))
                image.setPixel(x, y, qRgb(128, 128, 128));
    return image;
}

// The side of a glyph drawn for a square of size: the largest whole multiple of 16 pixels that fits, and
// never less than 16.
int drawnSide(const QSize& size) {
    return std::max(1, std::min(size.width(), size.height()) / glyphSize) * glyphSize;
}

// Draws a glyph when Qt asks for it, at the size asked for: each pixel of the picture becomes a square
// of whole pixels, so the pictures stay crisp on a screen of any density. Nothing is drawn before a
// button is painted.
class GlyphEngine final : public QIconEngine {
public:
    explicit GlyphEngine(Glyph glyph) : glyph_(glyph) {}

    // Qt hands a size in device pixels: 32 x 32 on a screen of double density.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QImage normal = normalImage(glyph_);
        const QImage image = mode == QIcon::Disabled ? disabledImage(normal) : normal;
        const int side = drawnSide(size);
        return QPixmap::fromImage(side == glyphSize ? image : image.scaled(side, side));
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal scale = painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap((QSizeF(rect.size()) * scale).toSize(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = drawnSide(size);
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(glyphSize, glyphSize)}; }

    QIconEngine* clone() const override { return new GlyphEngine(glyph_); }

    QString key() const override { return QStringLiteral("PortolanGlyph"); }

private:
    Glyph glyph_;
};

} // namespace

QIcon glyphIcon(Glyph glyph) {
    return QIcon(new GlyphEngine(glyph));
}

} // namespace portolan
