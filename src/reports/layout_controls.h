#pragma once
// Short ways to declare the controls of the program's layouts.
#include "platform/report/layout.h"

namespace reports::controls {

inline report::Font arial(double points, bool bold = false)
{
    return report::Font{QStringLiteral("Arial"), points, bold, false, false};
}

inline report::Font times(double points, bool bold = false)
{
    return report::Font{QStringLiteral("Times New Roman"), points, bold, false, false};
}

inline report::Control label(const char* name, int left, int top, int width, int height, const QString& caption,
                             report::Font font = arial(8))
{
    report::Control c;
    c.name = QString::fromLatin1(name);
    c.kind = report::ControlKind::Label;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.caption = caption;
    c.font = std::move(font);
    return c;
}

inline report::Control textBox(const char* name, int left, int top, int width, int height, const char* field,
                               const QString& format = {}, report::Font font = arial(8), const QString& member = {})
{
    report::Control c = label(name, left, top, width, height, {}, std::move(font));
    c.kind = report::ControlKind::TextBox;
    c.dataField = QString::fromLatin1(field);
    c.format = format;
    c.dataMember = member;
    return c;
}

inline report::Control sum(const char* name, int left, int top, int width, int height, const QString& member,
                           const char* field, const QString& format, report::Font font)
{
    report::Control c = textBox(name, left, top, width, height, field, format, std::move(font), member);
    c.kind = report::ControlKind::Function;
    c.aggregate = report::Aggregate::Sum;
    return c;
}

inline report::Control line(const char* name, int left, int top, int width, int height)
{
    report::Control c = label(name, left, top, width, height, {});
    c.kind = report::ControlKind::Line;
    return c;
}

inline report::Control bar(const char* name, int left, int top, int width, int height)
{
    report::Control c = label(name, left, top, width, height, {});
    c.kind = report::ControlKind::Shape;
    c.filled = true;
    return c;
}

inline report::Control image(const char* name, int left, int top, int width, int height)
{
    report::Control c = label(name, left, top, width, height, {});
    c.kind = report::ControlKind::Image;
    return c;
}

// A stored text as a label's caption: a label reads "%p" and the like as the page's own fields,
// so the text's own "%" is doubled.
inline QString literally(QString text)
{
    return text.replace(u'%', QStringLiteral("%%"));
}

inline report::Control right(report::Control c)
{
    c.align = report::Align::Right;
    return c;
}

inline report::Control centred(report::Control c)
{
    c.align = report::Align::Center;
    return c;
}

inline report::Section section(const char* name, report::SectionKind kind, int height, std::vector<report::Control> controls)
{
    report::Section s;
    s.name = QString::fromLatin1(name);
    s.kind = kind;
    s.height = height;
    s.controls = std::move(controls);
    return s;
}

// The money format of the detail lines and totals, and the date format of the detail lines.
inline const QString kMoney = QStringLiteral("\"$\"#,##0.00");
inline const QString kDate = QStringLiteral("dd-mmm-yy");

} // namespace reports::controls
