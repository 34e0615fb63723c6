#pragma once
// How the bands of a report flow onto pages. Every section has a fixed height, so where a page
// ends depends only on where it starts: a page is fully described by the band it starts with
// (a cursor). The engine finds the cursor of every page once, skipping runs of detail lines by
// arithmetic (a page of 31 lines is one division, not 31 steps), and lays out a page by
// flowing its bands one at a time from its cursor, checking each against the space left.
//
// The flow, per page: on the first page the report header, then the page header; on every other
// page the page header. Then bands in report order - for each group its header, its detail
// lines and its footer (a report without groups is one group without header or footer) and at
// the end the report footer - while they fit above the page footer. A band with a page break
// before it starts a new page unless nothing but the page header is on the page yet; a band with
// a page break after it ends its page. A band that does not fit even on an empty page is placed
// there anyway, so that the flow always moves on. Hidden sections and sections of no height
// take no part.
#include "layout.h"

#include <cstdint>
#include <vector>

namespace report::detail {

enum class Step : std::uint8_t { ReportHeader, GroupHeader, Detail, GroupFooter, ReportFooter, End };

struct Cursor {
    Step step = Step::ReportHeader;
    int group = 0;
    int index = 0;  // Detail: the line within its group

    friend bool operator==(const Cursor&, const Cursor&) = default;
};

struct Band {
    int height = 0;
    bool present = false;  // the layout has the section, it is visible and has a height
    bool breakBefore = false;
    bool breakAfter = false;
};

struct FlowShape {
    Band reportHeader, pageHeader, groupHeader, detail, groupFooter, pageFooter, reportFooter;
    int top = 0;     // the top margin
    int bottom = 0;  // where the page footer begins: the paper's height less the bottom margin
                     // and the footer's height
};

// Told of every band a page holds, in the order they stand on it.
class BandSink {
public:
    virtual ~BandSink() = default;
    virtual void place(SectionKind kind, const Cursor& at, int y) = 0;
};

class Flow {
public:
    // detailCounts: the number of detail lines of each group.
    Flow(FlowShape shape, std::vector<int> detailCounts);

    int groupCount() const { return static_cast<int>(counts_.size()); }
    const FlowShape& shape() const { return shape_; }

    // The first band of the report (End for a report with nothing to place).
    Cursor first() const { return normalized(Cursor{}); }

    // Fills one page that starts at `start`. With a sink, every band is placed and told to it,
    // one at a time; without one, runs of detail lines are skipped by arithmetic. Both give the
    // same answer: the cursor the next page starts with (End after the last page).
    Cursor fillPage(Cursor start, BandSink* sink) const;

    // The cursor of every page, first to last. A report always has one page at least.
    std::vector<Cursor> pageStarts() const;

private:
    // The band at `c` or the next one that will be placed, skipping what takes no part.
    Cursor normalized(Cursor c) const;
    static Cursor next(Cursor c);
    const Band& bandAt(Step step) const;
    static SectionKind kindAt(Step step);

    FlowShape shape_;
    std::vector<int> counts_;
};

} // namespace report::detail
