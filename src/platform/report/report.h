#pragma once
// A report: a layout bound to its rows, paginated, and laid out one page at a time.
//
// Binding checks the layout against the rows at once (a text box bound to a field the rows do not
// have, a format the program does not know, a report wider than its paper are ReportErrors
// before anything is shown). Pagination asks the rows only for counts - detail lines, or parent
// rows and their child counts - and finds where every page starts without laying any out
// (see flow.h). page(n) then reads the rows of that page alone and builds its items, so the
// first page of a million lines, and the last, each cost one page's worth of work.
#include "data_source.h"
#include "layout.h"
#include "page.h"
#include "pages.h"
#include "platform/vb/datetime.h"

#include <QSize>
#include <memory>
#include <optional>
#include <vector>

namespace report {

namespace detail {
class Flow;
struct Cursor;
} // namespace detail

// US Letter in twips: the paper the program's layouts are made for.
inline constexpr QSize kLetter{12240, 15840};

struct ReportOptions {
    vb::DateTime date = vb::DateTime::today();  // what "%D" and "%d" show
    QSize paper = kLetter;
};

class Report final : public Pages {
public:
    // Throws ReportError when the layout cannot be bound to the rows; errors of the rows (a
    // database error while counting) pass through as they are.
    Report(Layout layout, std::shared_ptr<DataSource> rows, ReportOptions options = {});
    ~Report() override;
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    const Layout& layout() const { return *layout_; }
    QString name() const override { return layout_->name; }
    QString caption() const override { return layout_->caption; }
    QSize paper() const override { return options_.paper; }
    int pageCount() const override;

    // Page `number` (1..pageCount()), laid out from the rows of that page alone.
    Page page(int number) const override;

    // Every page, each one flowing on from where the one before ended, without the page index.
    // What page() gives must equal this; tests hold the engine to it.
    std::vector<Page> walk() const;

private:
    struct Binding;
    class Builder;
    void bind();
    void paginate();
    Page build(const detail::Cursor& start, int number, detail::Cursor* next) const;

    std::shared_ptr<Layout> layout_;
    std::shared_ptr<DataSource> rows_;
    ReportOptions options_;
    std::unique_ptr<Binding> binding_;
    std::unique_ptr<detail::Flow> flow_;
    std::vector<detail::Cursor> starts_;
};

} // namespace report
