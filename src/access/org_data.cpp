#include "access/org_data.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/dao/sqlite.h"
#include "platform/dao/write_unit.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "schema/open_checks.h"
#include "schema/schema.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kPictureFiles = QStringLiteral("*.jpg;*.bmp");

const std::array<const char*, OrgData::kBoxes> kLabels = {
    "Organization Name    (25 Chars)",         "Organization Address    (75 Chars)",
    "Organization Phone Numbers    (75 Chars)", "Organization Email    (75 Chars)",
    "Logo to appear on Reports    (100 Chars)",
};

} // namespace

const std::array<const char*, OrgData::kBoxes>& OrgData::fields()
{
    static const std::array<const char*, kBoxes> names = {"OrgName", "OrgAdd", "OrgPhone", "OrgEmail", "OrgLogo"};
    return names;
}

OrgData::OrgData(MainState& S, std::shared_ptr<dao::Database> database, QWidget* parent)
    : QDialog(parent), S(S), database_(std::move(database))
{
    setObjectName(QStringLiteral("OrgData"));
    setWindowTitle(QStringLiteral("Organization Data"));
    createControls();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    Form_Load();
}

OrgData::~OrgData() = default;

void OrgData::createControls()
{
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Heading = new QLabel(QStringLiteral("Enter the Information that you want to appear on the reports."), Shape1);
    Heading->setObjectName(QStringLiteral("Heading"));
    Heading->setAlignment(Qt::AlignCenter);
    auto* shape = new QVBoxLayout(Shape1);
    shape->addWidget(Heading);

    auto* grid = new QGridLayout;
    for (int i = 0; i < kBoxes; ++i) {
        const auto at = static_cast<std::size_t>(i);
        Label1[at] = new QLabel(QLatin1String(kLabels[at]), this);
        Label1[at]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Text1[at] = new QLineEdit(this);
        Text1[at]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        // Nothing longer than the field reaches the file.
        Text1[at]->setMaxLength(db::textFieldSize(u"Passwords", QString::fromLatin1(fields()[at])));
        Label1[at]->setBuddy(Text1[at]);
        grid->addWidget(Label1[at], 2 * i, 0, 1, 2);
        grid->addWidget(Text1[at], 2 * i + 1, 0);
    }
    Text1[0]->setMinimumWidth(380);
    Command3 = new QPushButton(QStringLiteral("&Browse"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAutoDefault(false);
    grid->addWidget(Command3, 2 * (kBoxes - 1) + 1, 1);

    Command2 = new QPushButton(QStringLiteral("&OK"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setDefault(true);
    Command1 = new QPushButton(QStringLiteral("&Cancel"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);

    Data1 = new data::DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    Data1->hide();
    Data1->setDatabase(database_);
    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Shape1);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(12);
}

void OrgData::Form_Load()
{
    Data1->setRecordSource(db::kOrganizationQuery);
    Data1->setRecordset(database_->openRecordset(db::kOrganizationQuery));
    dao::Recordset* org = Data1->recordset();
    if (org->recordCount() > 0) {
        org->moveFirst();
        for (int i = 0; i < kBoxes; ++i) {
            const vb::Value value = org->field(i);
            Text1[static_cast<std::size_t>(i)]->setText(value.isNull() ? QString() : value.toText());
        }
    }
    Data1->setRecordset(nullptr);
}

void OrgData::Command1_Click()
{
    QDialog::reject();
}

void OrgData::reject()
{
    Command1_Click();
}

void OrgData::Command2_Click()
{
    std::array<QString, kBoxes> stored;
    try {
        dao::WriteUnit unit(*database_);
        Data1->setRecordset(database_->openRecordset(db::kOrganizationQuery));
        dao::Recordset* org = Data1->recordset();
        if (org->recordCount() == 0)
            throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("The file has no password list to hold the organization data."));
        org->moveFirst();
        org->edit();
        for (int i = 0; i < kBoxes; ++i)
            org->setField(i, Text1[static_cast<std::size_t>(i)]->text());
        org->update();
        org->setBookmark(org->lastModified());
        for (int i = 0; i < kBoxes; ++i)
            stored[static_cast<std::size_t>(i)] = org->field(i).toText();
        unit.commit();
    } catch (const jet::DbError& e) {
        if (dao::Recordset* org = Data1->recordset(); org && org->editMode() != dao::Recordset::EditMode::None)
            org->cancelUpdate();
        Data1->setRecordset(nullptr);
        S.LastAnswer = ui::dataError(QStringLiteral("The organization data was not saved: nothing has been written.\n\n%1").arg(e.reason()));
        return;
    }
    S.OrgName = stored[0];
    S.OrgAdd = stored[1];
    S.OrgPhone = stored[2];
    S.OrgEmail = stored[3];
    S.OrgLogo = stored[4];
    Data1->setRecordset(nullptr);
    accept();
}

bool OrgData::testLoad(const QString& path)
{
    auto bad = [&](const QString& prompt) {
        S.LastAnswer = ui::message(ui::Beep::No, prompt, ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("Unreadable File"));
        return false;
    };
    const int room = Text1[kBoxes - 1]->maxLength();
    if (path.size() > room)
        return bad(QStringLiteral("The path of this picture has %1 characters; the file keeps at most %2:\n%3\n\n"
                                  "Move the picture to a folder with a shorter path.")
                       .arg(path.size())
                       .arg(room)
                       .arg(path));
    QImageReader reader(path);
    const QSize size = reader.size();
    // The reports load the logo whole; a picture they cannot hold is refused here, by its size.
    const qint64 bytes = size.isValid() ? qint64(size.width()) * size.height() * 4 : 0;
    if (bytes > qint64(QImageReader::allocationLimit()) * 1024 * 1024)
        return bad(QStringLiteral("This picture is too large for a logo (%1 x %2 pixels):\n%3")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(path));
    const QImage image = reader.read();
    if (image.isNull())
        return bad(QStringLiteral("Bad Picture File"));
    Picture2->setPixmap(QPixmap::fromImage(image));
    return true;
}

void OrgData::Command3_Click()
{
    bool cancelled = false;
    const QString path = ui::current().openFileDialog(QStringLiteral("Choose Logo for Reports"), kPictureFiles, kPictureFiles, {}, &cancelled);
    if (cancelled || path.isEmpty())
        return;
    if (testLoad(path))
        Text1[kBoxes - 1]->setText(path);
    else
        Text1[kBoxes - 1]->setText(S.OrgLogo);
}
