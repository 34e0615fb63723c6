#pragma once
// A members file with five rows and a data control over it whose events are written to one log:
// "validate MoveNext", "leave", "reposition 3" (the 1-based row, 0 when none), "error 3078".
#include "platform/dao/engine.h"
#include "platform/data/data_control.h"
#include "support/fixture_db.h"
#include "support/temp_dir.h"

#include <optional>
#include <QStringList>
#include <gtest/gtest.h>

namespace datatest {

inline QString actionName(data::Action action)
{
    static const char* const names[] = {"MoveFirst", "MovePrevious", "MoveNext", "MoveLast", "AddNew", "Update",
                                        "Delete",    "Find",         "Bookmark", "Close",    "Unload"};
    return QString::fromLatin1(names[static_cast<int>(action)]);
}

class DataControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture.exec({quiltest::membersTableSql(), quiltest::insertMemberSql("Ann", "Adams", "1 Elm St"),
                      quiltest::insertMemberSql("Bob", "Brown", "2 Oak Ave"),
                      quiltest::insertMemberSql("Cy", "Clark", "3 Pine Rd"),
                      quiltest::insertMemberSql("Di", "Dunn", "4 Ash Ln"),
                      quiltest::insertMemberSql("Ed", "Evans", "5 Fir Ct")});
        db = fixture.open();
        control.setObjectName("datPrimaryRS");
        control.setDatabase(db);
        control.setRecordSource("Members");
        QObject::connect(&control, &data::DataControl::validate, [this](data::Action a, bool* cancel) {
            log << "validate " + actionName(a);
            if (cancelAction && *cancelAction == a)
                *cancel = true;
        });
        QObject::connect(&control, &data::DataControl::aboutToLeaveRow, [this] { log << "leave"; });
        QObject::connect(&control, &data::DataControl::reposition, [this] { log << "reposition " + QString::number(row()); });
        QObject::connect(&control, &data::DataControl::error, [this](int number, const QString&, bool* cont) {
            log << "error " + QString::number(number);
            *cont = continueOnError;
        });
    }
    void TearDown() override { dao::Engine::instance().defaultWorkspace().close(); }

    // The current row, 1-based; 0 without a current row or record set.
    int row() const
    {
        const dao::Recordset* rs = control.recordset();
        return rs ? rs->absolutePosition() + 1 : 0;
    }
    QString current(const char* field) const { return control.recordset()->field(field).toText(); }
    // A field of a member as stored, read through a record set of its own.
    QString stored(int memberId, const char* field) const
    {
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Members WHERE MemberID = %1").arg(memberId));
        return rs->field(field).isNull() ? QStringLiteral("<null>") : rs->field(field).toText();
    }

    quiltest::TempDir dir;
    quiltest::FixtureDatabase fixture{dir.file("members.qdb")};
    std::shared_ptr<dao::Database> db;
    data::DataControl control;
    QStringList log;
    std::optional<data::Action> cancelAction;
    bool continueOnError = false;
};

} // namespace datatest
