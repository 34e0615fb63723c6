#include "access/admin.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"
#include "platform/ui/ui.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kAdministrator = QStringLiteral("Administrator");
const QString kAdminQuery =
    QStringLiteral("SELECT [PassName],[MyPassWord] from [Passwords] where [PassName] = 'Administrator'");
const QString kListQuery = QStringLiteral("SELECT [PassName],[MyPassWord] from [Passwords]");

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    // Enter in the password box runs OK through its own handler, not a second time as default.
    b->setAutoDefault(false);
    return b;
}

} // namespace

void AdminGrid::commitPendingEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    QWidget* editor = QApplication::focusWidget();
    if (!editor || !viewport()->isAncestorOf(editor))
        editor = viewport()->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

Admin::Admin(MainState& S, std::shared_ptr<dao::Database> database, QWidget* parent)
    : QDialog(parent), S(S), database_(std::move(database))
{
    setObjectName(QStringLiteral("Admin"));
    setWindowTitle(QStringLiteral("Administrator Mode"));
    createControls();
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Command1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    Form_Load();
}

Admin::~Admin() = default;

void Admin::createControls()
{
    Label1 = new QLabel(QStringLiteral("Enter Administrator Password"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    Label1->setFont(heading);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setEchoMode(QLineEdit::Password);

    AdminDat = new data::DataControl(this);
    AdminDat->setObjectName(QStringLiteral("AdminDat"));
    AdminDat->hide();
    AdminDat->setDatabase(database_);

    Grid1 = new AdminGrid(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1Model = new data::GridModel(AdminDat, this);
    Grid1Model->setBeforeColUpdate([this](int column, const vb::Value& oldValue, vb::Value& newValue, bool& cancel) {
        Grid1_BeforeColUpdate(column, oldValue, newValue, cancel);
    });
    Grid1Model->setWriteError([this](const jet::DbError& e) { writeFailed(QStringLiteral("The change was not saved."), e.reason()); });
    Grid1->hide();
    data::bindGrid(Grid1, Grid1Model);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    Grid1->horizontalHeader()->setStretchLastSection(true);
    Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 8);
    Grid1->setMinimumSize(360, 200);

    Label2 = new QLabel(QStringLiteral("Use at least 4 characters for password"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->hide();

    Command1 = button(this, "Command1", QStringLiteral("&OK"));
    Command2 = button(this, "Command2", QStringLiteral("&Add New"));
    Command3 = button(this, "Command3", QStringLiteral("&Delete"));
    Command2->hide();
    Command3->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    buttons->addStretch();
    buttons->addWidget(Command1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addWidget(Grid1, 1);
    layout->addWidget(Label2);
    layout->addLayout(buttons);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    setMinimumWidth(320);
}

dao::Recordset* Admin::list() const
{
    return AdminDat->recordset();
}

bool Admin::inListPhase() const
{
    return !Grid1->isHidden();
}

void Admin::Form_Load()
{
    S.DialogCancelled = false;
    AdminDat->setRecordSource(kAdminQuery);
    AdminDat->setRecordset(database_->openRecordset(kAdminQuery));
    dao::Recordset* admin = list();
    admin->findFirst(QStringLiteral("PassName = 'Administrator'"));
    AdminRowDeleted = false;
    // A file without the entry (damaged, or made by something else) must not open the list for
    // any password, nor stop the program.
    AdminFound = !admin->noMatch();
    if (!AdminFound) {
        AdminDat->setRecordset(nullptr);
        S.LastAnswer = ui::message(ui::Beep::Yes,
                                   QStringLiteral("The password list of this file has no Administrator entry, so it "
                                                  "cannot be shown or changed here."),
                                   ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
        return;
    }
    SavedAdminName = admin->field(QStringLiteral("PassName")).toText();
    SavedAdminPassword = admin->field(QStringLiteral("MyPassWord")).toText();
}

void Admin::Command1_Click()
{
    if (inListPhase()) {
        Grid1->commitPendingEdit();
        closeDialog();
        return;
    }
    dao::Recordset* admin = list();
    if (!admin) {
        closeDialog();
        return;
    }
    // The typed text is a literal whatever it holds; letter case is left to the collation.
    admin->findFirst(QStringLiteral("MyPassWord = ") + jet::quoted(Text1->text()));
    if (admin->noMatch()) {
        ui::current().beep();
        closeDialog();
        return;
    }
    showList();
}

void Admin::showList()
{
    AdminDat->setRecordSource(kListQuery);
    AdminDat->setRecordset(database_->openRecordset(kListQuery));
    AdminDat->refresh();
    Grid1Model->setColumnCaption(0, QStringLiteral(" Name"));
    Grid1Model->setColumnCaption(1, QStringLiteral(" Password"));
    Text1->hide();
    Grid1->show();
    Grid1Model->setShown(true);
    Label1->setText(QStringLiteral("Executive Password List"));
    Label2->show();
    Grid1->setFocus();
    Command2->show();
    Command3->show();
}

void Admin::closeDialog()
{
    AdminDat->setRecordset(nullptr);
    S.DialogCancelled = false;
    done(QDialog::Accepted);
}

void Admin::reject()
{
    if (inListPhase())
        Grid1->commitPendingEdit();
    closeDialog();
}

void Admin::writeFailed(const QString& what, const QString& reason)
{
    S.LastAnswer = ui::dataError(QStringLiteral("%1 Nothing has been written.\n\n%2").arg(what, reason));
}

bool Admin::addEntry(const QString& name, const QString& password)
{
    dao::Recordset* rs = list();
    if (!rs)
        return false;
    try {
        rs->addNew();
        rs->setField(QStringLiteral("PassName"), name);
        rs->setField(QStringLiteral("MyPassWord"), password);
        rs->update();
        rs->setBookmark(rs->lastModified());
    } catch (const jet::DbError& e) {
        if (rs->editMode() != dao::Recordset::EditMode::None)
            rs->cancelUpdate();
        writeFailed(QStringLiteral("The entry was not added."), e.reason());
        return false;
    }
    AdminDat->notifyReposition();
    return true;
}

void Admin::Command2_Click()
{
    addEntry(QStringLiteral("User"), QStringLiteral("mavo"));
    Grid1->setFocus();
}

void Admin::Command3_Click()
{
    dao::Recordset* rs = list();
    if (!rs || !rs->hasCurrentRow())
        return;
    const QString name = rs->field(QStringLiteral("PassName")).toText();
    if (name == kAdministrator) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("You Cannot Delete Administrator."), ui::Buttons::OKOnly,
                                   ui::Icon::Critical, QStringLiteral("QUIL"));
        return;
    }
    S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("Delete Password Entry for ") + name, ui::Buttons::YesNo,
                               ui::Icon::Question, QStringLiteral("Confirm Delete"));
    if (S.LastAnswer != ui::Yes)
        return;
    try {
        rs->deleteCurrent();
        rs->moveFirst();
    } catch (const jet::DbError& e) {
        writeFailed(QStringLiteral("The entry was not deleted."), e.reason());
    }
    AdminDat->notifyReposition();
}
