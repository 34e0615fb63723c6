#include "platform/ui/qt_mapping.h"
#include "platform/ui/qt_ui.h"

#include "support/temp_dir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using ui::Buttons;
using ui::Icon;

// Drives the real Qt dialogs: the first modal window that appears is handed to `handle`; any
// further one is an unexpected question and is closed and counted, so a test cannot hang on it.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> handle) : handle_(std::move(handle))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }
    int unexpected = 0;

private:
    void poll()
    {
        // The handled window may not close at the first try (a file dialog fills its list in the
        // background and can refuse an early accept): hand it over again until it has gone.
        if (handledOnce_ && (!handled_ || !handled_->isVisible()))
            done_ = true;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (handle_ && !done_ && (!handled_ || modal == handled_)) {
            handled_ = modal;
            handledOnce_ = true;
            handle_(modal);
            return;
        }
        if (modal == handled_)
            return;
        ++unexpected;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    std::function<void(QWidget*)> handle_;
    QPointer<QWidget> handled_;
    bool handledOnce_ = false;
    bool done_ = false;
    QTimer timer_;
};

TEST(QtUiMessages, ButtonsIconsTitleAndAnswersMapToTheClassicCodes)
{
    QApplication::setApplicationDisplayName("QUIL");
    const struct {
        Buttons buttons;
        Icon icon;
        const char* title;
        int press;
        QMessageBox::Icon qtIcon;
        const char* shownTitle;
        int buttonCount;
    } cases[] = {
        {Buttons::OKOnly, Icon::Critical, "Bad Query", ui::OK, QMessageBox::Critical, "Bad Query", 1},
        {Buttons::OKCancel, Icon::None, "QUIL", ui::Cancel, QMessageBox::NoIcon, "QUIL", 2},
        {Buttons::YesNo, Icon::Question, "Confirm Delete", ui::No, QMessageBox::Question, "Confirm Delete", 2},
        {Buttons::YesNoCancel, Icon::Exclamation, "", ui::Yes, QMessageBox::Warning, "QUIL", 3},
        {Buttons::AbortRetryIgnore, Icon::Information, "t", ui::Ignore, QMessageBox::Information, "t", 3},
        {Buttons::RetryCancel, Icon::Critical, "t", ui::Retry, QMessageBox::Critical, "t", 2},
    };
    for (const auto& c : cases) {
        const std::string label = ui::nameOf(c.buttons).toStdString();
        QString seenTitle, seenText;
        int seenButtons = -1;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        ModalDriver driver([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            seenButtons = static_cast<int>(box->buttons().size());
            box->button(ui::qt::standardButtonFor(c.press))->click();
        });
        ui::QtUi qtUi;
        ui::Ui& u = qtUi;
        EXPECT_EQ(u.msgBox("Prompt text", c.buttons, c.icon, c.title), c.press) << label;
        EXPECT_EQ(seenTitle, c.shownTitle) << label;
        EXPECT_EQ(seenText, "Prompt text") << label;
        EXPECT_EQ(seenIcon, c.qtIcon) << label;
        EXPECT_EQ(seenButtons, c.buttonCount) << label;
        EXPECT_EQ(driver.unexpected, 0) << label;
    }
}

TEST(QtUiMessages, EscapeGivesCancelWhereTheBoxHasOne)
{
    const struct {
        Buttons buttons;
        int expected;
    } cases[] = {{Buttons::OKCancel, ui::Cancel}, {Buttons::YesNoCancel, ui::Cancel}, {Buttons::OKOnly, ui::OK}};
    for (const auto& c : cases) {
        ModalDriver driver([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        ui::QtUi qtUi;
        ui::Ui& u = qtUi;
        EXPECT_EQ(u.msgBox("p", c.buttons), c.expected) << ui::nameOf(c.buttons).toStdString();
    }
}

// Types the name into the dialog's name box and presses its default button, as a user would;
// selectFile alone races with the list the dialog fills in the background.
void typeFileName(QFileDialog* dialog, const QString& path)
{
    if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        edit->setText(path);
    else
        dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
}

TEST(QtUiFiles, OpenDialogReturnsTheChosenPathAndCancelGivesEmpty)
{
    quiltest::TempDir dir;
    const QString path = dir.file("club.qdb");
    QFile(path).open(QIODevice::WriteOnly);

    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    QString title;
    QStringList filters;
    ModalDriver choose([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        mode = dialog->acceptMode();
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        typeFileName(dialog, path);
    });
    ui::QtUi qtUi;
    ui::Ui& u = qtUi;
    bool cancelled = true;
    EXPECT_EQ(u.openFileDialog("Open Data Base File", "*.qdb", "*.qdb", dir.path(), &cancelled), path);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(title, "Open Data Base File");
    EXPECT_EQ(filters, QStringList{"*.qdb"});

    ModalDriver cancel([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(u.openFileDialog("Open Data Base File", "*.qdb", "*.qdb", dir.path(), &cancelled), "");
    EXPECT_TRUE(cancelled);
}

TEST(QtUiFiles, SaveDialogReplacesAnExistingFileWithoutAsking)
{
    quiltest::TempDir dir;
    const QString path = dir.file("Default Merge.rtf");
    QFile(path).open(QIODevice::WriteOnly);

    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    ModalDriver driver([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        mode = dialog->acceptMode();
        static_cast<QDialog*>(dialog)->accept();  // the initial name is already in the name box
    });
    ui::QtUi qtUi;
    ui::Ui& u = qtUi;
    bool cancelled = true;
    EXPECT_EQ(u.saveFileDialog("Create Mail Merge Data File", "Default Merge.rtf", "*.rtf", dir.path(), &cancelled), path);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(mode, QFileDialog::AcceptSave);
    EXPECT_EQ(driver.unexpected, 0);
}

TEST(QtUiFiles, ClassicFiltersBecomeQtNameFilters)
{
    const struct {
        const char* classic;
        const char* qt;
    } cases[] = {
        {"*.qdb", "*.qdb"},
        {"*.jpg;*.bmp", "*.jpg *.bmp"},
        {" *.jpg ; *.bmp ;", "*.jpg *.bmp"},
        {"Pictures|*.jpg;*.bmp|All files|*.*", "Pictures (*.jpg *.bmp);;All files (*.*)"},
        {"|*.rtf", "*.rtf"},
        {"Odd|", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::qt::nameFilters(c.classic), c.qt) << c.classic;

    EXPECT_TRUE(ui::qt::isPattern("*.qdb"));
    EXPECT_TRUE(ui::qt::isPattern("file?.rtf"));
    EXPECT_FALSE(ui::qt::isPattern("Default Merge.rtf"));
}

TEST(QtUiPointer, RepeatedHourglassCallsDoNotStack)
{
    ui::QtUi qtUi;
    ui::Ui& u = qtUi;
    for (int i = 0; i < 3; ++i)
        u.setBusyPointer(true);
    EXPECT_TRUE(u.isBusyPointer());
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    u.setBusyPointer(false);
    EXPECT_FALSE(u.isBusyPointer());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // An override someone else pushed is turned into the hourglass, not stacked upon, and the
    // arrow clears it too.
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    u.setBusyPointer(true);
    EXPECT_TRUE(u.isBusyPointer());
    u.setBusyPointer(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtUiModal, RunModalReturnsTheDialogsResult)
{
    QDialog dialog;
    ModalDriver driver([](QWidget* w) { static_cast<QDialog*>(w)->done(7); });
    ui::QtUi qtUi;
    EXPECT_EQ(static_cast<ui::Ui&>(qtUi).runModal(dialog), 7);
}

} // namespace
