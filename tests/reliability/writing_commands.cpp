#include "reliability/writing_commands.h"

#include "frame/dispatch.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "records/records_commands.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <stdexcept>

namespace reliability {

namespace {

// ---- What a user does in the dialogs -------------------------------------------------------

void type(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

QLineEdit& text1(QDialog& d, int index)
{
    return ui::child<QLineEdit>(d, QStringLiteral("Text1(%1)").arg(index));
}

void typeDestination(QDialog& d, const QString& text)
{
    QLineEdit* box = ui::child<QComboBox>(d, QStringLiteral("Combo1")).lineEdit();
    box->selectAll();
    type(box, text);
}

// Picks the item from the list; when the list could not be read, the user types it instead.
void chooseDestination(QDialog& d, const QString& item)
{
    auto& combo = ui::child<QComboBox>(d, QStringLiteral("Combo1"));
    const int index = combo.findText(item);
    if (index < 0) {
        typeDestination(d, item);
        return;
    }
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

void menu(Session& s, const std::function<void(frmMain&)>& handler)
{
    frmMain& f = s.window();
    frame::RunHandler(f, frame::Origin::Menu, [&] { handler(f); });
}

void openFile(Session& s)
{
    if (!s.open())
        throw std::runtime_error("the fixture did not open");
}

void openExecutive(Session& s)
{
    openFile(s);
    s.executive();
}

// ---- Adding donations ----------------------------------------------------------------------

void addDonation(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        text1(d, 0).setText(QStringLiteral("42.50"));
        text1(d, 1).setText(QStringLiteral("777"));
        chooseDestination(d, QStringLiteral("Roof"));
        text1(d, 3).setText(QStringLiteral("6/1/2004"));
        ui::click(d, QStringLiteral("Command1"));
    });
    menu(s, [](frmMain& f) { f.mnuEditAddPay_Click(); });
}

void addSplitDonation(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        text1(d, 0).setText(QStringLiteral("150"));
        text1(d, 1).setText(QStringLiteral("900"));
        text1(d, 3).setText(QStringLiteral("6/2/2004"));
        ui::click(d, QStringLiteral("Option2"));
        ui::click(d, QStringLiteral("Command1"));
        const char* const lines[][2] = {
            {"10", "General Fund"}, {"20", "Roof"}, {"30", "Music"}, {"40", "Bell Tower"}, {"50", "O'Neil Fund"}};
        for (const auto& line : lines) {
            text1(d, 0).setText(QString::fromLatin1(line[0]));
            typeDestination(d, QString::fromLatin1(line[1]));
            ui::click(d, QStringLiteral("Command1"));
        }
    });
    menu(s, [](frmMain& f) { f.mnuEditAddPay_Click(); });
}

void addDestination(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        typeDestination(d, QStringLiteral("Organ Fund"));
        ui::click(d, QStringLiteral("Command3"));
        ui::click(d, QStringLiteral("Command2"));
    });
    menu(s, [](frmMain& f) { f.mnuEditAddPay_Click(); });
}

void removeDestination(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        chooseDestination(d, QStringLiteral("Music"));
        // A list that could not be read offers nothing to remove.
        if (ui::child<QWidget>(d, QStringLiteral("Command4")).isEnabled())
            ui::click(d, QStringLiteral("Command4"));
        ui::click(d, QStringLiteral("Command2"));
    });
    menu(s, [](frmMain& f) { f.mnuEditAddPay_Click(); });
}

// ---- Grid edits: payment 1 of member 4, the member current after the view's re-run ---------

std::function<void(Session&)> gridEdit(int column, QString typed)
{
    return [column, typed](Session& s) {
        frmMain& f = s.window();
        auto* model = qobject_cast<data::GridModel*>(f.grdDataGrid->model());
        if (!model)
            throw std::logic_error("the grid has no model");
        int row = -1;
        for (int r = 0; r < model->rowCount() && row < 0; ++r)
            if (model->data(model->index(r, 0)).toString() == u"1")
                row = r;
        if (row < 0)
            throw std::logic_error("the grid does not show payment 1");
        frame::RunHandler(f, frame::Origin::Event, [&] { model->setData(model->index(row, column), typed); });
    };
}

// ---- Members -------------------------------------------------------------------------------

void addMember(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        const QStringList texts{"Dora", "D'Arcy", "4 Ash Ln", "Rome", "NY", "13440", "555-0100"};
        for (int i = 0; i < texts.size(); ++i)
            ui::child<QLineEdit>(d, QStringLiteral("NewMem(%1)").arg(i)).setText(texts[i]);
        ui::child<QPlainTextEdit>(d, QStringLiteral("NewMem(7)")).setPlainText(QStringLiteral("joined in June"));
        ui::click(d, QStringLiteral("Command1"));
    });
    menu(s, [](frmMain& f) { f.mnuEditAddMem_Click(); });
}

void editMemberCity(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, QStringLiteral("Text1")).setText(QStringLiteral("Schenectady"));
        ui::click(d, QStringLiteral("OkBut"));
    });
    frmMain& f = s.window();
    frame::RunHandler(f, frame::Origin::Event, [&] { static_cast<RecordsCommands&>(*f.records).txtFields_DblClick(4); });
}

// ---- Files ---------------------------------------------------------------------------------

void openWithLogoRewrite(Session& s)
{
    menu(s, [&s](frmMain& f) {
        f.S.DbFileName = s.file();
        f.mnuFileOpen_Click();
    });
}

std::vector<WritingCommand> makeTable()
{
    std::vector<WritingCommand> rows;
    rows.push_back({QStringLiteral("add donation"), openFile, addDonation});
    rows.push_back({QStringLiteral("add split donation (five lines)"), openFile, addSplitDonation});
    rows.push_back({QStringLiteral("add destination"), openFile, addDestination});
    rows.push_back({QStringLiteral("remove destination"), openFile, removeDestination});
    rows.push_back({QStringLiteral("grid edit: amount"), openExecutive, gridEdit(1, QStringLiteral("99.95"))});
    rows.push_back({QStringLiteral("grid edit: check number"), openExecutive, gridEdit(2, QStringLiteral("4321"))});
    rows.push_back({QStringLiteral("grid edit: destination"), openExecutive, gridEdit(3, QStringLiteral("Bell Tower"))});
    rows.push_back({QStringLiteral("grid edit: date"), openExecutive, gridEdit(4, QStringLiteral("7/4/2003"))});
    rows.push_back({QStringLiteral("grid edit: member"), openExecutive, gridEdit(5, QStringLiteral("2"))});
    rows.push_back({QStringLiteral("add member"), openFile, addMember});
    rows.push_back({QStringLiteral("edit member field"), openExecutive, editMemberCity});
    rows.push_back({QStringLiteral("open (logo path rewrite)"), [](Session&) {}, openWithLogoRewrite, true, true});
    return rows;
}

} // namespace

const std::vector<WritingCommand>& writingCommands()
{
    static const std::vector<WritingCommand> table = makeTable();
    return table;
}

const WritingCommand* findCommand(const QString& name)
{
    for (const WritingCommand& c : writingCommands())
        if (c.name == name)
            return &c;
    return nullptr;
}

} // namespace reliability
