#include "filters/member_clause.h"

#include "platform/jet/translator.h"
#include "platform/vb/convert.h"
#include "platform/vb/value.h"

#include <stdexcept>

namespace filters {

namespace {

// The names the condition has always used, and the captions of the boxes, for the messages.
constexpr std::array<const char*, kMemberBoxes> kFields{
    "[MemberID]", "[Firstname]", "[Lastname]", "[Address]", "[City]", "[State]", "[PostalCode]", "[HomePhone]", "[Notes]",
};
constexpr std::array<const char*, kMemberBoxes> kBoxNames{
    "Member ID", "First Name", "Last Name", "Address", "City", "State", "Zip Code", "Home Phone", "Notes",
};

// The typed pattern with * and ? kept as wildcards; # and [ would be wildcards of the dialect
// too, but nobody typing "Apt #4" or "[draft]" means them so.
QString typedPattern(const QString& text)
{
    QString pattern;
    pattern.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'*' || c == u'?')
            pattern += c;
        else
            pattern += jet::likeLiteral(QStringView(text).mid(i, 1));
    }
    return pattern;
}

} // namespace

QString memberConditionField(int box)
{
    return QLatin1String(kFields.at(static_cast<std::size_t>(box)));
}

MemberCondition memberCondition(const std::array<QString, kMemberBoxes>& boxes)
{
    MemberCondition result;
    QString condition;
    for (int i = 0; i < kMemberBoxes; ++i) {
        const QString& text = boxes[static_cast<std::size_t>(i)];
        if (text.isEmpty())
            continue;
        const QString field = memberConditionField(i);
        if (text.contains(QChar(0))) {
            // The engine ends a text at this character: it can never be searched for.
            result.refusal = QStringLiteral("The %1 box holds a character that cannot be searched for.")
                                 .arg(QLatin1String(kBoxNames[static_cast<std::size_t>(i)]));
            return result;
        }
        if (i == 0) {
            double number = 0;
            try {
                number = vb::leadingNumber(text);
            } catch (const std::overflow_error&) {
                result.refusal = QStringLiteral("The Member ID is too large.");
                return result;
            }
            // Plain decimal: no exponent the dialect would have to read, no trailing zeros.
            condition += field + QStringLiteral(" = ") + vb::Value(number).toText() + QStringLiteral(" and ");
        } else {
            condition += field + QStringLiteral(" Like ") + jet::quoted(typedPattern(text)) + QStringLiteral(" and ");
        }
    }
    // Without its last "and ", the condition ends with the blank after its last clause.
    if (!condition.isEmpty())
        condition.chop(4);
    result.condition = condition;
    return result;
}

} // namespace filters
