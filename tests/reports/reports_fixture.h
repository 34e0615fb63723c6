#pragma once
// A small file for the report tests: a few members whose names and addresses hold apostrophes,
// braces, backslashes, quotes, other alphabets and an emoji, their donations around the year
// 2001, and the work tables filled as the report fills leave them (ListTable with every
// donation, MemFullName with the members in list order).
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/report/report.h"
#include "platform/vb/format.h"
#include "reports/recordset_rows.h"
#include "reports/report_layouts.h"
#include "reports/shaped_recordset.h"
#include "schema/connect_key.h"
#include "schema/template.h"
#include "support/temp_dir.h"

#include <QDate>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>
#include <array>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace reportstest {

struct FixtureMember {
    const char* first;
    const char* last;
    QString address;
    const char* city;
    const char* state;
    const char* zip;
    const char* phone;
};

struct FixtureGift {
    int member;
    const char* amount;
    int check;
    const char* destination;
    QDate date;
};

// The shaped command of the member report for the year 2001, as the report procedure builds it.
inline const QString kMemberShape = QStringLiteral(
    "SHAPE {SELECT * FROM MemFullName} APPEND "
    "({SELECT * FROM Payments WHERE [Paymentdate] Between #1/1/2001# AND #12/31/2001# Order by [PaymentDate]} AS QuilPay "
    "RELATE MemberID TO MemberID),SUM(QuilPay.paymentamount) AS Gtotal");

struct Organization {
    QString name = QStringLiteral("Grace & Truth Chapel");
    QString address = QStringLiteral("1 Church St, Springfield, IL 62701");
    QString phone = QStringLiteral("(217) 555-0100 / (217) 555-0199");
    QString email = QStringLiteral("office@grace.example");
};

inline QImage logo()
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    return picture;
}

inline report::ReportOptions options()
{
    report::ReportOptions o;
    o.date = vb::DateTime(QDate(2001, 3, 15));
    return o;
}

// The cover's controls 1-4, 6, 7 and 9; the page header's organization lines and logo.
inline void fillHeadings(report::Layout& layout, const QString& title, const QString& count, const QString& total, int logoControl,
                  int firstOrgControl)
{
    const Organization org;
    std::vector<report::Control>& cover = layout.section(u"Section4").controls;
    cover[0].caption = org.name;
    cover[1].caption = org.address;
    cover[2].caption = org.phone;
    cover[3].caption = org.email;
    cover[5].caption = count;
    cover[6].caption = title;
    cover[8].caption = total;
    std::vector<report::Control>& header = layout.section(u"Section2").controls;
    header[static_cast<std::size_t>(logoControl - 1)].picture = logo();
    const QString lines[] = {org.name, org.address, org.phone, org.email};
    for (int i = 0; i < 4; ++i)
        header[static_cast<std::size_t>(firstOrgControl - 1 + i)].caption = lines[i];
}

class ReportsFixture : public ::testing::Test {
protected:
    // The three reports as the report procedures would make them from the fixture.
    static std::unique_ptr<report::Report> listReport()
    {
        auto rows = std::make_shared<reports::RecordsetRows>(db_->openRecordset("SELECT * FROM ListTable  Order by [PaymentDate]"));
        auto sum = db_->openRecordset("SELECT SUM (PaymentAmount) AS [Gtotal] FROM ListTable ");
        report::Layout layout = reports::ListRPT();
        fillHeadings(layout, "Accountant Report", vb::format(rows->count(), u"##,###"),
                     vb::format(sum->field("Gtotal"), u"$##,##0.00"), 15, 2);
        return std::make_unique<report::Report>(layout, rows, options());
    }

    static std::unique_ptr<report::Report> memberReport()
    {
        auto shaped = std::make_shared<reports::ShapedRecordset>(db_, kMemberShape);
        vb::Currency total;
        const int gtotal = report::indexOfName(shaped->fieldNames(), u"Gtotal");
        for (int p = 0; p < shaped->count(); ++p)
            if (const vb::Value v = shaped->row(p)[static_cast<std::size_t>(gtotal)]; !v.isNull())
                total += v.toCurrency();
        report::Layout layout = reports::MemberRPT();
        fillHeadings(layout, "Member Report", vb::format(shaped->count(), u"##,###"), vb::format(total, u"$##,##0.00"), 2, 3);
        return std::make_unique<report::Report>(layout, shaped, options());
    }

    static std::unique_ptr<report::Report> criteriaReport()
    {
        const std::array<const char*, 23> captions = {
            "",  "J*", "Sm*", "", "Boston", "MA", "", "", "*roof*",
            ">", "100", "<", "500",
            "=", "1001", "", "",
            "Starts With", "O'Brien's {Fund} \\",
            "From", "1/1/2001", "To", "12/31/2001"};
        report::Layout layout = reports::CurFltRpt();
        std::vector<report::Control>& page = layout.section(u"Section2").controls;
        for (std::size_t i = 0; i < captions.size(); ++i)
            page[9 + i].caption = QString::fromUtf8(captions[i]);
        // The one-page layout reads a placeholder: member 1's donations, of which there are none.
        auto rows = std::make_shared<reports::RecordsetRows>(db_->openRecordset("SELECT MemberID FROM payments WHERE MemberID = 1"));
        EXPECT_EQ(rows->count(), 0);
        return std::make_unique<report::Report>(layout, rows, options());
    }

    static void SetUpTestSuite()
    {
        dir_ = new quiltest::TempDir;
        db::writeTemplate(dir_->file("reports.qdb"));
        db_ = dao::Engine::instance().defaultWorkspace().openDatabase(dir_->file("reports.qdb"), false, false,
                                                                       db::DescrambleConnect(db::kScrambledConnect));
        const FixtureMember members[] = {
            {"John", "Smith", QStringLiteral("12 Main St"), "Boston", "MA", "02108", "617-555-0101"},                   // 2
            {"Seán", "O'Brien", QStringLiteral("7 {Oak} Rd \\ Apt \"B\""), "Cambridge", "MA", "02139", "617-555-0102"},  // 3
            {"小龍", "李", QStringLiteral("1 Long Road ").repeated(21) + QStringLiteral("End"), "Montréal", "QC", "H2X 1Y4", ""},  // 4
            {"", "Zoë 🎉", QStringLiteral(""), "Springfield", "IL", "62701", "217-555-0100"},                            // 5
        };
        auto m = db_->openRecordset("Members");
        for (const FixtureMember& r : members) {
            m->addNew();
            m->setField("FirstName", QString::fromUtf8(r.first));
            m->setField("LastName", QString::fromUtf8(r.last));
            m->setField("Address", r.address.left(255));
            m->setField("City", QString::fromUtf8(r.city));
            m->setField("State", QString::fromUtf8(r.state));
            m->setField("PostalCode", QString::fromUtf8(r.zip));
            m->setField("HomePhone", QString::fromUtf8(r.phone));
            m->update();
        }
        std::vector<FixtureGift> gifts = {
            {2, "100", 1001, "Roof", QDate(2001, 1, 15)},
            {2, "150.50", 1002, "New Roof", QDate(2001, 6, 1)},
            {2, "25.25", 1003, "Roof", QDate(2002, 2, 1)},
            {3, "11", 17, "St. Mary's Fund", QDate(2001, 3, 3)},
            {3, "0.05", 0, "{General} \\ Fund", QDate(2001, 12, 31)},
            {5, "500", 2000, "General Fund", QDate(2000, 12, 31)},
        };
        // Member 4 gives every week: more lines than one page holds.
        for (int week = 0; week < 35; ++week)
            gifts.push_back({4, week % 2 ? "1.10" : "2.25", 3000 + week, "Missions 宣教", QDate(2001, 1, 6).addDays(7 * week)});
        auto p = db_->openRecordset("Payments");
        for (const FixtureGift& g : gifts) {
            p->addNew();
            p->setField("PaymentAmount", *vb::Currency::fromDecimalText(QString::fromLatin1(g.amount)));
            p->setField("CheckNumber", g.check);
            p->setField("Destination", QString::fromUtf8(g.destination));
            p->setField("PaymentDate", vb::DateTime(g.date));
            p->setField("MemberID", g.member);
            p->update();
        }
        fillWorkTables();
    }

    static void TearDownTestSuite()
    {
        db_->close();
        db_.reset();
        dao::Engine::instance().defaultWorkspace().close();
        delete dir_;
    }

    static QString text(const dao::Recordset& rs, const char* field) { return rs.field(field).toText(); }

    // What the fills write: every donation into ListTable, members 2 to 5 into MemFullName.
    static void fillWorkTables()
    {
        auto members = db_->openRecordset("SELECT * FROM Members ORDER BY MemberID");
        auto work = db_->openRecordset("MemFullName");
        for (members->moveFirst(); !members->isEOF(); members->moveNext()) {
            if (members->field("MemberID").toLong() == 1)
                continue;
            work->addNew();
            work->setField("MemberID", members->field("MemberID"));
            work->setField("FullName", text(*members, "FirstName") + u' ' + text(*members, "LastName"));
            work->setField("Address", members->field("Address"));
            work->setField("CityStateZip", text(*members, "City") + QStringLiteral(", ") + text(*members, "State")
                                               + QStringLiteral("   ") + text(*members, "PostalCode"));
            work->setField("HomePhone", members->field("HomePhone"));
            work->update();
        }
        auto payments = db_->openRecordset("SELECT * FROM Payments ORDER BY PaymentID");
        auto list = db_->openRecordset("ListTable");
        for (payments->moveFirst(); !payments->isEOF(); payments->moveNext()) {
            members->findFirst(QStringLiteral("MemberID = %1").arg(payments->field("MemberID").toLong()));
            list->addNew();
            for (const char* f : {"MemberID", "PaymentID", "PaymentAmount", "PaymentDate", "CheckNumber", "Destination"})
                list->setField(f, payments->field(f));
            list->setField("FullName", text(*members, "FirstName") + u' ' + text(*members, "LastName"));
            list->update();
        }
    }

    static inline quiltest::TempDir* dir_ = nullptr;
    static inline std::shared_ptr<dao::Database> db_;
};

} // namespace reportstest
