#pragma once
// The real main window over a copy of the template holding the filter tests' members and
// donations (filter_data.h), opened through the program's Open command with the scripted UI,
// then put into Executive mode's state (grid shown, totals computed) by hand, and into List
// View's state by hand when a test asks: neither command is part of the filters.
#include "filter_data.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "support/qstring_printer.h"
#include "support/window_fixture.h"

#include <QLabel>
#include <QStringList>
#include <QTableView>
#include <algorithm>
#include <gtest/gtest.h>

namespace filtertest {

inline const QString kDonationSelect = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]");
inline const QString kAllMembers = QStringLiteral(
    "select [memberID],[firstname],[lastname], [address],[city],[state],[postalcode],[homephone], [notes] FROM [members] ");
inline const QColor kBlue(0, 0, 255);

class FilterWindowTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        sqlite::Connection c = keyed();
        writeFilterData(c);
    }

    // Opened, then in Executive mode's state, standing on the last member.
    frmMain& executive()
    {
        frmMain& f = build();
        openCopy();
        f.S.StandardMode = false;
        for (QWidget* field : f.txtFields)
            field->setEnabled(true);
        f.grdDataGrid->show();
        f.records->RequeryView();
        ui_->clearLog();
        return f;
    }

    // What the List View command leaves behind before its re-run, and the re-run.
    static void listView(frmMain& f)
    {
        f.S.DonationSelect = kDonationSelect;
        f.S.DonationFilter.clear();
        f.S.MemberFilter.clear();
        f.S.ViewName = QStringLiteral("List View");
        f.S.GridQueryState = 7;
        f.records->RequeryView();
    }

    static int currentMember(const frmMain& f)
    {
        return static_cast<int>(f.datPrimaryRS->recordset()->field(QStringLiteral("MemberID")).toLong());
    }

    // The members of the member record set, in ascending order, as "2 3 6".
    static QString memberIds(const frmMain& f)
    {
        dao::Recordset* rs = f.datPrimaryRS->recordset();
        QList<qint64> ids;
        for (int i = 0; i < rs->recordCount(); ++i)
            if (const auto row = rs->rowAt(i))
                ids << row->at(0).toLong();
        std::sort(ids.begin(), ids.end());
        QStringList out;
        for (qint64 id : ids)
            out << QString::number(id);
        return out.join(u' ');
    }

    // Makes a member current through the navigator, as a user does.
    static void goToMember(frmMain& f, int id)
    {
        f.datPrimaryRS->moveFirst();
        while (currentMember(f) != id && f.datPrimaryRS->recordset()->absolutePosition() + 1 < f.datPrimaryRS->recordset()->recordCount())
            f.datPrimaryRS->moveNext();
        ASSERT_EQ(currentMember(f), id);
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

    // The summary line: total, count and sort field.
    static QString summary(const frmMain& f)
    {
        return f.Label7->text() + u'|' + f.Label2->text() + u'|' + f.Label5->text();
    }

    // The message prompts shown since the log was last cleared, joined with " / ".
    QString prompts()
    {
        QStringList out;
        for (const ui::Message& m : ui().messages())
            out << m.prompt;
        return out.join(QStringLiteral(" / "));
    }
};

} // namespace filtertest
