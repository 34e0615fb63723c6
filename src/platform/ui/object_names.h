#pragma once
// The names controls carry as objectName: a control's own name ("Command1") or an element of a
// control array ("Text1(0)"), so that scripts and tests find every control by the name the
// program gives it (ui::child in scripted_ui.h).
#include <QLatin1String>
#include <QString>

namespace ui {

// "Text1(0)" for element 0 of the array Text1.
inline QString elementName(const char* array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

// The widget, named; for building a control in one expression.
template <class Widget>
Widget* named(Widget* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

template <class Widget>
Widget* named(Widget* widget, const char* name)
{
    return named(widget, QString(QLatin1String(name)));
}

} // namespace ui
