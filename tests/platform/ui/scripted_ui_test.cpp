#include "platform/ui/scripted_ui.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using ui::Buttons;
using ui::Icon;

// A dialog as the program writes them: OK checks its entry and stays open with a message when
// the entry is empty; Cancel rejects.
class NameDialog : public QDialog {
public:
    NameDialog()
    {
        setObjectName("NameDlg");
        auto* layout = new QVBoxLayout(this);
        text = new QLineEdit(this);
        text->setObjectName("Text1");
        ok = new QPushButton("&OK", this);
        ok->setObjectName("cmdOK");
        auto* cancel = new QPushButton("&Cancel", this);
        cancel->setObjectName("cmdCancel");
        layout->addWidget(text);
        layout->addWidget(ok);
        layout->addWidget(cancel);
        connect(ok, &QPushButton::clicked, this, [this] {
            if (text->text().isEmpty()) {
                ui::current().beep();
                ui::current().msgBox("Enter a name", Buttons::OKOnly, Icon::Critical, "QUIL");
                return;
            }
            accept();
        });
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
    QLineEdit* text;
    QPushButton* ok;
};

// A dialog whose Escape does not close it, as some confirmation dialogs do.
class StubbornDialog : public QDialog {
public:
    void reject() override { ++rejectCalls; }
    int rejectCalls = 0;
};

TEST(ScriptedUiMessages, DefaultAnswerIsTheFirstButtonOfEachSet)
{
    const struct {
        Buttons buttons;
        int expected;
    } cases[] = {
        {Buttons::OKOnly, ui::OK},     {Buttons::OKCancel, ui::OK},   {Buttons::AbortRetryIgnore, ui::Abort},
        {Buttons::YesNoCancel, ui::Yes}, {Buttons::YesNo, ui::Yes},     {Buttons::RetryCancel, ui::Retry},
    };
    for (const auto& c : cases) {
        ui::ScriptedUi scripted;
        ui::Ui& u = scripted;
        EXPECT_EQ(u.msgBox("p", c.buttons), c.expected) << ui::nameOf(c.buttons).toStdString();
        ASSERT_EQ(scripted.events().size(), 1u);
        EXPECT_TRUE(scripted.events()[0].defaulted);
    }
}

TEST(ScriptedUiMessages, AnswersComeFromTheQueueInOrderAndEverythingIsLogged)
{
    ui::ScriptedUi scripted;
    ui::Ui& u = scripted;
    scripted.queueAnswers({ui::No, ui::Cancel});

    u.beep();
    EXPECT_EQ(u.msgBox("Delete Password Entry for User", Buttons::YesNo, Icon::Question, "Confirm Delete"), ui::No);
    EXPECT_EQ(u.msgBox("Save?", Buttons::YesNoCancel, Icon::Exclamation), ui::Cancel);
    EXPECT_EQ(u.msgBox("Done", Buttons::OKOnly, Icon::Information, "QUIL"), ui::OK);

    EXPECT_EQ(scripted.trace(), (QStringList{"beep", "message: Delete Password Entry for User", "message: Save?",
                                             "message: Done"}));
    const auto messages = scripted.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].title, "Confirm Delete");
    EXPECT_EQ(messages[0].icon, Icon::Question);
    EXPECT_EQ(messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(messages[1].title, "");
    EXPECT_EQ(messages[2].icon, Icon::Information);
    EXPECT_EQ(scripted.beepCount(), 1);
    EXPECT_FALSE(scripted.events()[1].defaulted);
    EXPECT_FALSE(scripted.events()[2].defaulted);
    EXPECT_TRUE(scripted.events()[3].defaulted);
    EXPECT_EQ(scripted.pendingScripts(), 0);
}

TEST(ScriptedUiMessages, AnAnswerTheBoxDoesNotOfferIsNotedAndDefaulted)
{
    ui::ScriptedUi scripted;
    ui::Ui& u = scripted;
    scripted.queueAnswers({ui::Yes, ui::OK});
    EXPECT_EQ(u.msgBox("Bad Query", Buttons::OKOnly), ui::OK);
    EXPECT_EQ(scripted.notes().size(), 1);
    EXPECT_TRUE(scripted.notes()[0].contains("Yes")) << scripted.notes()[0].toStdString();
    // The next answer in the queue is still the next box's.
    EXPECT_EQ(u.msgBox("again", Buttons::OKCancel), ui::OK);
    EXPECT_FALSE(scripted.events().back().defaulted);
}

TEST(ScriptedUiFiles, FileDialogsAnswerFromTheQueueAndReportCancelling)
{
    ui::ScriptedUi scripted;
    ui::Ui& u = scripted;
    scripted.queueFile("/data/club.qdb");
    scripted.queueFileCancel();

    bool cancelled = true;
    EXPECT_EQ(u.openFileDialog("Open Data Base File", "*.qdb", "*.qdb", "/data", &cancelled), "/data/club.qdb");
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(u.saveFileDialog("Create Mail Merge Data File", "Default Merge.rtf", "*.rtf", {}, &cancelled), "");
    EXPECT_TRUE(cancelled);
    cancelled = false;
    EXPECT_EQ(u.openFileDialog("Choose Logo for Reports", "*.jpg;*.bmp", "*.jpg;*.bmp", {}, &cancelled), "");
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(scripted.events().back().defaulted);

    const auto requests = scripted.fileRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].kind, ui::FileDialogKind::Open);
    EXPECT_EQ(requests[0].folder, "/data");
    EXPECT_EQ(requests[1].kind, ui::FileDialogKind::Save);
    EXPECT_EQ(requests[1].initialName, "Default Merge.rtf");
    EXPECT_EQ(requests[2].filter, "*.jpg;*.bmp");
}

TEST(ScriptedUiModal, AScriptFillsTheDialogAndItsOwnLogicAccepts)
{
    ui::ScopedScriptedUi scripted;
    NameDialog dialog;
    scripted->queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "Text1").setText("Smith");
        ui::click(d, "cmdOK");
    });
    EXPECT_EQ(ui::current().runModal(dialog), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.text->text(), "Smith");  // still readable from the hidden dialog
    EXPECT_EQ(scripted->trace(), QStringList{"dialog: NameDlg"});
    EXPECT_EQ(scripted->events()[0].answer, QDialog::Accepted);
}

TEST(ScriptedUiModal, ADialogLeftOpenIsRejectedWithANote)
{
    ui::ScopedScriptedUi scripted;
    NameDialog dialog;
    scripted->queueDialog([](QDialog& d) { ui::click(d, "cmdOK"); });  // empty name: stays open
    EXPECT_EQ(ui::current().runModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(scripted->trace(), (QStringList{"dialog: NameDlg", "beep", "message: Enter a name",
                                              "note: dialog NameDlg left open by its script: rejected"}));
}

TEST(ScriptedUiModal, OutcomesOfTheScript)
{
    const struct {
        const char* name;
        std::function<void(QDialog&)> script;
        int expected;
    } cases[] = {
        {"cancel button", [](QDialog& d) { ui::click(d, "cmdCancel"); }, QDialog::Rejected},
        {"done with a code", [](QDialog& d) { d.done(5); }, 5},
        {"retry after a message",
         [](QDialog& d) {
             ui::click(d, "cmdOK");
             ui::child<QLineEdit>(d, "Text1").setText("Jones");
             ui::click(d, "cmdOK");
         },
         QDialog::Accepted},
        {"hidden with a result set",
         [](QDialog& d) {
             d.setResult(QDialog::Accepted);
             d.hide();
         },
         QDialog::Accepted},
        {"script returning a value", [](QDialog& d) -> int { d.accept(); return 99; }, QDialog::Accepted},
    };
    for (const auto& c : cases) {
        ui::ScopedScriptedUi scripted;
        NameDialog dialog;
        scripted->queueDialog(c.script);
        EXPECT_EQ(ui::current().runModal(dialog), c.expected) << c.name;
        EXPECT_TRUE(scripted->notes().isEmpty()) << c.name << ": " << scripted->notes().join("; ").toStdString();
        EXPECT_FALSE(dialog.isVisible()) << c.name;
    }
}

TEST(ScriptedUiModal, ADialogThatDeletesItselfOnCloseStillGivesItsResult)
{
    ui::ScopedScriptedUi scripted;
    auto* dialog = new NameDialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QDialog> watch(dialog);
    scripted->queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "Text1").setText("x");
        ui::click(d, "cmdOK");
    });
    EXPECT_EQ(ui::current().runModal(*dialog), QDialog::Accepted);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
}

TEST(ScriptedUiModal, WithoutAScriptTheDialogIsRejected)
{
    ui::ScopedScriptedUi scripted;
    NameDialog dialog;
    EXPECT_EQ(ui::current().runModal(dialog), QDialog::Rejected);
    EXPECT_EQ(scripted->notes(), QStringList{"no script for dialog NameDlg: rejected"});
}

TEST(ScriptedUiModal, ADialogThatRefusesToRejectIsClosedAllTheSame)
{
    ui::ScopedScriptedUi scripted;
    StubbornDialog dialog;
    scripted->queueDialog([](QDialog&) {});
    EXPECT_EQ(ui::current().runModal(dialog), QDialog::Rejected);
    EXPECT_EQ(dialog.rejectCalls, 1);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ScriptedUiModal, DialogsOpenedFromADialogRunTheirOwnScriptsInOrder)
{
    ui::ScopedScriptedUi scripted;
    NameDialog outer;
    NameDialog inner;
    inner.setObjectName("Inner");
    scripted->queueDialog([&inner](QDialog& d) {
        ui::child<QLineEdit>(d, "Text1").setText(ui::current().runModal(inner) == QDialog::Accepted ? inner.text->text() : "");
        ui::click(d, "cmdOK");
    });
    scripted->queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "Text1").setText("nested");
        ui::click(d, "cmdOK");
    });
    EXPECT_EQ(ui::current().runModal(outer), QDialog::Accepted);
    EXPECT_EQ(outer.text->text(), "nested");
    EXPECT_EQ(scripted->trace(), (QStringList{"dialog: NameDlg", "dialog: Inner"}));
}

TEST(ScriptedUiModal, ScriptsThatNameAMissingOrWrongControlFailLoudly)
{
    NameDialog dialog;
    EXPECT_THROW(ui::child<QLineEdit>(dialog, "Text2"), std::logic_error);
    EXPECT_THROW(ui::child<QLineEdit>(dialog, "cmdOK"), std::logic_error);
    dialog.ok->setEnabled(false);
    EXPECT_THROW(ui::click(dialog, "cmdOK"), std::logic_error);
    dialog.ok->setEnabled(true);
    dialog.ok->hide();
    EXPECT_THROW(ui::click(dialog, "cmdOK"), std::logic_error);
}

TEST(UiInstall, AScopedScriptedUiIsInForceOnlyWhileItLives)
{
    auto first = std::make_unique<ui::ScriptedUi>();
    ui::ScriptedUi* firstPtr = first.get();
    auto before = ui::install(std::move(first));
    {
        ui::ScopedScriptedUi scoped;
        EXPECT_EQ(&ui::current(), &*scoped);
        ui::current().beep();
        EXPECT_EQ(scoped->beepCount(), 1);
    }
    EXPECT_EQ(&ui::current(), firstPtr);
    EXPECT_EQ(firstPtr->beepCount(), 0);
    auto mine = ui::install(std::move(before));
    EXPECT_EQ(mine.get(), firstPtr);
}

} // namespace
