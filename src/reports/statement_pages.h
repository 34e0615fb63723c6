#pragma once
// The pages of a run of giving statements: one letter per donor, each with the letterhead, the
// donor's name and address where a window envelope shows them, the title and the period, the
// period's gifts (a subtotal per fund when there is more than one), the total, the
// organisation's wording and a signature line. A letter of many gifts continues over pages that
// carry the donor's name and "Page n of m".
//
// The pages are counted from the donors' tallies (statement_donors.h) and laid out one at a
// time: page(n) reads the gifts of that page's donor alone, so the preview opens on the first
// letter of a hundred thousand at once and a PDF of all of them holds one donor in memory.
#include "platform/report/pages.h"
#include "reports/letterhead.h"
#include "reports/statement_donors.h"

#include <QImage>
#include <memory>

namespace dao { class Database; }

namespace reports {

struct StatementRequest {
    StatementPeriod period;
    QString wording;  // the organisation's acknowledgement, printed above the signature
    Letterhead letterhead;
    QDate printed;
};

class GivingStatementPages final : public report::Pages {
public:
    // Where lines fall for a given wording: the closing block grows with it.
    static StatementPaging paging(const QString& wording);

    // `donors` as statementDonors() gives them under paging(request.wording).
    GivingStatementPages(dao::Database& db, StatementRequest request, std::vector<StatementDonor> donors);
    ~GivingStatementPages() override;

    QString name() const override { return QStringLiteral("GivingStatement"); }
    QString caption() const override { return QStringLiteral("Giving Statements"); }
    QSize paper() const override;
    int pageCount() const override;
    report::Page page(int number) const override;

    const std::vector<StatementDonor>& donors() const { return donors_; }
    const StatementRequest& request() const { return request_; }

    // The donor's name as the letter gives it ("First Last"), and the parts a file name takes.
    struct Names {
        QString full;
        QString first;
        QString last;
    };
    Names namesOf(std::int64_t memberId) const;

    // Page `number` of the letter of donors()[donor] (1..its pages), numbered as that letter's own.
    report::Page donorPage(std::size_t donor, int number) const;

private:
    struct Letter;
    const Letter& letter(std::size_t donor) const;
    report::Page build(const Letter& letter, const StatementDonor& donor, int pageOfLetter) const;

    dao::Database& db_;
    StatementRequest request_;
    std::vector<StatementDonor> donors_;
    StatementPaging paging_;
    std::shared_ptr<report::Layout> layout_;  // fonts and the logo the items point to
    mutable std::unique_ptr<Letter> loaded_;  // the letter last laid out
};

// The pages of one donor's letter alone, numbered from 1: what a file of its own holds.
class DonorStatementPages final : public report::Pages {
public:
    DonorStatementPages(const GivingStatementPages& all, std::size_t donor) : all_(all), donor_(donor) {}
    QString name() const override { return all_.name(); }
    QString caption() const override { return all_.caption(); }
    QSize paper() const override { return all_.paper(); }
    int pageCount() const override { return all_.donors()[donor_].pages; }
    report::Page page(int number) const override { return all_.donorPage(donor_, number); }

private:
    const GivingStatementPages& all_;
    std::size_t donor_;
};

// A list of donors by name and member number under a title: the donors of the period without a
// usable address, to print before the letters go out.
class DonorListPages final : public report::Pages {
public:
    struct Entry {
        QString name;
        std::int64_t memberId = 0;
    };
    DonorListPages(QString title, QString subtitle, std::vector<Entry> entries);
    ~DonorListPages() override;
    QString name() const override { return QStringLiteral("DonorList"); }
    QString caption() const override { return title_; }
    QSize paper() const override;
    int pageCount() const override;
    report::Page page(int number) const override;

private:
    QString title_;
    QString subtitle_;
    std::vector<Entry> entries_;
    std::shared_ptr<report::Layout> layout_;
};

} // namespace reports
