#include "frame/frm_main.h"

#include "frame/client_area.h"
#include "frame/program_folder.h"
#include "frame/quit_signals.h"
#include "frame/second_copy.h"
#include "platform/data/bound_text_box.h"
#include "platform/data/data_control.h"
#include "platform/ui/object_names.h"
#include "platform/ui/save_target.h"
#include "schema/own_files.h"
#include "schema/schema.h"
#include "schema/template.h"

#include <QFrame>
#include <QPointer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <stdexcept>

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& caption)
{
    return ui::named(new QLabel(caption, parent), name);
}

// A shape control: an outline only, so that whatever lies under it shows through.
QFrame* shape(QWidget* parent, const char* name)
{
    auto* frame = ui::named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Plain);
    frame->setLineWidth(1);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    return frame;
}

// The labels of the member fields, one for each column of Members in its order.
constexpr std::array<const char*, 9> kFieldCaptions = {"Member ID", "First Name", "Last Name", "Address", "City",
                                       "State",     "Zip Code",   "Home Phone", "Notes:"};

const char* const kHelpText =
    "To enter in new donations, type the initials of the donator.  Last initial first and "
    "separated by a space.  Highlight a name in the list box and press Enter to add a donation.  "
    "If there are no names listed after entering initials, then there are no matches.  Press "
    "Enter to start a new member.";

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("QUIL"));
    setWindowIcon(QIcon(ProgramFolder() + QStringLiteral("quil.png")));

    client = ui::named(new ClientArea(this), QStringLiteral("client"));
    setCentralWidget(client);

    createControls();
    createMenus();
    createToolbar();
    placeControls();
    connect(client, &ClientArea::resized, this, &frmMain::Form_Resize);

    // Every file a command writes under a name the user picks is checked against the files this
    // window keeps. The window may go first (tests make several): then nothing is kept.
    ui::setSaveTargetCheck([window = QPointer<frmMain>(this)](const QString& path) {
        if (!window)
            return QString();
        return db::ownFileRefusal(path, window->S.OpenDbPath,
                                  window->S.AppDir + QString::fromLatin1(db::kTemplateFileName));
    });
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    const auto columns = db::memberColumns();
    if (columns.size() != kFieldCaptions.size())
        throw std::logic_error("The member fields of the window and the columns of Members differ");
    for (int i = 0; i < 9; ++i) {
        const db::ColumnDef& column = columns[i];
        lblLabels[i] = ui::named(new QLabel(QLatin1String(kFieldCaptions[i]), client), ui::elementName("lblLabels", i));
        if (i == TextFields::kNotes) {
            auto* box = new data::BoundMemoBox(client);
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            txtFields[i] = box;
        } else {
            auto* box = new data::BoundTextBox(client);
            if (const int limit = db::textFieldSize(u"Members", QString::fromLatin1(column.name)))
                box->setMaxLength(limit);
            txtFields[i] = box;
        }
        txtFields[i]->setObjectName(ui::elementName("txtFields", i));
        // Editing is for Executive mode; Notes shows only there.
        txtFields[i]->setEnabled(false);
    }
    txtFields[8]->hide();
    for (int i = 0; i + 1 < 9; ++i)
        setTabOrder(txtFields[i], txtFields[i + 1]);

    WhichViewT = label(client, "WhichViewT", QStringLiteral("WhichMode"));
    Label6 = label(client, "Label6", QStringLiteral("Total of viewable list is "));
    Label7 = label(client, "Label7", QStringLiteral("Not Available"));
    Label2 = label(client, "Label2", QStringLiteral("0"));
    Label3 = label(client, "Label3", QStringLiteral("  Donation(s) "));
    Label4 = label(client, "Label4", QStringLiteral("Sorted by "));
    Label5 = label(client, "Label5", QStringLiteral("Sort?"));
    lblBatch = label(client, "lblBatch", QString());
    lblBatch->hide();

    Shape2 = shape(client, "Shape2");
    Label8 = label(client, "Label8", QStringLiteral("Rapid Search"));
    Label8->setAlignment(Qt::AlignCenter);
    Shape1 = shape(client, "Shape1");
    EntNme = ui::named(new QLineEdit(client), QStringLiteral("EntNme"));
    C_List = ui::named(new MatchList(client), QStringLiteral("C_List"));
    ID_list = ui::named(new MatchList(client), QStringLiteral("ID_list"));
    Shape3 = shape(client, "Shape3");
    Label1 = label(client, "Label1", QLatin1String(kHelpText));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    grdDataGrid = ui::named(new QTableView(client), QStringLiteral("grdDataGrid"));
    grdDataGrid->installEventFilter(this);

    datPrimaryRS = ui::named(new data::DataControl(client), QStringLiteral("datPrimaryRS"));
    datPrimaryRS->setCaption(QStringLiteral(" Members"));
    datSecondaryRS = ui::named(new data::DataControl(client), QStringLiteral("datSecondaryRS"));
    datSecondaryRS->setCaption(QStringLiteral("Secondary"));
    datSecondaryRS->hide();
    datScratchRS = ui::named(new data::DataControl(client), QStringLiteral("datScratchRS"));
    datScratchRS->setCaption(QStringLiteral("Scratch"));
    datScratchRS->hide();
    for (int i = 0; i < 9; ++i)
        txtFields.bind(i, datPrimaryRS, QLatin1String(columns[i].name));

    Picture1 = ui::named(new QLabel(client), QStringLiteral("Picture1"));

    Picture2 = ui::named(new QFrame(client), QStringLiteral("Picture2"));
    Picture2->setFrameShape(QFrame::Panel);
    Picture2->setFrameShadow(QFrame::Raised);
    Picture2->setAutoFillBackground(true);
    auto* busyLayout = new QVBoxLayout(Picture2);
    AniNumOne = ui::named(new QProgressBar(Picture2), QStringLiteral("AniNumOne"));
    AniNumOne->setTextVisible(false);
    Label9 = label(Picture2, "Label9", QStringLiteral("Querying Database..."));
    Label9->setAlignment(Qt::AlignCenter);
    busyLayout->addWidget(AniNumOne);
    busyLayout->addWidget(Label9);

    // The shapes are drawn under everything else, as outline-only controls are. The title box
    // of the search group is filled, so that it sits on the group's frame like a tab.
    Shape2->setAutoFillBackground(true);
    for (auto* frame : {Shape2, Shape1, Shape3})
        frame->lower();

    for (QWidget* w : std::initializer_list<QWidget*>{Label4, Label5, Shape1, Shape2, Shape3, Label1, Label8,
                                                      EntNme, C_List, ID_list, Picture1, Picture2, grdDataGrid})
        w->hide();
}

QAction* frmMain::Button(const QString& key) const
{
    const auto it = buttons_.constFind(key);
    if (it == buttons_.cend())
        throw std::out_of_range("No toolbar button with the key " + key.toStdString());
    return *it;
}

QStringList frmMain::ButtonKeys() const
{
    return buttonKeys_;
}

void frmMain::SetBackgroundPicture(const QPixmap& picture)
{
    client->setPicture(picture);
}

const QPixmap& frmMain::BackgroundPicture() const
{
    return client->picture();
}
