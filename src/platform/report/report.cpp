#include "report.h"

#include "flow.h"
#include "report_error.h"
#include "totals.h"
#include "platform/vb/format.h"

#include <map>
#include <stdexcept>

namespace report {

using detail::Cursor;
using detail::Step;

// What binding found: for every control the field it reads and the rows it reads it from.
struct Report::Binding {
    struct Field {
        int index = -1;  // in the field names of the rows it reads; -1 for none
        QString member;  // "" for the section's own rows
    };
    bool grouped = false;
    QString detailMember;  // grouped: the child row set the detail lines show
    std::map<const Control*, Field> fields;
    std::map<const Control*, vb::Value> reportTotals;  // report header and footer functions, once computed
};

namespace {

bool inGroup(SectionKind kind)
{
    return kind == SectionKind::GroupHeader || kind == SectionKind::GroupFooter;
}

bool inReportBand(SectionKind kind)
{
    return kind == SectionKind::ReportHeader || kind == SectionKind::ReportFooter;
}

[[noreturn]] void refuse(const Layout& layout, const Control& control, const QString& why)
{
    throw ReportError(QStringLiteral("Report '%1', control '%2': %3").arg(layout.name, control.name, why));
}

detail::Band bandOf(const Section* section)
{
    detail::Band band;
    if (!section || !section->visible || section->height <= 0)
        return band;
    band.present = true;
    band.height = section->height;
    band.breakBefore = section->pageBreakBefore;
    band.breakAfter = section->pageBreakAfter;
    return band;
}

// The caption with its placeholders filled: %D the long date, %d the short date, %p the page,
// %P the pages, %% a percent sign. Anything else after a percent sign stays as written.
QString fillCaption(const QString& caption, const vb::DateTime& date, int page, int pages)
{
    if (!caption.contains(u'%'))
        return caption;
    QString out;
    out.reserve(caption.size() + 16);
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c != u'%' || i + 1 == caption.size()) {
            out += c;
            continue;
        }
        switch (caption[i + 1].unicode()) {
        case u'D': out += vb::longDate(date); break;
        case u'd': out += vb::shortDate(date); break;
        case u'p': out += QString::number(page); break;
        case u'P': out += QString::number(pages); break;
        case u'%': out += u'%'; break;
        default: out += c; continue;
        }
        ++i;
    }
    return out;
}

QString shown(const vb::Value& value, const QString& format)
{
    return format.isEmpty() ? value.toText() : vb::format(value, format);
}

} // namespace

Report::Report(Layout layout, std::shared_ptr<DataSource> rows, ReportOptions options)
    : layout_(std::make_shared<Layout>(std::move(layout))), rows_(std::move(rows)), options_(options),
      binding_(std::make_unique<Binding>())
{
    if (!rows_)
        throw ReportError(QStringLiteral("Report '%1' has no rows to show.").arg(layout_->name));
    bind();
    paginate();
}

Report::~Report() = default;

Pages::~Pages() = default;

void Report::bind()
{
    const Layout& L = *layout_;
    if (L.leftMargin + L.reportWidth + L.rightMargin > options_.paper.width())
        throw ReportError(QStringLiteral("Report '%1': its width (%2 twips) and margins do not fit on the paper (%3 twips wide).")
                              .arg(L.name).arg(L.reportWidth).arg(options_.paper.width()));
    for (std::size_t i = 0; i < L.sections.size(); ++i)
        for (std::size_t j = i + 1; j < L.sections.size(); ++j)
            if (L.sections[i].kind == L.sections[j].kind)
                throw ReportError(QStringLiteral("Report '%1' has two sections of the %2: '%3' and '%4'.")
                                      .arg(L.name, nameOf(L.sections[i].kind), L.sections[i].name, L.sections[j].name));

    Binding& b = *binding_;
    b.grouped = L.find(SectionKind::GroupHeader) || L.find(SectionKind::GroupFooter);
    const QStringList members = rows_->memberNames();
    const QStringList rowFields = rows_->fieldNames();

    if (b.grouped) {
        if (const Section* d = L.find(SectionKind::Detail)) {
            for (const Control& c : d->controls)
                if (c.isBound()) {
                    if (c.dataMember.isEmpty())
                        refuse(L, c, QStringLiteral("a detail line of a grouped report must name the data member it shows."));
                    if (!b.detailMember.isEmpty() && b.detailMember.compare(c.dataMember, Qt::CaseInsensitive) != 0)
                        refuse(L, c, QStringLiteral("the detail lines show '%1', not '%2'.").arg(b.detailMember, c.dataMember));
                    b.detailMember = c.dataMember;
                }
        }
        if (b.detailMember.isEmpty() && !members.isEmpty())
            b.detailMember = members.front();
    }

    for (const Section& s : L.sections) {
        for (const Control& c : s.controls) {
            if (!c.isBound())
                continue;
            const bool function = c.kind == ControlKind::Function;
            if (!function && !(s.kind == SectionKind::Detail || inGroup(s.kind)))
                refuse(L, c, QStringLiteral("a text box cannot stand in the %1.").arg(nameOf(s.kind)));
            if (function && !(inGroup(s.kind) || inReportBand(s.kind)))
                refuse(L, c, QStringLiteral("a function cannot stand in the %1.").arg(nameOf(s.kind)));
            if (!function && inGroup(s.kind) && !c.dataMember.isEmpty())
                refuse(L, c, QStringLiteral("a text box of the %1 shows the parent row, not '%2'.").arg(nameOf(s.kind), c.dataMember));
            if (!c.dataMember.isEmpty() && !b.grouped)
                refuse(L, c, QStringLiteral("the data member '%1' needs a group header or footer.").arg(c.dataMember));
            if (!c.dataMember.isEmpty() && indexOfName(members, c.dataMember) < 0)
                refuse(L, c, QStringLiteral("the data member '%1' is not part of the report's rows.").arg(c.dataMember));

            const QStringList fields = c.dataMember.isEmpty() ? rowFields : rows_->memberFieldNames(c.dataMember);
            const int index = indexOfName(fields, c.dataField);
            if (index < 0)
                refuse(L, c, QStringLiteral("the data field '%1' is not found.").arg(c.dataField));
            if (!c.format.isEmpty()) {
                try {
                    vb::format(vb::Value(), c.format);
                } catch (const std::invalid_argument&) {
                    refuse(L, c, QStringLiteral("the format '%1' is not known.").arg(c.format));
                }
            }
            b.fields[&c] = Binding::Field{index, c.dataMember};
        }
    }
}

void Report::paginate()
{
    const Layout& L = *layout_;
    detail::FlowShape shape;
    shape.reportHeader = bandOf(L.find(SectionKind::ReportHeader));
    shape.pageHeader = bandOf(L.find(SectionKind::PageHeader));
    shape.groupHeader = bandOf(L.find(SectionKind::GroupHeader));
    shape.detail = bandOf(L.find(SectionKind::Detail));
    shape.groupFooter = bandOf(L.find(SectionKind::GroupFooter));
    shape.pageFooter = bandOf(L.find(SectionKind::PageFooter));
    shape.reportFooter = bandOf(L.find(SectionKind::ReportFooter));
    shape.top = L.topMargin;
    shape.bottom = options_.paper.height() - L.bottomMargin - shape.pageFooter.height;

    std::vector<int> counts;
    if (binding_->grouped) {
        const int parents = rows_->count();
        counts.resize(static_cast<std::size_t>(parents), 0);
        if (!binding_->detailMember.isEmpty())
            for (int p = 0; p < parents; ++p)
                counts[static_cast<std::size_t>(p)] = rows_->childCount(p, binding_->detailMember);
    } else {
        counts.push_back(shape.detail.present ? rows_->count() : 0);
    }
    flow_ = std::make_unique<detail::Flow>(shape, std::move(counts));
    starts_ = flow_->pageStarts();
}

int Report::pageCount() const
{
    return static_cast<int>(starts_.size());
}

// Builds the items of one page as the flow places its bands, reading each row once.
class Report::Builder : public detail::BandSink {
public:
    Builder(const Report& report, Page& page) : r_(report), page_(page) {}

    void place(SectionKind kind, const Cursor& at, int y) override
    {
        const Section* section = r_.layout_->find(kind);
        const std::vector<vb::Value>* row = nullptr;
        std::vector<vb::Value> flatRow;
        if (kind == SectionKind::Detail) {
            if (r_.binding_->grouped) {
                flatRow = childrenOf(at.group).row(at.index);
            } else {
                flatRow = r_.rows_->row(at.index);
            }
            row = &flatRow;
        } else if (inGroup(kind)) {
            row = &parent(at.group);
        }
        for (const Control& c : section->controls) {
            if (!c.visible)
                continue;
            Item item;
            item.section = section;
            item.control = &c;
            item.rect = QRect(r_.layout_->leftMargin + c.left, y + c.top, c.width, c.height);
            switch (c.kind) {
            case ControlKind::Label:
                item.text = fillCaption(c.caption, r_.options_.date, page_.number, page_.count);
                break;
            case ControlKind::TextBox: {
                const int field = r_.binding_->fields.at(&c).index;
                item.text = shown(row ? (*row)[static_cast<std::size_t>(field)] : vb::Value(), c.format);
                break;
            }
            case ControlKind::Function:
                item.text = shown(total(c, kind, at.group), c.format);
                break;
            case ControlKind::Line: item.kind = ItemKind::Line; break;
            case ControlKind::Shape: item.kind = ItemKind::Box; break;
            case ControlKind::Image: item.kind = ItemKind::Image; break;
            }
            page_.items.push_back(std::move(item));
        }
    }

private:
    const std::vector<vb::Value>& parent(int group)
    {
        if (parentGroup_ != group) {
            parentRow_ = r_.rows_->row(group);
            parentGroup_ = group;
        }
        return parentRow_;
    }

    Rows& childrenOf(int group)
    {
        if (!children_ || childGroup_ != group) {
            children_ = r_.rows_->children(group, r_.binding_->detailMember);
            childGroup_ = group;
        }
        return *children_;
    }

    vb::Value total(const Control& c, SectionKind kind, int group)
    {
        const Binding::Field& f = r_.binding_->fields.at(&c);
        if (inGroup(kind)) {
            if (f.member.isEmpty())
                return parent(group)[static_cast<std::size_t>(f.index)];
            Total sum;
            if (f.member.compare(r_.binding_->detailMember, Qt::CaseInsensitive) == 0)
                sum.addAll(childrenOf(group), f.index);
            else
                sum.addAll(*r_.rows_->children(group, f.member), f.index);
            return sum.value();
        }
        // Report header and footer: over every row, once per report.
        auto& cache = r_.binding_->reportTotals;
        if (auto it = cache.find(&c); it != cache.end())
            return it->second;
        Total sum;
        if (f.member.isEmpty()) {
            sum.addAll(*r_.rows_, f.index);
        } else {
            const int parents = r_.rows_->count();
            for (int p = 0; p < parents; ++p)
                sum.addAll(*r_.rows_->children(p, f.member), f.index);
        }
        return cache[&c] = sum.value();
    }

    const Report& r_;
    Page& page_;
    int parentGroup_ = -1;
    std::vector<vb::Value> parentRow_;
    int childGroup_ = -1;
    std::unique_ptr<Rows> children_;
};

Page Report::build(const Cursor& start, int number, Cursor* next) const
{
    Page page;
    page.number = number;
    page.count = pageCount();
    page.paper = options_.paper;
    page.layout = layout_;
    Builder builder(*this, page);
    const Cursor after = flow_->fillPage(start, &builder);
    if (next)
        *next = after;
    return page;
}

Page Report::page(int number) const
{
    if (number < 1 || number > pageCount())
        throw ReportError(QStringLiteral("Report '%1' has no page %2 (it has %3).").arg(layout_->name).arg(number).arg(pageCount()));
    return build(starts_[static_cast<std::size_t>(number - 1)], number, nullptr);
}

std::vector<Page> Report::walk() const
{
    std::vector<Page> pages;
    Cursor c = flow_->first();
    for (int number = 1;; ++number) {
        pages.push_back(build(c, number, &c));
        if (c.step == Step::End)
            break;
    }
    return pages;
}

} // namespace report
