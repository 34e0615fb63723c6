#include "records/duplicate_member.h"

#include "platform/dao/database.h"
#include "platform/dao/statement_lease.h"

#include <QChar>
#include <QStringList>

namespace records {

QString foldForDuplicates(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out.append(c);
    return out.toCaseFolded();
}

namespace {

// Every letter that folds to the same base as `letter`: the collation already ignores letter
// case, so one form of each is enough. Accented letters sort far from their base letter, so
// each needs its own range of the index.
QStringList firstLetterForms(const QString& letter)
{
    const QString base = foldForDuplicates(letter);
    QStringList forms{base};
    const std::pair<char32_t, char32_t> blocks[] = {{0xC0, 0x24F}, {0x1E00, 0x1EFF}};
    for (const auto& [from, to] : blocks) {
        for (char32_t code = from; code <= to; ++code) {
            const QString form = QString::fromUcs4(&code, 1).toCaseFolded();
            if (form != base && foldForDuplicates(form) == base && !forms.contains(form))
                forms.append(form);
        }
    }
    return forms;
}

} // namespace

std::int64_t findSameMember(dao::Database& database, const QString& last, const QString& first, const QString& address)
{
    const QString lastName = last.normalized(QString::NormalizationForm_C);
    if (lastName.isEmpty())
        return -1;
    const QString wantLast = foldForDuplicates(lastName);
    const QString wantFirst = foldForDuplicates(first);
    const QString wantAddress = foldForDuplicates(address);
    const QString firstLetter = lastName.left(lastName.at(0).isHighSurrogate() ? 2 : 1);
    const char32_t top = 0x10FFFF;
    const QString above = QString::fromUcs4(&top, 1);

    // Index-only: the name index holds LastName, FirstName and the row number.
    dao::StatementLease names = database.lease(QStringLiteral(
        "SELECT rowid, LastName, FirstName FROM Members WHERE LastName >= ? AND LastName < ? AND length(LastName) = ?"));
    dao::StatementLease addressOf = database.lease(QStringLiteral("SELECT Address FROM Members WHERE rowid = ?"));
    for (const QString& form : firstLetterForms(firstLetter)) {
        names->reset();
        names->bind(1, form).bind(2, form + above).bind(3, static_cast<std::int64_t>(lastName.size()));
        while (names->step()) {
            if (foldForDuplicates(names->text(1)) != wantLast || foldForDuplicates(names->text(2)) != wantFirst)
                continue;
            const std::int64_t id = names->int64(0);
            addressOf->reset();
            addressOf->bind(1, id);
            if (addressOf->step() && foldForDuplicates(addressOf->text(0)) == wantAddress)
                return id;
        }
    }
    return -1;
}

} // namespace records
