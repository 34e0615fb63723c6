// Date reading: isDate and readDate never disagree, and every date read survives being written
// in the program's formats and read again.
#include "platform/vb/convert.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what, const QString& text)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s: \"%s\"\n", what, qUtf8Printable(text));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const std::optional<vb::DateTime> date = vb::readDate(text);
    require(vb::isDate(text) == date.has_value(), "isDate disagrees with readDate", text);
    require(vb::isDate(vb::Value(text)) == date.has_value(), "isDate(Value) disagrees with readDate", text);

    if (date) {
        require(date->isValid() && date->date().year() >= 100 && date->date().year() <= 9999,
                "readDate gave a date out of range", text);
        const std::optional<vb::DateTime> fromShort = vb::readDate(vb::shortDate(*date));
        require(fromShort && fromShort->date() == date->date() && !fromShort->hasTime(),
                "short date does not read back", text);
        require(vb::readDate(vb::generalDate(*date)) == date, "general date does not read back", text);
        const std::optional<vb::DateTime> fromLong = vb::readDate(vb::longDate(*date));
        require(fromLong && fromLong->date() == date->date(), "long date does not read back", text);
        require(vb::DateTime::fromIso(date->toIso()) == date, "ISO form does not read back", text);
        require(vb::Value(text).toDate() == *date, "Value::toDate differs from readDate", text);
        require(vb::format(vb::Value(text), u"short date") == vb::shortDate(*date),
                "format of a date text differs", text);
    }

    // Typed dates start at the year 100; stored ones may be older.
    const std::optional<vb::DateTime> iso = vb::DateTime::fromIso(text);
    if (iso && iso->date().year() >= 100)
        require(date == iso, "readDate does not read an ISO text as fromIso does", text);
    return 0;
}
