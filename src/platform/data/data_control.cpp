#include "data_control.h"

#include "platform/dao/database.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QToolButton>
#include <exception>
#include <vector>

namespace data {

namespace {

// A handler that asks for another row on every reposition would never let the control rest;
// after this many follow-up rounds the row then current stands and no further round is raised.
constexpr int kMaxRepositionRounds = 16;

// Record sets replaced while some data control is busy stay alive until every control is done:
// a handler further up the stack may still hold the old one, as it could in the classic runtime.
int busyDepth = 0;
std::vector<std::unique_ptr<dao::Recordset>>& retired()
{
    static std::vector<std::unique_ptr<dao::Recordset>> sets;
    return sets;
}

struct Busy {
    Busy() { ++busyDepth; }
    ~Busy()
    {
        if (--busyDepth == 0)
            retired().clear();
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

} // namespace

class DataControl::Impl {
public:
    explicit Impl(DataControl* owner) : q(owner) {}

    DataControl* q;
    std::shared_ptr<dao::Database> database;
    dao::Database::WriteWatch watch;
    bool fileWrittenQueued = false;
    QString recordSource;
    std::unique_ptr<dao::Recordset> recordset;
    QString caption;

    QToolButton* first = nullptr;
    QToolButton* previous = nullptr;
    QToolButton* next = nullptr;
    QToolButton* last = nullptr;
    QLabel* captionLabel = nullptr;

    bool inReposition = false;
    bool repositionPending = false;
    bool leavingRow = false;
    bool fieldsWritten = false;

    void nameChildren(const QString& name)
    {
        first->setObjectName(name + QStringLiteral("_first"));
        previous->setObjectName(name + QStringLiteral("_previous"));
        captionLabel->setObjectName(name + QStringLiteral("_caption"));
        next->setObjectName(name + QStringLiteral("_next"));
        last->setObjectName(name + QStringLiteral("_last"));
    }

    // True when a handler answered "continue".
    bool raiseError(const jet::DbError& e)
    {
        bool continueSilently = false;
        emit q->error(e.number(), e.description(), &continueSilently);
        return continueSilently;
    }

    // True when a handler cancelled the action.
    // Many writes in one command are told once.
    void queueFileWritten()
    {
        if (fileWrittenQueued)
            return;
        fileWrittenQueued = true;
        QMetaObject::invokeMethod(
            q,
            [this] {
                fileWrittenQueued = false;
                emit q->fileWritten();
            },
            Qt::QueuedConnection);
    }

    bool raiseValidate(Action action)
    {
        bool cancel = false;
        emit q->validate(action, &cancel);
        return cancel;
    }

    void raiseReposition()
    {
        if (inReposition) {
            repositionPending = true;
            return;
        }
        QPointer<DataControl> alive(q);
        inReposition = true;
        int rounds = 0;
        try {
            do {
                repositionPending = false;
                emit q->reposition();
                if (!alive)
                    return;  // a handler closed the window that held the control
            } while (repositionPending && ++rounds <= kMaxRepositionRounds);
        } catch (...) {
            if (alive)
                inReposition = false;
            throw;
        }
        inReposition = false;
        repositionPending = false;
    }

    // Bound controls write what was typed into the current row; the row is written once.
    // `always` also writes an edit the program started itself.
    void writeBoundFields(bool always)
    {
        if (!recordset || leavingRow)
            return;
        leavingRow = true;
        fieldsWritten = false;
        try {
            emit q->aboutToLeaveRow();
        } catch (...) {
            leavingRow = false;
            throw;
        }
        leavingRow = false;
        if (!recordset)
            return;
        const auto mode = recordset->editMode();
        if ((fieldsWritten && mode != dao::Recordset::EditMode::None) || (always && mode == dao::Recordset::EditMode::Edit))
            recordset->update();
        fieldsWritten = false;
    }

    // A write the engine refuses goes to the error event; when a handler lets it pass, the
    // refused edit is dropped so that the action can go on with the stored row.
    // False when the write was refused (and dropped).
    bool saveBoundFields(bool always)
    {
        try {
            writeBoundFields(always);
        } catch (const jet::DbError& e) {
            if (!raiseError(e))
                throw;
            if (recordset && recordset->editMode() != dao::Recordset::EditMode::None)
                recordset->cancelUpdate();
            emit q->rowWriteRefused();
            return false;
        }
        return true;
    }

    void replace(std::unique_ptr<dao::Recordset> fresh)
    {
        if (recordset)
            retired().push_back(std::move(recordset));
        recordset = std::move(fresh);
    }

    void move(Action action)
    {
        Busy busy;
        if (!recordset)
            return;
        if (raiseValidate(action))
            return;
        saveBoundFields(false);
        if (!recordset)
            return;
        try {
            step(*recordset, action);
        } catch (const jet::DbError& e) {
            if (!raiseError(e))
                throw;
            return;
        }
        raiseReposition();
    }

    // The navigator's moves never leave the set standing before its first or after its last row.
    static void step(dao::Recordset& rs, Action action)
    {
        if (rs.recordCount() == 0)
            return;
        switch (action) {
        case Action::MoveFirst: rs.moveFirst(); break;
        case Action::MoveLast: rs.moveLast(); break;
        case Action::MoveNext:
            if (!rs.isEOF())
                rs.moveNext();
            if (rs.isEOF())
                rs.moveLast();
            break;
        case Action::MovePrevious:
            if (!rs.isBOF())
                rs.movePrevious();
            if (rs.isBOF())
                rs.moveFirst();
            break;
        default: break;
        }
    }

    // A click on the navigator: an engine error no handler answered is shown here, as the
    // control's own message, instead of leaving the event loop.
    void navigate(Action action)
    {
        try {
            move(action);
        } catch (const jet::DbError& e) {
            ui::message(ui::Beep::No, e.description(), ui::Buttons::OKOnly, ui::Icon::Critical, {});
        }
    }
};

DataControl::DataControl(QWidget* parent) : QWidget(parent), impl_(std::make_unique<Impl>(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto button = [this, layout](const QString& text, Action action) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setAutoRaise(false);
        connect(b, &QToolButton::clicked, this, [this, action] { impl_->navigate(action); });
        layout->addWidget(b);
        return b;
    };
    impl_->first = button(QStringLiteral("|<"), Action::MoveFirst);
    impl_->previous = button(QStringLiteral("<"), Action::MovePrevious);
    impl_->captionLabel = new QLabel(this);
    impl_->captionLabel->setIndent(4);
    layout->addWidget(impl_->captionLabel, 1);
    impl_->next = button(QStringLiteral(">"), Action::MoveNext);
    impl_->last = button(QStringLiteral(">|"), Action::MoveLast);
    impl_->nameChildren(objectName());
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) { impl_->nameChildren(name); });
}

DataControl::~DataControl() = default;

void DataControl::setDatabase(std::shared_ptr<dao::Database> database)
{
    impl_->database = std::move(database);
    impl_->watch = impl_->database ? impl_->database->watchWrites([impl = impl_.get()] { impl->queueFileWritten(); })
                                   : dao::Database::WriteWatch();
}

std::shared_ptr<dao::Database> DataControl::database() const
{
    return impl_->database;
}

QString DataControl::recordSource() const
{
    return impl_->recordSource;
}

void DataControl::setRecordSource(const QString& source)
{
    impl_->recordSource = source;
}

dao::Recordset* DataControl::recordset() const
{
    return impl_->recordset.get();
}

void DataControl::setRecordset(std::unique_ptr<dao::Recordset> recordset)
{
    Busy busy;
    // The edits typed into the old row belong to it; the new set is attached even when they
    // cannot be written, and the failure is reported afterwards.
    std::exception_ptr failure;
    try {
        impl_->saveBoundFields(false);
    } catch (...) {
        failure = std::current_exception();
    }
    impl_->replace(std::move(recordset));
    impl_->raiseReposition();
    if (failure)
        std::rethrow_exception(failure);
}

QString DataControl::caption() const
{
    return impl_->caption;
}

void DataControl::setCaption(const QString& caption)
{
    impl_->caption = caption;
    impl_->captionLabel->setText(caption);
}

void DataControl::refresh()
{
    Busy busy;
    if (impl_->recordset) {
        if (impl_->raiseValidate(Action::Close))
            return;
        impl_->saveBoundFields(false);
    }
    std::unique_ptr<dao::Recordset> fresh;
    if (impl_->database) {
        try {
            fresh = impl_->database->openRecordset(impl_->recordSource);
        } catch (const jet::DbError& e) {
            // The old record set stays: what the control showed is still true.
            if (!impl_->raiseError(e))
                throw;
            return;
        }
    }
    impl_->replace(std::move(fresh));
    impl_->raiseReposition();
}

bool DataControl::updateRecord()
{
    Busy busy;
    return impl_->saveBoundFields(true);
}

void DataControl::writeField(const QString& field, const vb::Value& value)
{
    dao::Recordset* rs = impl_->recordset.get();
    if (!rs)
        return;
    if (rs->editMode() == dao::Recordset::EditMode::None)
        rs->edit();
    rs->setField(field, value);
    impl_->fieldsWritten = true;
}

void DataControl::moveFirst()
{
    impl_->move(Action::MoveFirst);
}

void DataControl::movePrevious()
{
    impl_->move(Action::MovePrevious);
}

void DataControl::moveNext()
{
    impl_->move(Action::MoveNext);
}

void DataControl::moveLast()
{
    impl_->move(Action::MoveLast);
}

void DataControl::notifyReposition()
{
    Busy busy;
    impl_->raiseReposition();
}

} // namespace data
