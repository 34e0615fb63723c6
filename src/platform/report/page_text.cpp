#include "page.h"

#include <QStringList>

namespace report {

namespace {

QString kindOf(const Item& item)
{
    return item.control ? nameOf(item.control->kind) : QStringLiteral("?");
}

// Line ends and tabs would break the one-line-per-item form; show them as escapes.
QString quotedText(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'"' || c == u'\\')
            out += QString(u'\\') + c;
        else
            out += c;
    }
    out += u'"';
    return out;
}

} // namespace

QString describe(const Page& page)
{
    QStringList lines;
    lines << QStringLiteral("page %1 of %2 (%3 x %4 twips)")
                 .arg(page.number).arg(page.count).arg(page.paper.width()).arg(page.paper.height());
    for (const Item& item : page.items) {
        QString line = QStringLiteral("  %1,%2 %3x%4 %5 %6.%7")
                           .arg(item.rect.left(), 5).arg(item.rect.top(), 5)
                           .arg(item.rect.width(), 5).arg(item.rect.height(), -5)
                           .arg(kindOf(item), -8)
                           .arg(item.section ? item.section->name : QString(),
                                item.control ? item.control->name : QString());
        if (item.kind == ItemKind::Text)
            line += u' ' + quotedText(item.text);
        else if (item.kind == ItemKind::Image)
            line += item.control && !item.control->picture.isNull()
                        ? QStringLiteral(" (picture %1x%2)").arg(item.control->picture.width()).arg(item.control->picture.height())
                        : QStringLiteral(" (no picture)");
        else if (item.kind == ItemKind::Box && item.control && item.control->filled)
            line += QStringLiteral(" (filled)");
        lines << line;
    }
    return lines.join(u'\n') + u'\n';
}

} // namespace report
