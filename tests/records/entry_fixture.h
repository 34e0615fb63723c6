#pragma once
// The real main window over a copy of the template with the test's own members, opened through
// the program's Open command, with the scripted UI. The window notes when Add Member ran (that
// command is not what these tests are about) and runs Add Donation for real.
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "records/records_commands.h"
#include "support/window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>
#include <cstdint>
#include <optional>
#include <vector>

namespace entrytest {

class EntryMain : public frmMain {
public:
    QStringList ran;
    void mnuEditAddMem_Click() override { ran << QStringLiteral("mnuEditAddMem"); }
    void mnuEditAddPay_Click() override
    {
        ran << QStringLiteral("mnuEditAddPay");
        frmMain::mnuEditAddPay_Click();
    }
};

struct MemberRow {
    QString first;
    QString last;
    std::optional<QString> address;  // none: the field holds no value
};

// A donation row as stored.
struct Payment {
    QString amount;  // plain decimal
    std::int64_t check = 0;
    QString destination;
    QString date;    // ISO
    std::int64_t member = 0;
};

class EntryTest : public quiltest::WindowTest<EntryMain> {
protected:
    // Adds members to the file before it is opened; returns their numbers.
    std::vector<std::int64_t> addMembers(const std::vector<MemberRow>& rows)
    {
        sqlite::Connection c = keyed();
        std::vector<std::int64_t> ids;
        for (const MemberRow& m : rows) {
            sqlite::Statement s = c.prepare(QStringLiteral("INSERT INTO Members (FirstName, LastName, Address) VALUES (?, ?, ?)"));
            s.bind(1, m.first).bind(2, m.last);
            if (m.address)
                s.bind(3, *m.address);
            else
                s.bindNull(3);
            s.step();
            ids.push_back(c.lastInsertRowid());
        }
        return ids;
    }

    // Keystrokes, one character at a time, as a user types them.
    static void type(QWidget* widget, const QString& text)
    {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }

    static void pressEnter(QWidget* widget)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }

    // Selects what the box holds and types over it (an empty text: erases it), as a user does.
    static void retype(QLineEdit* box, const QString& text)
    {
        box->selectAll();
        if (text.isEmpty()) {
            QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(box, &erase);
        }
        type(box, text);
    }

    // Types into the destination box, replacing what it held.
    static void typeDestination(QDialog& d, const QString& text)
    {
        auto& combo = ui::child<QComboBox>(d, QStringLiteral("Combo1"));
        retype(combo.lineEdit(), text);
    }

    // Picks an item of the destination list, as a click in the drop-down does.
    static void chooseDestination(QDialog& d, const QString& item)
    {
        auto& combo = ui::child<QComboBox>(d, QStringLiteral("Combo1"));
        const int index = combo.findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        combo.setCurrentIndex(index);
        emit combo.activated(index);
    }

    static QLineEdit& text1(QDialog& d, int index)
    {
        return ui::child<QLineEdit>(d, QStringLiteral("Text1(%1)").arg(index));
    }

    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    // Every donation row in the file, in the order they were added.
    std::vector<Payment> payments() const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral(
            "SELECT PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID FROM Payments ORDER BY PaymentID"));
        std::vector<Payment> rows;
        while (s.step()) {
            Payment p;
            p.amount = vb::Currency::fromRaw(s.int64(0)).toString();
            p.check = s.int64(1);
            p.destination = s.text(2);
            p.date = s.text(3);
            p.member = s.int64(4);
            rows.push_back(p);
        }
        return rows;
    }

    QStringList destinations() const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT DestItem FROM Dest ORDER BY rowid"));
        QStringList out;
        while (s.step())
            out << s.text(0);
        return out;
    }

    QStringList prompts() const
    {
        QStringList out;
        for (const ui::Message& m : ui_->messages())
            out << m.prompt;
        return out;
    }
};

} // namespace entrytest
