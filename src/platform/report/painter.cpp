#include "painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QTextLayout>
#include <cmath>

namespace report {

namespace {

constexpr double kSmallestShrink = 0.7;
constexpr qsizetype kShapedTextsPerFont = 4096;
constexpr int kRuleTwips = 15;  // lines: one pixel of the screen the layouts were drawn on

Qt::Alignment horizontal(Align align)
{
    switch (align) {
    case Align::Left: return Qt::AlignLeft;
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

// The longest start of `text` that fits in `room`, never ending inside a surrogate pair.
QString fittingPrefix(const QString& text, const QFontMetricsF& metrics, double room)
{
    qsizetype fits = 0;
    qsizetype tooLong = text.size() + 1;
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= room)
            fits = middle;
        else
            tooLong = middle;
    }
    if (fits > 0 && text[fits - 1].isHighSurrogate())
        --fits;
    return text.left(fits);
}

} // namespace

int fontPixels(double points, double scale)
{
    return std::max(1, static_cast<int>(std::lround(points * kTwipsPerPoint * scale)));
}

PagePainter::FontEntry& PagePainter::fontFor(const Font& font, int pixels)
{
    const FontKey key{font, pixels};
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        QFont f(font.family);
        f.setPixelSize(pixels);
        f.setBold(font.bold);
        f.setItalic(font.italic);
        f.setUnderline(font.underline);
        // Positions are laid out in twips, not in screen pixels: hinting would move the glyphs.
        f.setHintingPreference(QFont::PreferNoHinting);
        it = fonts_.emplace(key, FontEntry{f, QFontMetricsF(f), {}}).first;
    }
    return it->second;
}

const PagePainter::Shaped& PagePainter::shaped(FontEntry& entry, const QString& text)
{
    auto it = entry.texts.constFind(text);
    if (it != entry.texts.constEnd())
        return *it;
    // Bounded: a report of a million different names keeps only the latest few thousand.
    if (entry.texts.size() >= kShapedTextsPerFont)
        entry.texts.clear();
    QTextLayout layout(text, entry.font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Shaped s;
    if (line.isValid()) {
        s.width = line.naturalTextWidth();
        s.ascent = line.ascent();
        s.runs = layout.glyphRuns();
    }
    return *entry.texts.insert(text, std::move(s));
}

void PagePainter::drawText(QPainter& painter, const Item& item, const QRectF& box, double scale)
{
    if (item.text.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return;
    const Control& c = *item.control;
    const int pixels = fontPixels(c.font.pointSize, scale);
    FontEntry* font = &fontFor(c.font, pixels);

    if (box.height() >= 2 * font->metrics.lineSpacing()) {
        painter.setFont(font->font);
        painter.drawText(box, int(horizontal(c.align) | Qt::AlignTop | Qt::TextWordWrap), item.text);
        return;
    }

    const Shaped* text = &shaped(*font, item.text);
    double width = text->width;
    if (width > box.width()) {
        const double shrink = std::max(kSmallestShrink, box.width() / width);
        const int smaller = std::max(1, static_cast<int>(std::floor(pixels * shrink)));
        font = &fontFor(c.font, smaller);
        text = &shaped(*font, item.text);
        width = text->width;
        if (width > box.width()) {
            // Still too wide: as many characters as fit.
            text = &shaped(*font, fittingPrefix(item.text, font->metrics, box.width()));
            width = text->width;
        }
    }
    double x = box.left();
    if (c.align == Align::Right)
        x = box.right() - width;
    else if (c.align == Align::Center)
        x = box.left() + (box.width() - width) / 2;
    const QPointF origin(x, box.top() + font->metrics.ascent() - text->ascent);
    for (const QGlyphRun& run : text->runs)
        painter.drawGlyphRun(origin, run);
}

void PagePainter::paint(QPainter& painter, const Page& page, double scale, QPointF origin)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QPen text(Qt::black);
    QPen rule(Qt::black);
    rule.setWidthF(std::max(1.0, kRuleTwips * scale));
    rule.setCapStyle(Qt::FlatCap);

    for (const Item& item : page.items) {
        const QRectF box(origin.x() + item.rect.left() * scale, origin.y() + item.rect.top() * scale,
                         item.rect.width() * scale, item.rect.height() * scale);
        switch (item.kind) {
        case ItemKind::Text:
            painter.setPen(text);
            drawText(painter, item, box, scale);
            break;
        case ItemKind::Line: {
            painter.setPen(rule);
            const double thin = kRuleTwips * scale;
            if (box.height() < thin)
                painter.drawLine(box.topLeft(), box.topRight());
            else if (box.width() < thin)
                painter.drawLine(box.topLeft(), box.bottomLeft());
            else
                painter.drawLine(box.topLeft(), box.bottomRight());
            break;
        }
        case ItemKind::Box:
            if (item.control->filled) {
                painter.fillRect(box, Qt::black);
            } else {
                painter.setPen(rule);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(box);
            }
            break;
        case ItemKind::Image: {
            const QImage& picture = item.control->picture;
            if (picture.isNull() || box.isEmpty())
                break;
            // Fitted into the box with its proportions kept, centred.
            QSizeF size = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
            const QRectF target(box.left() + (box.width() - size.width()) / 2,
                                box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
            painter.drawImage(target, picture);
            break;
        }
        }
    }
    painter.restore();
}

} // namespace report
