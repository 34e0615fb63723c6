#pragma once
// Draws a page model. One painter serves the preview (a widget at any zoom), the printer and the
// PDF writer: positions are twips, mapped to the device by a scale (device pixels per twip) and
// an origin, and fonts are sized in device pixels from their points, so a page looks the same
// on every device.
//
// A single-line text wider than its box is drawn in a smaller font, down to 70 % of its size,
// and then cut at the box's right edge: a page number or a long name stays legible and never
// runs into the next column. A box tall enough for two lines wraps its text by words.
#include "page.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPointF>
#include <map>
#include <tuple>

class QPainter;

namespace report {

class PagePainter {
public:
    void paint(QPainter& painter, const Page& page, double scale, QPointF origin = {});

private:
    struct Shaped {
        QList<QGlyphRun> runs;  // at the layout's origin, baseline included
        double width = 0;
        double ascent = 0;      // of the line: a fallback font for other scripts may raise it
    };
    struct FontEntry {
        QFont font;
        QFontMetricsF metrics;
        QHash<QString, Shaped> texts;
    };
    struct FontKey {
        Font font;
        int pixels;
        friend bool operator<(const FontKey& a, const FontKey& b)
        {
            return std::tie(a.font.family, a.font.pointSize, a.font.bold, a.font.italic, a.font.underline, a.pixels)
                   < std::tie(b.font.family, b.font.pointSize, b.font.bold, b.font.italic, b.font.underline, b.pixels);
        }
    };
    FontEntry& fontFor(const Font& font, int pixels);
    static const Shaped& shaped(FontEntry& entry, const QString& text);
    void drawText(QPainter& painter, const Item& item, const QRectF& box, double scale);

    std::map<FontKey, FontEntry> fonts_;
};

// The pixel size of a font of `points` at `scale` device pixels per twip (at least 1).
int fontPixels(double points, double scale);

} // namespace report
