#pragma once
// A banded report layout as data: the report's width and margins, its sections in their roles
// with heights and page-break flags, and the controls of each section at positions in twips
// (1/1440 inch) from the section's top left. The program declares its layouts once (src/reports)
// and each report run takes a copy and sets what the run decides: label captions, pictures,
// the fields and data members of its text boxes.
#include <QImage>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace report {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;

enum class SectionKind { ReportHeader, PageHeader, GroupHeader, Detail, GroupFooter, PageFooter, ReportFooter };

enum class ControlKind {
    Label,     // a caption; "%D", "%d", "%p", "%P" and "%%" in it are filled on each page
    TextBox,   // a field of the section's row, formatted
    Line,      // from (left, top) to (left + width, top + height)
    Shape,     // a rectangle, outlined or filled
    Image,     // a picture fitted into the box, its proportions kept
    Function,  // an aggregate of a field over the group's rows (or over every row, in the
               // report footer)
};

enum class Aggregate { Sum };

enum class Align { Left, Center, Right };

struct Font {
    QString family = QStringLiteral("Arial");
    double pointSize = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const Font&, const Font&) = default;
};

struct Control {
    QString name;
    ControlKind kind = ControlKind::Label;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    QString caption;     // Label
    QString dataMember;  // TextBox, Function: "" for the section's own rows, else a child row set
    QString dataField;   // TextBox, Function
    QString format;      // TextBox, Function: a vb::format string; "" shows the value's own text
    Aggregate aggregate = Aggregate::Sum;  // Function

    Font font;
    Align align = Align::Left;
    bool visible = true;
    bool filled = false;  // Shape: solid, not only outlined
    QImage picture;       // Image: set by the run; an empty picture draws nothing

    bool isBound() const { return kind == ControlKind::TextBox || kind == ControlKind::Function; }
};

struct Section {
    QString name;
    SectionKind kind = SectionKind::Detail;
    int height = 0;
    bool pageBreakBefore = false;
    bool pageBreakAfter = false;
    bool visible = true;
    std::vector<Control> controls;

    // By name, letter case ignored. Throws ReportError when the section has no such control.
    Control& control(QStringView controlName);
    const Control& control(QStringView controlName) const;
};

struct Layout {
    QString name;     // the layout's name ("ListRPT")
    QString caption;  // the preview window's caption
    int reportWidth = 0;
    int leftMargin = kTwipsPerInch;
    int rightMargin = kTwipsPerInch;
    int topMargin = kTwipsPerInch;
    int bottomMargin = kTwipsPerInch;
    int gridX = 10;  // the designer's grid; kept with the layout, not used by the engine
    int gridY = 10;
    std::vector<Section> sections;  // at most one of each kind

    // By name, letter case ignored. Throw ReportError when there is none.
    Section& section(QStringView sectionName);
    const Section& section(QStringView sectionName) const;
    // A control of any section, by name.
    Control& control(QStringView controlName);
    const Control& control(QStringView controlName) const;
    // The section of a role; null when the layout has none.
    const Section* find(SectionKind kind) const;
    Section* find(SectionKind kind);
};

// Gives the text boxes of a section, in the order they stand in it, the given field names one
// after another, as a run does when it binds a member block to a row set's first fields by
// position. Text boxes beyond the names keep their fields. Returns how many were bound.
int bindTextBoxesInOrder(Section& section, const QStringList& fieldNames);

QString nameOf(SectionKind kind);
QString nameOf(ControlKind kind);

} // namespace report
