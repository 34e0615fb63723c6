#include "layout.h"

#include "report_error.h"

namespace report {

namespace {

template <class S>
auto* findControl(S& section, QStringView name)
{
    for (auto& c : section.controls)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return static_cast<decltype(&section.controls.front())>(nullptr);
}

template <class L>
auto* findSection(L& layout, QStringView name)
{
    for (auto& s : layout.sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return static_cast<decltype(&layout.sections.front())>(nullptr);
}

[[noreturn]] void missing(const QString& what, QStringView name, const QString& owner)
{
    throw ReportError(QStringLiteral("%1 '%2' not found in '%3'.").arg(what, name.toString(), owner));
}

} // namespace

Control& Section::control(QStringView controlName)
{
    if (Control* c = findControl(*this, controlName))
        return *c;
    missing(QStringLiteral("Control"), controlName, name);
}

const Control& Section::control(QStringView controlName) const
{
    if (const Control* c = findControl(*this, controlName))
        return *c;
    missing(QStringLiteral("Control"), controlName, name);
}

Section& Layout::section(QStringView sectionName)
{
    if (Section* s = findSection(*this, sectionName))
        return *s;
    missing(QStringLiteral("Section"), sectionName, name);
}

const Section& Layout::section(QStringView sectionName) const
{
    if (const Section* s = findSection(*this, sectionName))
        return *s;
    missing(QStringLiteral("Section"), sectionName, name);
}

Control& Layout::control(QStringView controlName)
{
    for (Section& s : sections)
        if (Control* c = findControl(s, controlName))
            return *c;
    missing(QStringLiteral("Control"), controlName, name);
}

const Control& Layout::control(QStringView controlName) const
{
    for (const Section& s : sections)
        if (const Control* c = findControl(s, controlName))
            return *c;
    missing(QStringLiteral("Control"), controlName, name);
}

const Section* Layout::find(SectionKind kind) const
{
    for (const Section& s : sections)
        if (s.kind == kind)
            return &s;
    return nullptr;
}

Section* Layout::find(SectionKind kind)
{
    for (Section& s : sections)
        if (s.kind == kind)
            return &s;
    return nullptr;
}

int bindTextBoxesInOrder(Section& section, const QStringList& fieldNames)
{
    int bound = 0;
    for (Control& c : section.controls) {
        if (c.kind != ControlKind::TextBox)
            continue;
        if (bound >= fieldNames.size())
            break;
        c.dataField = fieldNames[bound++];
    }
    return bound;
}

QString nameOf(SectionKind kind)
{
    switch (kind) {
    case SectionKind::ReportHeader: return QStringLiteral("report header");
    case SectionKind::PageHeader: return QStringLiteral("page header");
    case SectionKind::GroupHeader: return QStringLiteral("group header");
    case SectionKind::Detail: return QStringLiteral("detail");
    case SectionKind::GroupFooter: return QStringLiteral("group footer");
    case SectionKind::PageFooter: return QStringLiteral("page footer");
    case SectionKind::ReportFooter: return QStringLiteral("report footer");
    }
    return {};
}

QString nameOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label: return QStringLiteral("label");
    case ControlKind::TextBox: return QStringLiteral("textbox");
    case ControlKind::Line: return QStringLiteral("line");
    case ControlKind::Shape: return QStringLiteral("shape");
    case ControlKind::Image: return QStringLiteral("image");
    case ControlKind::Function: return QStringLiteral("function");
    }
    return {};
}

} // namespace report
