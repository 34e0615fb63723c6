#pragma once
// The real main window over a copy of the template with four members and five donations, opened
// through the program's Open command with the scripted UI, then put into Executive mode's
// state (the mode command itself is not built here): grid shown, totals computed.
//
//   member 1  Anonymous Donors (template)  no donations
//   member 2  Ann Adams    P1 $25.00    check 101  General   3/15/2001
//                          P2 $1,234.50 check 555  Building  1/10/2001 10:30
//                          P5 $7.25     check 300  Music     5/5/2000
//   member 3  Bob Brown    P3 $10.00    no check   Youth     6/1/2002
//                          P4 $500.00   check 900  Building  12/24/2000
//   member 4  Cy Clark     no donations (the last member: current after every re-run)
#include "platform/dao/write_unit.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "records/records_commands.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QLabel>
#include <QTableView>
#include <gtest/gtest.h>

namespace gridtest {

const QString kDonationSelect = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]");

class GridTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        sqlite::Connection c = keyed();
        for (const char* sql : {
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (2, 'Ann', 'Adams', '1 Elm St')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (3, 'Bob', 'Brown', '2 Oak Ave')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (4, 'Cy', 'Clark', '3 Pine Rd')",
                 // Money is stored in ten-thousandths.
                 "INSERT INTO Payments VALUES (1, 250000, 101, 'General', '2001-03-15 00:00:00', 2)",
                 "INSERT INTO Payments VALUES (2, 12345000, 555, 'Building', '2001-01-10 10:30:00', 2)",
                 "INSERT INTO Payments VALUES (3, 100000, NULL, 'Youth', '2002-06-01 00:00:00', 3)",
                 "INSERT INTO Payments VALUES (4, 5000000, 900, 'Building', '2000-12-24 00:00:00', 3)",
                 "INSERT INTO Payments VALUES (5, 72500, 300, 'Music', '2000-05-05 00:00:00', 2)",
             })
            c.exec(QString::fromLatin1(sql));
    }

    // Opens the file as the program does after start-up, in Standard mode.
    frmMain& open()
    {
        build();
        return openCopy();
    }

    // Opened, then in Executive mode's state, standing on the last member.
    frmMain& executive()
    {
        frmMain& f = open();
        f.S.StandardMode = false;
        for (QWidget* field : f.txtFields)
            field->setEnabled(true);
        f.txtFields[8]->show();
        f.grdDataGrid->show();
        f.records->RequeryView();
        ui_->clearLog();
        return f;
    }

    // Makes a member current through the navigator, as a user does.
    static void goToMember(frmMain& f, int id)
    {
        f.datPrimaryRS->moveFirst();
        while (currentMember(f) != id && f.datPrimaryRS->recordset()->absolutePosition() + 1 < f.datPrimaryRS->recordset()->recordCount())
            f.datPrimaryRS->moveNext();
        ASSERT_EQ(currentMember(f), id);
    }

    static int currentMember(const frmMain& f)
    {
        return static_cast<int>(f.datPrimaryRS->recordset()->field(QStringLiteral("MemberID")).toLong());
    }

    static data::GridModel& grid(const frmMain& f)
    {
        auto* model = qobject_cast<data::GridModel*>(f.grdDataGrid->model());
        EXPECT_NE(model, nullptr);
        return *model;
    }

    // The payment ids the grid shows, top to bottom, as "1 2 5".
    static QString gridIds(const frmMain& f)
    {
        const data::GridModel& m = grid(f);
        QStringList ids;
        for (int r = 0; r < m.rowCount(); ++r)
            ids << m.data(m.index(r, 0)).toString();
        return ids.join(u' ');
    }

    static QString cell(const frmMain& f, int row, int column)
    {
        const data::GridModel& m = grid(f);
        return m.data(m.index(row, column)).toString();
    }

    // A field of a donation as stored, read through a record set of its own.
    static QString stored(const frmMain& f, int paymentId, const char* field)
    {
        auto rs = f.S.db->openRecordset(QStringLiteral("SELECT * FROM Payments WHERE PaymentID = %1").arg(paymentId));
        return rs->recordCount() ? rs->field(QString::fromLatin1(field)).toText() : QStringLiteral("<no row>");
    }

    // The grid row that shows a payment; -1 when none does.
    static int rowOf(const frmMain& f, int paymentId)
    {
        const data::GridModel& m = grid(f);
        for (int r = 0; r < m.rowCount(); ++r)
            if (m.data(m.index(r, 0)).toString() == QString::number(paymentId))
                return r;
        return -1;
    }

    // The summary line: total, count and sort field.
    static QString summary(const frmMain& f)
    {
        return f.Label7->text() + u'|' + f.Label2->text() + u'|' + f.Label5->text();
    }

    // A fresh window over a fresh copy of the fixture's file, for the next case of a table.
    void restart()
    {
        TearDown();
        QFile::remove(file_);
        ui().clearLog();
        SetUp();
    }

    // Every donation in the file as "id:member", by id.
    QString owners() const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT PaymentID, MemberID FROM Payments ORDER BY PaymentID"));
        QStringList out;
        while (s.step())
            out << QStringLiteral("%1:%2").arg(s.int64(0)).arg(s.int64(1));
        return out.join(u' ');
    }

    // The members' numbers, in order.
    QString memberRows() const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT MemberID FROM Members ORDER BY MemberID"));
        QStringList out;
        while (s.step())
            out << QString::number(s.int64(0));
        return out.join(u' ');
    }

    // The n-th write of the next command is refused (0: none): each donation row changed and
    // each member row deleted count as one.
    void refuseWrite(frmMain& f, int n)
    {
        dao::WriteUnit unit(*f.S.db);
        auto& c = unit.connection();
        c.exec("CREATE TEMP TABLE IF NOT EXISTS writes (n INTEGER)");
        c.exec("DELETE FROM writes");
        c.exec("INSERT INTO writes VALUES (0)");
        for (const char* t : {"UPDATE ON Payments", "DELETE ON Members"}) {
            const QString name = QString::fromLatin1(t).split(u' ').first().toLower();
            c.exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse_%1").arg(name));
            c.exec(QStringLiteral("CREATE TEMP TRIGGER refuse_%1 BEFORE %2 BEGIN UPDATE writes SET n = n + 1; "
                                  "SELECT RAISE(ABORT, 'refused by the test') WHERE (SELECT n FROM writes) = %3; END")
                       .arg(name, QString::fromLatin1(t))
                       .arg(n));
        }
        unit.commit();
    }
};

} // namespace gridtest
