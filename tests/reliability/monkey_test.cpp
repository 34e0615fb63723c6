// The monkey: seeded random walks of commands and dialog inputs through the scripted UI, with
// texts from a hostile alphabet (apostrophes, wildcards, brackets, quotes, backslashes, other
// scripts, emoji, empty and 10,000-character texts) and impossible dates and numbers. After
// every step: nothing escaped the program's handlers, the file is sound, member 1 exists,
// exactly one entry is the Administrator, every donation's member exists and the totals shown
// are the sums in the file. A failure names its seed and step, so it replays:
//   QUIL_MONKEY_SEED=<seed> QUIL_MONKEY_STEPS=<n> reliability_monkey_test
#include "reliability/session.h"
#include "support/qstring_printer.h"
#include "support/temp_dir.h"

#include "frame/dispatch.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/dao/sqlite.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "platform/vb/currency.h"
#include "platform/vb/format.h"
#include "records/records_commands.h"

#include <sqlcipher/sqlite3.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

const QStringList kAlphabet{"'", "''", "*", "?", "#", "[", "]", "[!", "\"", "\\", "%", "_", "-", " ", "a", "Z", "0", "9",
                            "é", "Ж", "中", "ש", "😀", ";", "--", "/*", "|", "$", ",", "."};
const QStringList kNumbers{"12.5", "-3", "0", "0.001", "1e300", "abc", "", "$1,234.56", "99999999999999", "(4.50)",
                           "1,5", " 7 ", "NaN", "-0", "922337203685477.5807", "999999999.99", "999999999.995",
                           "1000000000", "-999999999.99", "2147483647", "2147483648", "-2147483648",
                           "9223372036854775807", "9223372036854775808"};
const QStringList kDates{"6/1/2004", "2/30/2001", "12/31/9999", "1/1/100", "abc", "", "13/1/2000", "2/29/2000",
                         "7/4/2001 9:15", "0/0/0", "1/1/1899"};

class Monkey {
public:
    Monkey(reliability::Session& s, std::uint64_t seed) : s_(s), random_(seed) {}

    std::int64_t pick(std::int64_t low, std::int64_t high)
    {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random_);
    }

    QString anyOf(const QStringList& list) { return list[static_cast<int>(pick(0, list.size() - 1))]; }

    QString text()
    {
        const std::int64_t kind = pick(0, 19);
        if (kind == 0)
            return {};
        if (kind == 1)
            return QString(10000, u'x') + anyOf(kAlphabet);
        QString t;
        for (std::int64_t n = pick(1, kind == 2 ? 60 : 12); n > 0; --n)
            t += anyOf(kAlphabet);
        return t;
    }

    // One random step; returns what it did.
    QString step()
    {
        frmMain& f = s_.window();
        auto& records = static_cast<RecordsCommands&>(*f.records);
        const auto menu = [&](const std::function<void()>& h) { frame::RunHandler(f, frame::Origin::Menu, h); };
        const auto event = [&](const std::function<void()>& h) { frame::RunHandler(f, frame::Origin::Event, h); };
        switch (pick(0, 10)) {
        case 0: {
            const QString amount = anyOf(kNumbers), check = anyOf(kNumbers), dest = text(), date = anyOf(kDates);
            s_.ui().queueDialog([=](QDialog& d) {
                ui::child<QLineEdit>(d, "Text1(0)").setText(amount);
                ui::child<QLineEdit>(d, "Text1(1)").setText(check);
                ui::child<QComboBox>(d, "Combo1").lineEdit()->setText(dest);
                ui::child<QLineEdit>(d, "Text1(3)").setText(date);
                ui::click(d, "Command1");
            });
            menu([&] { f.mnuEditAddPay_Click(); });
            return QStringLiteral("add donation %1 / %2 / %3 / %4").arg(amount, check, dest.left(40), date);
        }
        case 1: {
            QStringList texts;
            for (int i = 0; i < 7; ++i)
                texts << (pick(0, 3) ? text() : QStringLiteral("Name"));
            const QString notes = text();
            s_.ui().queueDialog([=](QDialog& d) {
                for (int i = 0; i < 7; ++i)
                    ui::child<QLineEdit>(d, QStringLiteral("NewMem(%1)").arg(i)).setText(texts[i]);
                ui::child<QPlainTextEdit>(d, "NewMem(7)").setPlainText(notes);
                ui::click(d, "Command1");
            });
            menu([&] { f.mnuEditAddMem_Click(); });
            return QStringLiteral("add member ") + texts.join(u'|').left(80);
        }
        case 2: {
            const int field = static_cast<int>(pick(1, 7));
            const QString typed = text();
            s_.ui().queueDialog([=](QDialog& d) {
                ui::child<QLineEdit>(d, "Text1").setText(typed);
                ui::click(d, "OkBut");
            });
            event([&] { records.txtFields_DblClick(field); });
            return QStringLiteral("edit field %1: %2").arg(field).arg(typed.left(40));
        }
        case 3: {
            auto* model = qobject_cast<data::GridModel*>(f.grdDataGrid->model());
            if (!model || model->rowCount() == 0)
                return QStringLiteral("grid edit: no rows");
            const int row = static_cast<int>(pick(0, model->rowCount() - 1));
            const int column = static_cast<int>(pick(0, 5));
            const QString typed = column == 4 ? anyOf(kDates) : column == 3 ? text() : anyOf(kNumbers);
            event([&] { model->setData(model->index(row, column), typed); });
            return QStringLiteral("grid edit %1,%2: %3").arg(row).arg(column).arg(typed.left(40));
        }
        case 4: {
            const std::int64_t move = pick(0, 3);
            event([&] {
                if (move == 0) f.datPrimaryRS->moveFirst();
                else if (move == 1) f.datPrimaryRS->moveNext();
                else if (move == 2) f.datPrimaryRS->movePrevious();
                else f.datPrimaryRS->moveLast();
            });
            return QStringLiteral("navigate %1").arg(move);
        }
        case 5: {
            const QString typed = text().left(60);
            event([&] { f.EntNme->setText(typed); });
            event([&] { f.EntNme->clear(); });
            return QStringLiteral("rapid search ") + typed;
        }
        case 6: {
            const std::int64_t sort = pick(0, 4);
            menu([&] {
                if (sort == 0) f.mnuSortPayID_Click();
                else if (sort == 1) f.mnuSortAmount_Click();
                else if (sort == 2) f.mnuSortCheck_Click();
                else if (sort == 3) f.mnuSortDest_Click();
                else f.mnuSortDate_Click();
            });
            return QStringLiteral("sort %1").arg(sort);
        }
        case 7: {
            const QString dest = text();
            s_.ui().queueDialog([=](QDialog& d) {
                ui::child<QComboBox>(d, "Combo1").lineEdit()->setText(dest);
                if (ui::child<QWidget>(d, "Command3").isEnabled())
                    ui::click(d, "Command3");
                ui::click(d, "Command2");
            });
            menu([&] { f.mnuEditAddPay_Click(); });
            return QStringLiteral("add destination ") + dest.left(40);
        }
        case 8: {
            // A save dialog offered a file the program keeps; the next offer is cancelled.
            QStringList kept{s_.file(), s_.folder() + QStringLiteral("/Base.dat")};
            for (const QString& name : QDir(s_.backupsFolder()).entryList(QDir::Files))
                kept << QDir(s_.backupsFolder()).filePath(name);
            const QString target = anyOf(kept);
            const std::int64_t which = pick(0, 1);
            s_.ui().queueFile(target);
            s_.ui().queueFileCancel();
            menu([&] {
                if (which == 0) f.mnuFileExportMembers_Click();
                else f.mnuFileExportDonations_Click();
            });
            return QStringLiteral("export %1 to %2").arg(which).arg(target);
        }
        case 9: {
            // Exit with a change typed into a member field: after the next start it is there,
            // unless the file refused it (a message, and the question answered Yes).
            static const char* const kColumns[] = {"Address", "City", "State", "PostalCode", "HomePhone"};
            const int field = static_cast<int>(pick(3, 7));
            dao::Recordset* members = f.datPrimaryRS->recordset();
            if (!members || !members->hasCurrentRow() || members->editMode() != dao::Recordset::EditMode::None)
                return QStringLiteral("exit: no member to type into");
            const std::int64_t id = members->field(QStringLiteral("MemberID")).toLong();
            f.txtFields.setText(field, text());
            const QString typed = f.txtFields.text(field);
            menu([&] { f.mnuFileExit_Click(); });
            const bool refused = !s_.ui().messages().empty();
            s_.build();
            if (!s_.open())
                return QStringLiteral("exit: the file did not open again");
            s_.executive();
            auto stored = s_.window().S.db->connection().prepare(
                QStringLiteral("SELECT coalesce(%1, '') FROM Members WHERE MemberID = ?").arg(QLatin1String(kColumns[field - 3])));
            stored.bind(1, id);
            if (!refused && (!stored.step() || stored.text(0) != typed))
                return QStringLiteral("LOST: exit dropped the text typed into field %1 of member %2").arg(field).arg(id);
            return QStringLiteral("exit with field %1 typed: %2").arg(field).arg(typed.left(40));
        }
        default: {
            const QString amount = anyOf(kNumbers);
            s_.ui().queueDialog([=](QDialog& d) {
                ui::child<QLineEdit>(d, "Text1(0)").setText(amount);
                ui::child<QLineEdit>(d, "Text1(1)").setText(QStringLiteral("12"));
                ui::click(d, "Option2");
                ui::click(d, "Command1");
                for (int i = 0; i < 3; ++i) {
                    ui::child<QLineEdit>(d, "Text1(0)").setText(QStringLiteral("1"));
                    ui::child<QComboBox>(d, "Combo1").lineEdit()->setText(QStringLiteral("Roof"));
                    ui::click(d, "Command1");
                }
            });
            menu([&] { f.mnuEditAddPay_Click(); });
            return QStringLiteral("split donation of ") + amount;
        }
        }
    }

private:
    reliability::Session& s_;
    std::mt19937_64 random_;
};

std::int64_t scalar(sqlite::Connection& c, const QString& sql)
{
    auto s = c.prepare(sql);
    return s.step() ? s.int64(0) : -1;
}

// The rules that hold after every step; problems as sentences.
QStringList invariants(reliability::Session& s)
{
    QStringList problems;
    frmMain& f = s.window();
    if (!f.S.db || !f.S.db->isOpen())
        return {QStringLiteral("the file is no longer open")};
    sqlite::Connection& c = f.S.db->connection();
    {
        auto check = c.prepare(QStringLiteral("PRAGMA quick_check"));
        if (!check.step() || check.text(0) != u"ok")
            problems << QStringLiteral("quick check: ") + check.text(0);
    }
    if (scalar(c, QStringLiteral("SELECT count(*) FROM Members WHERE MemberID = 1")) != 1)
        problems << QStringLiteral("member 1 is gone");
    if (scalar(c, QStringLiteral("SELECT count(*) FROM Passwords WHERE PassName = 'Administrator'")) != 1)
        problems << QStringLiteral("not exactly one Administrator");
    if (scalar(c, QStringLiteral("SELECT count(*) FROM Payments WHERE MemberID NOT IN (SELECT MemberID FROM Members)")) != 0)
        problems << QStringLiteral("a donation without its member");
    if (!sqlite3_get_autocommit(c.handle()))
        problems << QStringLiteral("a transaction was left open");

    // Member View without filters: the summary line totals the current member's donations.
    dao::Recordset* members = f.datPrimaryRS->recordset();
    if (members && members->hasCurrentRow() && members->editMode() == dao::Recordset::EditMode::None) {
        const std::int64_t id = members->field(QStringLiteral("MemberID")).toLong();
        const std::int64_t count = scalar(c, QStringLiteral("SELECT count(*) FROM Payments WHERE MemberID = %1").arg(id));
        // Amounts near the currency's limit can add up beyond it; such a total has no sum to show.
        auto total = c.prepare(QStringLiteral("SELECT total(PaymentAmount) FROM Payments WHERE MemberID = %1").arg(id));
        total.step();
        const bool summable = std::fabs(total.real(0)) < 9.0e18;
        const std::int64_t sum = summable ? scalar(c, QStringLiteral("SELECT coalesce(sum(PaymentAmount), 0) FROM Payments "
                                                                     "WHERE MemberID = %1").arg(id))
                                          : 0;
        const QString shown = f.Label7->text() + u'|' + f.Label2->text();
        const QString expected = count == 0 ? QStringLiteral("0|0")
                                            : vb::format(vb::Currency::fromRaw(sum), u"$##,##0.00") + u'|'
                                                  + vb::format(vb::Value(count), u"##,###");
        if (summable && shown != expected)
            problems << QStringLiteral("member %1: the totals show %2, the file holds %3").arg(id).arg(shown, expected);
    }
    for (const ui::Event& e : s.ui().events())
        if (e.kind == ui::Event::Kind::Note && e.text.contains(u"threw"))
            problems << e.text;
    return problems;
}

// The file's first bytes: its key's salt, the same for as long as nothing writes the file whole.
QByteArray fileHeader(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(16) : QByteArray();
}

TEST(Monkey, RandomWalksKeepTheFileAndTheProgramsRules)
{
    const std::int64_t steps = qEnvironmentVariableIsSet("QUIL_MONKEY_STEPS") ? qEnvironmentVariableIntValue("QUIL_MONKEY_STEPS") : 400;
    std::vector<std::uint64_t> seeds{1, 2, 3};
    if (qEnvironmentVariableIsSet("QUIL_MONKEY_SEED"))
        seeds = {qgetenv("QUIL_MONKEY_SEED").toULongLong()};
    for (const std::uint64_t seed : seeds) {
        quiltest::TempDir dir;
        reliability::Session s(dir.path());
        s.makeFixture();
        s.restoreFile();
        s.build();
        ASSERT_TRUE(s.open());
        s.executive();
        Monkey monkey(s, seed);
        const QByteArray header = fileHeader(s.file());
        for (std::int64_t i = 1; i <= steps; ++i) {
            s.ui().clearLog();
            QString did;
            try {
                did = monkey.step();
            } catch (const std::exception& e) {
                FAIL() << "seed " << seed << " step " << i << ": escaped the program: " << e.what();
            }
            if (qEnvironmentVariableIsSet("QUIL_MONKEY_TRACE"))
                std::printf("%lld %s :: %s\n", static_cast<long long>(i), qPrintable(did), qPrintable(s.ui().trace().join(" / ").left(200)));
            QStringList problems;
            try {
                problems = invariants(s);
            } catch (const std::exception& e) {
                problems << QStringLiteral("the file could not be read: ") + QString::fromLocal8Bit(e.what());
            }
            if (did.startsWith(QStringLiteral("LOST")) || did.endsWith(QStringLiteral("did not open again")))
                problems << did;
            if (fileHeader(s.file()) != header)
                problems << QStringLiteral("the file was written over");
            ASSERT_TRUE(problems.isEmpty()) << "seed " << seed << " step " << i << " (" << did.toStdString()
                                            << "):\n  " << problems.join(QStringLiteral("\n  ")).toStdString();
        }
    }
}

} // namespace
