#pragma once
// The real main window over a fresh template file with the test's own members, opened through
// the program's Open command, with the scripted UI; helpers to read what the file holds and to
// double-click a member field as a user does.
#include "platform/dao/recordset.h"
#include "platform/data/bound_text_box.h"
#include "platform/data/data_control.h"
#include "records/records_commands.h"
#include "support/window_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <gtest/gtest.h>
#include <cstdint>
#include <optional>
#include <vector>

namespace membertest {

// The member fields in the order of txtFields and of the Members table.
inline const QStringList kFields{QStringLiteral("MemberID"), QStringLiteral("FirstName"), QStringLiteral("LastName"),
                                 QStringLiteral("Address"),  QStringLiteral("City"),      QStringLiteral("State"),
                                 QStringLiteral("PostalCode"), QStringLiteral("HomePhone"), QStringLiteral("Notes")};

// Characters each text field holds, as the file format declares them.
inline const std::vector<std::pair<QString, int>> kFieldSizes{
    {QStringLiteral("FirstName"), 50}, {QStringLiteral("LastName"), 50}, {QStringLiteral("Address"), 255},
    {QStringLiteral("City"), 50},      {QStringLiteral("State"), 50},    {QStringLiteral("PostalCode"), 20},
    {QStringLiteral("HomePhone"), 30}};

inline const QString kAllMembers = QStringLiteral(
    "select [memberID],[firstname],[lastname], [address],[city],[state],[postalcode],[homephone], [notes] FROM [members] ");

struct NewRow {
    QString first;
    QString last;
    QString address;
    QString city;
};

class MemberTest : public quiltest::WindowTest<> {
protected:
    // Writes members into the file before (or behind) the program; returns their numbers.
    std::vector<std::int64_t> addRows(const std::vector<NewRow>& rows)
    {
        sqlite::Connection c = keyed();
        std::vector<std::int64_t> ids;
        for (const NewRow& r : rows) {
            sqlite::Statement s = c.prepare(
                QStringLiteral("INSERT INTO Members (FirstName, LastName, Address, City) VALUES (?, ?, ?, ?)"));
            s.bind(1, r.first).bind(2, r.last).bind(3, r.address).bind(4, r.city);
            s.step();
            ids.push_back(c.lastInsertRowid());
        }
        return ids;
    }

    void exec(const QString& sql) { keyed().exec(sql); }

    // Opened, with the log left empty for what the test does next.
    frmMain& open()
    {
        frmMain& f = WindowTest::open();
        ui_->clearLog();
        return f;
    }

    // What Executive mode does to the member fields: all nine enabled, Notes shown.
    void enableFields()
    {
        for (QWidget* field : window_->txtFields)
            field->setEnabled(true);
        window_->txtFields[8]->show();
    }

    // A field's stored value; nullopt for a field without a value.
    std::optional<QString> stored(std::int64_t member, const QString& field) const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT \"%1\" FROM Members WHERE MemberID = ?").arg(field));
        s.bind(1, member);
        if (!s.step()) {
            ADD_FAILURE() << "no member " << member;
            return std::nullopt;
        }
        if (s.isNull(0))
            return std::nullopt;
        return s.text(0);
    }

    std::int64_t scalar(const QString& sql) const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(sql);
        if (!s.step())
            ADD_FAILURE() << "no row from " << sql.toStdString();
        return s.int64(0);
    }

    std::int64_t memberCount() const { return scalar(QStringLiteral("SELECT count(*) FROM Members")); }
    std::int64_t highestId() const { return scalar(QStringLiteral("SELECT max(MemberID) FROM Members")); }

    // The member the window stands on, by its record set (not by what a box shows).
    std::int64_t currentMember() const
    {
        dao::Recordset* rs = window_->datPrimaryRS->recordset();
        if (!rs || !rs->hasCurrentRow())
            return -1;
        return rs->field(QStringLiteral("MemberID")).toLong();
    }

    void standOn(std::int64_t member)
    {
        dao::Recordset* rs = window_->datPrimaryRS->recordset();
        rs->findFirst(QStringLiteral("memberid = %1").arg(member));
        ASSERT_FALSE(rs->noMatch()) << member;
        window_->datPrimaryRS->notifyReposition();
    }

    // Applies a member filter the way the Filter Members command leaves it in force.
    void filterMembers(const QString& condition)
    {
        window_->S.MemberFilter = condition;
        window_->datPrimaryRS->setRecordSource(kAllMembers + QStringLiteral("WHERE ") + condition);
        window_->records->RequeryView();
        ui_->clearLog();
    }

    void doubleClick(int index)
    {
        QWidget* target = window_->txtFields[static_cast<std::size_t>(index)];
        if (index == 8)
            target = window_->txtFields.notes()->viewport();
        QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &click);
    }

    static void pressKey(QWidget* widget, Qt::Key key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }

    QStringList dialogsRun() const
    {
        QStringList out;
        for (const ui::Event& e : ui_->events())
            if (e.kind == ui::Event::Kind::Modal)
                out << e.text;
        return out;
    }
};

} // namespace membertest
