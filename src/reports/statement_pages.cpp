#include "reports/statement_pages.h"

#include "reports/fund_totals.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/text_fold.h"
#include "platform/report/report.h"
#include "platform/vb/currency.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"

#include <QLocale>
#include <algorithm>
#include <sqlcipher/sqlite3.h>
#include <tuple>

namespace reports {

namespace {

// Twips on US Letter. The address block sits where a #10 window envelope shows it when the
// letter is folded in three: 7/8 inch from the left, 2 1/4 inches from the top.
constexpr int kLeft = 1000;
constexpr int kRight = 11240;
constexpr int kWidth = kRight - kLeft;
constexpr int kLine = 260;
constexpr int kAddressLeft = 1260;
constexpr int kAddressTop = 3240;
constexpr int kFirstLinesTop = 6040;
constexpr int kLaterLinesTop = 2140;
constexpr int kLinesBottom = 14500;
constexpr int kFooterTop = 14700;
// Columns of the gift lines.
constexpr int kDateLeft = kLeft;
constexpr int kDateWidth = 1500;
constexpr int kFundLeft = 2600;
constexpr int kFundWidth = 4200;
constexpr int kCheckLeft = 6900;
constexpr int kCheckWidth = 1400;
constexpr int kAmountLeft = 8600;
constexpr int kAmountWidth = kRight - kAmountLeft;
// The wording wraps at about this many characters a line at its size; the estimate errs long so
// that the wrapped text never reaches the signature.
constexpr int kWordingLineChars = 80;
constexpr int kWordingMostLines = 24;

enum Style { OrgName, OrgLine, Title, Text, TextBold, Amount, AmountBold, Caption, CaptionRight, Small, SmallRight,
             Wording, Address, Rule, Logo, StyleCount };

std::shared_ptr<report::Layout> makeLayout(const QString& name, const QImage& logo)
{
    struct Spec {
        const char* name;
        double points;
        bool bold;
        report::Align align;
    };
    static constexpr Spec specs[StyleCount] = {
        {"OrgName", 14, true, report::Align::Left},     {"OrgLine", 9, false, report::Align::Left},
        {"Title", 16, true, report::Align::Left},       {"Text", 10, false, report::Align::Left},
        {"TextBold", 10, true, report::Align::Left},    {"Amount", 10, false, report::Align::Right},
        {"AmountBold", 10, true, report::Align::Right}, {"Caption", 9, true, report::Align::Left},
        {"CaptionRight", 9, true, report::Align::Right}, {"Small", 8, false, report::Align::Left},
        {"SmallRight", 8, false, report::Align::Right}, {"Wording", 10, false, report::Align::Left},
        {"Address", 11, false, report::Align::Left},    {"Rule", 0, false, report::Align::Left},
        {"Logo", 0, false, report::Align::Left},
    };
    auto layout = std::make_shared<report::Layout>();
    layout->name = name;
    layout->reportWidth = kWidth;
    layout->leftMargin = layout->rightMargin = layout->topMargin = layout->bottomMargin = kLeft;
    report::Section page;
    page.name = QStringLiteral("Page");
    page.kind = report::SectionKind::Detail;
    page.height = 15840 - 2 * kLeft;
    for (int s = 0; s < StyleCount; ++s) {
        report::Control c;
        c.name = QString::fromLatin1(specs[s].name);
        c.kind = s == Rule ? report::ControlKind::Line : s == Logo ? report::ControlKind::Image : report::ControlKind::Label;
        c.font.pointSize = specs[s].points > 0 ? specs[s].points : 8;
        c.font.bold = specs[s].bold;
        c.align = specs[s].align;
        if (s == Logo)
            c.picture = logo;
        page.controls.push_back(c);
    }
    layout->sections.push_back(std::move(page));
    return layout;
}

// Adds items to a page in the layout's styles.
class PageItems {
public:
    PageItems(report::Page& page) : page_(page), section_(&page.layout->sections.front()) {}

    void text(Style style, int left, int top, int width, int height, const QString& text)
    {
        if (!text.isEmpty())
            add(report::ItemKind::Text, style, QRect(left, top, width, height), text);
    }
    void rule(int left, int top, int width) { add(report::ItemKind::Line, Rule, QRect(left, top, width, 1), {}); }
    void image(int left, int top, int width, int height) { add(report::ItemKind::Image, Logo, QRect(left, top, width, height), {}); }

private:
    void add(report::ItemKind kind, Style style, QRect rect, const QString& text)
    {
        report::Item item;
        item.kind = kind;
        item.rect = rect;
        item.text = text;
        item.section = section_;
        item.control = &section_->controls[style];
        page_.items.push_back(std::move(item));
    }
    report::Page& page_;
    const report::Section* section_;
};

QString money(const std::optional<vb::Currency>& amount)
{
    return vb::formatTotal(amount, u"$##,##0.00");
}

int wordingLines(const QString& wording)
{
    if (wording.trimmed().isEmpty())
        return 0;
    int lines = 0;
    for (const QString& paragraph : wording.split(u'\n'))
        lines += std::max<int>(1, static_cast<int>((paragraph.size() + kWordingLineChars - 1) / kWordingLineChars));
    return std::min(lines, kWordingMostLines);
}

QString longDay(QDate day)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(day, QStringLiteral("MMMM d, yyyy"));
}

} // namespace

// ---- One donor's letter, read when one of its pages is laid out --------------------------------

struct GivingStatementPages::Letter {
    std::size_t donor = 0;
    QString name;
    QStringList address;  // the lines under the name
    struct Line {
        bool subtotal = false;
        QString date;
        QString fund;
        QString check;
        QString amount;
    };
    std::vector<Line> lines;
    QString total;
};

StatementPaging GivingStatementPages::paging(const QString& wording)
{
    StatementPaging p;
    p.firstPageLines = (kLinesBottom - kFirstLinesTop) / kLine;
    p.laterPageLines = (kLinesBottom - kLaterLinesTop) / kLine;
    // The total and the space above it, a blank line, the wording, room to sign, the signature.
    p.closingLines = 2 + 1 + wordingLines(wording) + 2 + 2;
    return p;
}

GivingStatementPages::GivingStatementPages(dao::Database& db, StatementRequest request, std::vector<StatementDonor> donors)
    : db_(db), request_(std::move(request)), donors_(std::move(donors)), paging_(paging(request_.wording)),
      layout_(makeLayout(QStringLiteral("GivingStatement"), request_.letterhead.logo))
{
}

GivingStatementPages::~GivingStatementPages() = default;

QSize GivingStatementPages::paper() const
{
    return report::kLetter;
}

int GivingStatementPages::pageCount() const
{
    return donors_.empty() ? 0 : donors_.back().firstPage + donors_.back().pages;
}

GivingStatementPages::Names GivingStatementPages::namesOf(std::int64_t memberId) const
{
    sqlite::Statement read = db_.connection().prepare(QStringLiteral("SELECT FirstName, LastName FROM Members WHERE MemberID = ?1"));
    read.bind(1, memberId);
    Names n;
    if (read.step()) {
        n.first = read.text(0).trimmed();
        n.last = read.text(1).trimmed();
    }
    n.full = (n.first + u' ' + n.last).trimmed();
    return n;
}

const GivingStatementPages::Letter& GivingStatementPages::letter(std::size_t donor) const
{
    if (loaded_ && loaded_->donor == donor)
        return *loaded_;
    const StatementDonor& d = donors_[donor];
    auto l = std::make_unique<Letter>();
    l->donor = donor;

    sqlite::Statement member = db_.connection().prepare(
        QStringLiteral("SELECT FirstName, LastName, Address, City, State, PostalCode FROM Members WHERE MemberID = ?1"));
    member.bind(1, d.memberId);
    if (member.step()) {
        const auto field = [&](int i) { return member.isNull(i) ? QString() : member.text(i).trimmed(); };
        l->name = (field(0) + u' ' + field(1)).trimmed();
        if (isUsableAddress(field(2))) {
            l->address << field(2);
            QString city = field(3);
            if (!field(4).isEmpty())
                city += (city.isEmpty() ? QString() : QStringLiteral(", ")) + field(4);
            if (!field(5).isEmpty())
                city += (city.isEmpty() ? QString() : QStringLiteral(" ")) + field(5);
            if (!city.isEmpty())
                l->address << city;
        }
    }

    struct Gift {
        QString key;
        QString fund;
        QString date;  // stored, so it sorts
        std::int64_t id = 0;
        std::int64_t check = 0;
        std::optional<std::int64_t> amount;
    };
    std::vector<Gift> gifts;
    sqlite::Statement read = db_.connection().prepare(QStringLiteral(
        "SELECT PaymentDate, Destination, CheckNumber, PaymentAmount, PaymentID FROM Payments "
        "WHERE MemberID = ?1 AND PaymentDate >= ?2 AND PaymentDate < ?3"));
    read.bind(1, d.memberId);
    read.bind(2, vb::DateTime(request_.period.from).toIso());
    read.bind(3, vb::DateTime(request_.period.to.addDays(1)).toIso());
    while (read.step()) {
        Gift g;
        g.date = read.text(0);
        g.fund = read.isNull(1) ? QString() : read.text(1);
        g.key = fundKey(g.fund);
        g.check = read.isNull(2) ? 0 : read.int64(2);
        if (read.columnType(3) == SQLITE_INTEGER)
            g.amount = read.int64(3);
        g.id = read.int64(4);
        gifts.push_back(std::move(g));
    }
    std::sort(gifts.begin(), gifts.end(), [](const Gift& a, const Gift& b) {
        if (const int c = jet::compareFolded(a.key, b.key); c != 0)
            return c < 0;
        return std::tie(a.date, a.id) < std::tie(b.date, b.id);
    });

    vb::CurrencySum total;
    const bool subtotals = d.funds > 1;
    for (std::size_t i = 0; i < gifts.size();) {
        std::size_t end = i;
        vb::CurrencySum fund;
        for (; end < gifts.size() && gifts[end].key == gifts[i].key; ++end) {
            const Gift& g = gifts[end];
            Letter::Line line;
            const auto when = vb::DateTime::fromIso(g.date);
            line.date = when ? vb::shortDate(*when) : g.date;
            line.fund = g.fund;
            line.check = g.check == 0 ? QString() : QString::number(g.check);
            if (g.amount) {
                fund.addRaw(*g.amount);
                line.amount = money(vb::Currency::fromRaw(*g.amount));
            } else {
                fund.spoil();
            }
            l->lines.push_back(std::move(line));
        }
        if (subtotals) {
            Letter::Line line;
            line.subtotal = true;
            line.fund = QStringLiteral("Total for %1").arg(gifts[i].fund.isEmpty() ? QStringLiteral("(no destination)") : gifts[i].fund);
            line.amount = money(fund.value());
            l->lines.push_back(std::move(line));
        }
        total.addSum(fund);
        i = end;
    }
    l->total = money(total.value());
    // The tally and the lines read now come from the same rows; should the file have changed in
    // between, the letter still gets the pages it was counted for, its lines cut to fit them.
    loaded_ = std::move(l);
    return *loaded_;
}

report::Page GivingStatementPages::page(int number) const
{
    // The donor whose letter holds the page: the last whose first page is not after it.
    const int index = number - 1;
    const auto found = std::upper_bound(donors_.begin(), donors_.end(), index,
                                        [](int page, const StatementDonor& d) { return page < d.firstPage; });
    const std::size_t donor = static_cast<std::size_t>(std::distance(donors_.begin(), found) - 1);
    report::Page p = build(letter(donor), donors_[donor], index - donors_[donor].firstPage);
    p.number = number;
    p.count = pageCount();
    return p;
}

report::Page GivingStatementPages::donorPage(std::size_t donor, int number) const
{
    report::Page p = build(letter(donor), donors_[donor], number - 1);
    p.number = number;
    p.count = donors_[donor].pages;
    return p;
}

report::Page GivingStatementPages::build(const Letter& l, const StatementDonor& d, int pageOfLetter) const
{
    report::Page page;
    page.paper = report::kLetter;
    page.layout = layout_;
    PageItems items(page);
    const StatementRequest& r = request_;
    const QString pageOf = d.pages > 1 ? QStringLiteral("Page %1 of %2").arg(pageOfLetter + 1).arg(d.pages) : QString();

    int y = 0;
    if (pageOfLetter == 0) {
        const bool logo = !r.letterhead.logo.isNull();
        const int textLeft = logo ? 2600 : kLeft;
        if (logo)
            items.image(kLeft, 900, 1400, 1400);
        items.text(OrgName, textLeft, 900, kRight - textLeft, 400, r.letterhead.name);
        items.text(OrgLine, textLeft, 1340, kRight - textLeft, 220, r.letterhead.address);
        items.text(OrgLine, textLeft, 1580, kRight - textLeft, 220, r.letterhead.phone);
        items.text(OrgLine, textLeft, 1820, kRight - textLeft, 220, r.letterhead.email);
        items.rule(kLeft, 2440, kWidth);

        items.text(Address, kAddressLeft, kAddressTop, 5200, 280, l.name);
        for (int i = 0; i < l.address.size(); ++i)
            items.text(Address, kAddressLeft, kAddressTop + 280 * (i + 1), 5200, 280, l.address[i]);
        items.text(Text, 7240, kAddressTop, 4000, 260, QStringLiteral("Date printed: %1").arg(longDay(r.printed)));
        items.text(Text, 7240, kAddressTop + 260, 4000, 260, QStringLiteral("Donor number: %1").arg(d.memberId));

        items.text(Title, kLeft, 4700, kWidth, 420, QStringLiteral("Giving Statement"));
        items.text(Address, kLeft, 5160, kWidth, 280, r.period.inWords());
        y = 5700;
    } else {
        items.text(TextBold, kLeft, 1000, 7000, 300, l.name);
        items.text(Text, 8240, 1000, 3000, 300, pageOf);
        items.text(Small, kLeft, 1320, kWidth, 240, QStringLiteral("Giving Statement, %1").arg(r.period.inWords()));
        y = 1800;
    }
    items.text(Caption, kDateLeft, y, kDateWidth, 240, QStringLiteral("Date"));
    items.text(Caption, kFundLeft, y, kFundWidth, 240, QStringLiteral("Destination"));
    items.text(CaptionRight, kCheckLeft, y, kCheckWidth, 240, QStringLiteral("Check #"));
    items.text(CaptionRight, kAmountLeft, y, kAmountWidth, 240, QStringLiteral("Amount"));
    items.rule(kLeft, y + 260, kWidth);
    y = pageOfLetter == 0 ? kFirstLinesTop : kLaterLinesTop;

    const int lines = d.lines();
    const int first = paging_.firstLine(pageOfLetter, lines);
    const int last = std::min(paging_.firstLine(pageOfLetter + 1, lines), static_cast<int>(l.lines.size()));
    for (int i = first; i < last; ++i, y += kLine) {
        const Letter::Line& line = l.lines[static_cast<std::size_t>(i)];
        if (line.subtotal) {
            items.text(TextBold, kFundLeft, y, kAmountLeft - kFundLeft - 200, 240, line.fund);
            items.text(AmountBold, kAmountLeft, y, kAmountWidth, 240, line.amount);
            continue;
        }
        items.text(Text, kDateLeft, y, kDateWidth, 240, line.date);
        items.text(Text, kFundLeft, y, kFundWidth, 240, line.fund);
        items.text(Amount, kCheckLeft, y, kCheckWidth, 240, line.check);
        items.text(Amount, kAmountLeft, y, kAmountWidth, 240, line.amount);
    }

    if (pageOfLetter == d.pages - 1) {
        // The closing block, whole, under the last line (or at the top of a page of its own).
        items.rule(kAmountLeft, y + 60, kAmountWidth);
        y += kLine;
        items.text(TextBold, kFundLeft, y, kAmountLeft - kFundLeft - 200, 240, QStringLiteral("Total of gifts in the period"));
        items.text(AmountBold, kAmountLeft, y, kAmountWidth, 240, l.total);
        y += 2 * kLine;
        const int wording = wordingLines(r.wording);
        if (wording > 0)
            items.text(Wording, kLeft, y, kWidth, std::max(2, wording) * kLine, r.wording.trimmed());
        y += wording * kLine + 2 * kLine;
        items.rule(kLeft, y, 4400);
        items.text(Small, kLeft, y + 40, 6000, 220,
                   r.letterhead.name.isEmpty() ? QStringLiteral("Signature") : QStringLiteral("For %1").arg(r.letterhead.name));
    }

    if (d.pages > 1) {
        items.text(Small, kLeft, kFooterTop, 6000, 220, l.name);
        items.text(SmallRight, 8240, kFooterTop, 3000, 220, pageOf);
    }
    return page;
}

// ---- The list of donors without a usable address -------------------------------------------------

namespace {
constexpr int kListTop = 2200;
constexpr int kListRows = (kLinesBottom - kListTop) / kLine;
} // namespace

DonorListPages::DonorListPages(QString title, QString subtitle, std::vector<Entry> entries)
    : title_(std::move(title)), subtitle_(std::move(subtitle)), entries_(std::move(entries)),
      layout_(makeLayout(QStringLiteral("DonorList"), {}))
{
}

DonorListPages::~DonorListPages() = default;

QSize DonorListPages::paper() const
{
    return report::kLetter;
}

int DonorListPages::pageCount() const
{
    return std::max<int>(1, static_cast<int>((entries_.size() + kListRows - 1) / kListRows));
}

report::Page DonorListPages::page(int number) const
{
    report::Page page;
    page.paper = report::kLetter;
    page.layout = layout_;
    page.number = number;
    page.count = pageCount();
    PageItems items(page);
    items.text(Title, kLeft, 1000, kWidth, 420, title_);
    items.text(Text, kLeft, 1440, kWidth, 260, subtitle_);
    items.text(SmallRight, 8240, 1000, 3000, 220, QStringLiteral("Page %1 of %2").arg(number).arg(page.count));
    items.text(Caption, kLeft, 1860, 8000, 240, QStringLiteral("Donor"));
    items.text(CaptionRight, kAmountLeft, 1860, kAmountWidth, 240, QStringLiteral("Member ID"));
    items.rule(kLeft, 2120, kWidth);
    const std::size_t first = static_cast<std::size_t>(number - 1) * kListRows;
    int y = kListTop;
    for (std::size_t i = first; i < entries_.size() && i < first + kListRows; ++i, y += kLine) {
        items.text(Text, kLeft, y, 8000, 240, entries_[i].name);
        items.text(Amount, kAmountLeft, y, kAmountWidth, 240, QString::number(entries_[i].memberId));
    }
    return page;
}

} // namespace reports
