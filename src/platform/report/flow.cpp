#include "flow.h"

#include <algorithm>

namespace report::detail {

Flow::Flow(FlowShape shape, std::vector<int> detailCounts) : shape_(shape), counts_(std::move(detailCounts))
{
}

const Band& Flow::bandAt(Step step) const
{
    switch (step) {
    case Step::ReportHeader: return shape_.reportHeader;
    case Step::GroupHeader: return shape_.groupHeader;
    case Step::Detail: return shape_.detail;
    case Step::GroupFooter: return shape_.groupFooter;
    case Step::ReportFooter: return shape_.reportFooter;
    case Step::End: break;
    }
    static const Band none;
    return none;
}

SectionKind Flow::kindAt(Step step)
{
    switch (step) {
    case Step::ReportHeader: return SectionKind::ReportHeader;
    case Step::GroupHeader: return SectionKind::GroupHeader;
    case Step::Detail: return SectionKind::Detail;
    case Step::GroupFooter: return SectionKind::GroupFooter;
    case Step::ReportFooter:
    case Step::End: break;
    }
    return SectionKind::ReportFooter;
}

Cursor Flow::next(Cursor c)
{
    switch (c.step) {
    case Step::ReportHeader: return {Step::GroupHeader, 0, 0};
    case Step::GroupHeader: return {Step::Detail, c.group, 0};
    case Step::Detail: return {Step::Detail, c.group, c.index + 1};
    case Step::GroupFooter: return {Step::GroupHeader, c.group + 1, 0};
    case Step::ReportFooter:
    case Step::End: break;
    }
    return {Step::End, 0, 0};
}

Cursor Flow::normalized(Cursor c) const
{
    for (;;) {
        switch (c.step) {
        case Step::ReportHeader:
            if (shape_.reportHeader.present)
                return c;
            c = next(c);
            break;
        case Step::GroupHeader:
            if (c.group >= groupCount())
                return shape_.reportFooter.present ? Cursor{Step::ReportFooter, 0, 0} : Cursor{Step::End, 0, 0};
            if (shape_.groupHeader.present)
                return c;
            c = next(c);
            break;
        case Step::Detail:
            if (shape_.detail.present && c.index < counts_[static_cast<std::size_t>(c.group)])
                return c;
            c = {Step::GroupFooter, c.group, 0};
            break;
        case Step::GroupFooter:
            if (shape_.groupFooter.present)
                return c;
            c = next(c);
            break;
        case Step::ReportFooter:
            return shape_.reportFooter.present ? c : Cursor{Step::End, 0, 0};
        case Step::End:
            return c;
        }
    }
}

Cursor Flow::fillPage(Cursor c, BandSink* sink) const
{
    int y = shape_.top;
    bool placed = false;  // a band other than the page header is on the page
    bool ended = false;   // a band's page break after it ends the page
    if (c.step == Step::ReportHeader) {
        if (sink)
            sink->place(SectionKind::ReportHeader, c, y);
        y += shape_.reportHeader.height;
        placed = true;
        ended = shape_.reportHeader.breakAfter;
        c = normalized(next(c));
    }
    if (shape_.pageHeader.present) {
        if (sink)
            sink->place(SectionKind::PageHeader, c, y);
        y += shape_.pageHeader.height;
    }

    while (!ended && c.step != Step::End) {
        const Band& band = bandAt(c.step);
        if (placed && band.breakBefore)
            break;
        if (c.step == Step::Detail && !sink && !band.breakBefore && !band.breakAfter) {
            // A run of detail lines: as many as fit, at once.
            const int room = shape_.bottom - y;
            int fit = room >= 0 ? room / band.height : 0;
            if (fit == 0 && !placed)
                fit = 1;
            const int left = counts_[static_cast<std::size_t>(c.group)] - c.index;
            const int take = std::min(fit, left);
            if (take == 0)
                break;
            y += take * band.height;
            placed = true;
            c.index += take;
            c = normalized(c);
            continue;
        }
        if (placed && y + band.height > shape_.bottom)
            break;
        if (sink)
            sink->place(kindAt(c.step), c, y);
        y += band.height;
        placed = true;
        ended = band.breakAfter;
        c = normalized(next(c));
    }

    if (shape_.pageFooter.present && sink)
        sink->place(SectionKind::PageFooter, c, shape_.bottom);
    return c;
}

std::vector<Cursor> Flow::pageStarts() const
{
    std::vector<Cursor> starts;
    Cursor c = first();
    starts.push_back(c);
    if (c.step == Step::End)
        return starts;  // one page of page header and footer
    for (;;) {
        c = fillPage(c, nullptr);
        if (c.step == Step::End)
            return starts;
        starts.push_back(c);
    }
}

} // namespace report::detail
