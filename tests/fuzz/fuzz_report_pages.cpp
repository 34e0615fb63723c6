// The report engine on random layouts and random rows: binding refuses what it cannot show with a
// ReportError, and a report it binds paginates so that every page reached through the page index
// is the page the walk from the first page reaches, every band stands on exactly one page (each
// detail line, group header and footer once, the report header on the first page, the report
// footer on the last, the page header and footer on every page), and a sum too large for its
// type is "Not Available" (or an overflow error), never undefined arithmetic.
#include "fuzz_support.h"
#include "platform/report/layout.h"
#include "platform/report/memory_source.h"
#include "platform/report/page.h"
#include "platform/report/report.h"
#include "platform/report/report_error.h"
#include "platform/vb/currency.h"
#include "platform/vb/datetime.h"

#include <QDate>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

using report::ControlKind;
using report::SectionKind;

const QStringList kFields{"Name", "Amount", "Count", "When"};
const QStringList kChildFields{"Amount", "Note"};
const char* const kFormats[] = {"", "$##,##0.00", "##,###", "#######", "short date", "dd-mmm-yy", "long date",
                                "general date", "0.00", "Yes/No", "no such format"};

vb::Value aValue(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return {};
    case 1: return vb::Value(in.ConsumeBool());
    case 2: return vb::Value(in.ConsumeIntegral<std::int64_t>());
    case 3: return vb::Value(in.ConsumeIntegralInRange<std::int64_t>(-100000, 100000));
    case 4: return vb::Value(in.ConsumeFloatingPoint<double>());
    case 5: return vb::Value(vb::Currency::fromRaw(in.ConsumeIntegral<std::int64_t>()));
    case 6: return vb::Value(vb::DateTime(QDate::fromJulianDay(in.ConsumeIntegralInRange<qint64>(-1000000, 6000000))));
    default: return vb::Value(fuzzing::text(in, 24));
    }
}

QString aField(FuzzedDataProvider& in, const QStringList& fields)
{
    const int pick = in.ConsumeIntegralInRange<int>(0, static_cast<int>(fields.size()));
    return pick < fields.size() ? fields[pick] : QStringLiteral("Missing");
}

// Now and then (one time in `odds`) a choice that binding must refuse.
bool rarely(FuzzedDataProvider& in, int odds = 24)
{
    return in.ConsumeIntegralInRange<int>(1, odds) == 1;
}

// A control that mostly fits its section: text boxes where rows are, functions where sums are,
// the child rows' fields in a grouped report's detail lines.
report::Control aControl(FuzzedDataProvider& in, int number, SectionKind section, bool grouped)
{
    report::Control c;
    c.name = QStringLiteral("C%1").arg(number);
    const bool rows = section == SectionKind::Detail || section == SectionKind::GroupHeader || section == SectionKind::GroupFooter;
    const bool sums = section != SectionKind::Detail && section != SectionKind::PageHeader && section != SectionKind::PageFooter;
    c.kind = static_cast<ControlKind>(in.ConsumeIntegralInRange<int>(0, 5));
    if ((c.kind == ControlKind::TextBox && !rows) || (c.kind == ControlKind::Function && !sums))
        c.kind = rarely(in) ? c.kind : ControlKind::Label;
    c.left = in.ConsumeIntegralInRange<int>(-100, 13000);
    c.top = in.ConsumeIntegralInRange<int>(-100, 3000);
    c.width = in.ConsumeIntegralInRange<int>(0, 13000);
    c.height = in.ConsumeIntegralInRange<int>(0, 3000);
    c.visible = in.ConsumeIntegralInRange<int>(0, 7) != 0;
    c.filled = in.ConsumeBool();
    const bool childRows = grouped && (section == SectionKind::Detail || (c.kind == ControlKind::Function && in.ConsumeBool()));
    if (rarely(in))
        c.dataMember = in.ConsumeBool() ? QStringLiteral("Nobody") : QStringLiteral("Kids");
    else if (childRows)
        c.dataMember = QStringLiteral("Kids");
    const QStringList& fields = c.dataMember.isEmpty() ? kFields : kChildFields;
    c.dataField = rarely(in) ? QStringLiteral("Missing") : fields[in.ConsumeIntegralInRange<int>(0, static_cast<int>(fields.size()) - 1)];
    c.format = rarely(in) ? QStringLiteral("no such format")
                          : QString::fromLatin1(kFormats[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kFormats) - 2)]);
    c.caption = in.ConsumeBool() ? QStringLiteral("Page %p of %P, %D %d 100%% %x %") : fuzzing::text(in, 24);
    return c;
}

report::Layout aLayout(FuzzedDataProvider& in, int paperWidth)
{
    report::Layout layout;
    layout.name = QStringLiteral("Random");
    layout.leftMargin = in.ConsumeIntegralInRange<int>(0, 3000);
    layout.rightMargin = in.ConsumeIntegralInRange<int>(0, 3000);
    layout.reportWidth = rarely(in) ? in.ConsumeIntegralInRange<int>(0, 20000)
                                    : in.ConsumeIntegralInRange<int>(0, std::max(0, paperWidth - layout.leftMargin - layout.rightMargin));
    layout.topMargin = in.ConsumeIntegralInRange<int>(0, 5000);
    layout.bottomMargin = in.ConsumeIntegralInRange<int>(0, 5000);
    const bool grouped = in.ConsumeBool();
    int number = 0;
    for (int k = 0; k <= static_cast<int>(SectionKind::ReportFooter); ++k) {
        const auto kind = static_cast<SectionKind>(k);
        const bool group = kind == SectionKind::GroupHeader || kind == SectionKind::GroupFooter;
        if (group ? !(grouped && in.ConsumeIntegralInRange<int>(0, 3) != 0) && !rarely(in) : !in.ConsumeBool())
            continue;
        report::Section s;
        s.kind = kind;
        s.name = QStringLiteral("S%1").arg(k);
        s.height = rarely(in, 8) ? in.ConsumeIntegralInRange<int>(0, 40000) : in.ConsumeIntegralInRange<int>(0, 2000);
        s.pageBreakBefore = in.ConsumeIntegralInRange<int>(0, 3) == 0;
        s.pageBreakAfter = in.ConsumeIntegralInRange<int>(0, 3) == 0;
        s.visible = in.ConsumeIntegralInRange<int>(0, 7) != 0;
        const int controls = in.ConsumeIntegralInRange<int>(0, 4);
        for (int i = 0; i < controls; ++i)
            s.controls.push_back(aControl(in, ++number, kind, grouped));
        layout.sections.push_back(std::move(s));
    }
    return layout;
}

std::shared_ptr<report::MemorySource> someRows(FuzzedDataProvider& in)
{
    const int parents = in.ConsumeIntegralInRange<int>(0, in.ConsumeBool() ? 3000 : 40);
    std::vector<std::vector<vb::Value>> rows;
    for (int p = 0; p < parents; ++p) {
        std::vector<vb::Value> row;
        for (int f = 0; f < kFields.size(); ++f)
            row.push_back(in.remaining_bytes() ? aValue(in) : vb::Value(p));
        rows.push_back(std::move(row));
    }
    auto source = std::make_shared<report::MemorySource>(kFields, std::move(rows));
    source->addMember(QStringLiteral("Kids"), kChildFields);
    for (int p = 0; p < parents && in.remaining_bytes(); ++p) {
        std::vector<std::vector<vb::Value>> kids(in.ConsumeIntegralInRange<std::size_t>(0, 12));
        for (auto& kid : kids)
            kid = {aValue(in), aValue(in)};
        source->addChildren(p, QStringLiteral("Kids"), std::move(kids));
    }
    return source;
}

bool takesPart(const report::Layout& layout, SectionKind kind)
{
    const report::Section* s = layout.find(kind);
    return s && s->visible && s->height > 0;
}

// The control by which a band is counted: its section's first visible control.
const report::Control* marker(const report::Layout& layout, SectionKind kind)
{
    if (!takesPart(layout, kind))
        return nullptr;
    for (const report::Control& c : layout.find(kind)->controls)
        if (c.visible)
            return &c;
    return nullptr;
}

void checkBands(const report::Report& r, report::MemorySource& rows, const std::vector<report::Page>& pages, const QString& what)
{
    const report::Layout& layout = r.layout();
    const bool grouped = layout.find(SectionKind::GroupHeader) || layout.find(SectionKind::GroupFooter);
    const int groups = grouped ? rows.count() : 1;
    int lines = 0;
    if (!grouped)
        lines = rows.count();
    else
        for (int p = 0; p < rows.count(); ++p)
            lines += rows.childCount(p, QStringLiteral("Kids"));

    std::map<SectionKind, int> expected{
        {SectionKind::ReportHeader, 1}, {SectionKind::PageHeader, static_cast<int>(pages.size())},
        {SectionKind::GroupHeader, groups}, {SectionKind::Detail, lines}, {SectionKind::GroupFooter, groups},
        {SectionKind::PageFooter, static_cast<int>(pages.size())}, {SectionKind::ReportFooter, 1}};
    for (const auto& [kind, count] : expected) {
        const report::Control* m = marker(layout, kind);
        if (!m)
            continue;
        int seen = 0;
        for (const report::Page& page : pages) {
            int here = 0;
            for (const report::Item& item : page.items)
                here += item.control == m ? 1 : 0;
            seen += here;
            if (kind == SectionKind::ReportHeader && here != (page.number == 1 ? 1 : 0))
                fuzzing::broken("the report header is not on the first page alone", what);
            if (kind == SectionKind::ReportFooter && here != (page.number == page.count ? 1 : 0))
                fuzzing::broken("the report footer is not on the last page alone", what);
            if ((kind == SectionKind::PageHeader || kind == SectionKind::PageFooter) && here != 1)
                fuzzing::broken("a page without its page header or footer", what);
        }
        if (seen != count)
            fuzzing::broken("a band placed more or less often than it should be",
                            what + QStringLiteral(": %1 placed %2 times, not %3").arg(report::nameOf(kind)).arg(seen).arg(count));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    report::ReportOptions options;
    options.date = vb::DateTime(QDate(2001, 3, 15));
    if (in.ConsumeBool())
        options.paper = QSize(in.ConsumeIntegralInRange<int>(0, 20000), in.ConsumeIntegralInRange<int>(0, 30000));
    report::Layout layout = aLayout(in, options.paper.width());
    const auto rows = someRows(in);
    const QString what = QStringLiteral("%1 rows, %2 sections, paper %3x%4")
                             .arg(rows->count()).arg(layout.sections.size()).arg(options.paper.width()).arg(options.paper.height());
    static long bound = 0, tried = 0;
    if (++tried % 5000 == 0 && qEnvironmentVariableIsSet("QUIL_FUZZ_STATS"))
        std::fprintf(stderr, "reports bound: %ld of %ld\n", bound, tried);
    try {
        const report::Report r(std::move(layout), rows, options);
        ++bound;
        const int count = r.pageCount();
        fuzzing::require(count >= 1, "a report without a page", what);
        if (count > 400) {
            // Too many to walk on every input: the first and the last page from the index.
            fuzzing::require(r.page(1).number == 1 && r.page(count).count == count, "page numbers", what);
            return 0;
        }
        const std::vector<report::Page> walked = r.walk();
        fuzzing::require(static_cast<int>(walked.size()) == count, "the walk gives another number of pages", what);
        for (int n = 1; n <= count; ++n) {
            const report::Page& w = walked[static_cast<std::size_t>(n - 1)];
            fuzzing::require(w.number == n && w.count == count, "page numbers", what);
            if (report::describe(r.page(n)) != report::describe(w))
                fuzzing::broken("a page from the index differs from the walk", what + QStringLiteral(", page %1").arg(n));
        }
        checkBands(r, *rows, walked, what);
    } catch (const report::ReportError&) {
        // refused at binding, or a page asked for that the report has not
    } catch (const std::overflow_error&) {
        // a sum beyond the range of its type, reported as the engine's arithmetic does
    }
    return 0;
}
