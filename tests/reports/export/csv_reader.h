#pragma once
// A small, strict RFC 4180 reader for the tests: it takes back exactly what the standard allows
// (a UTF-8 byte-order mark first, CR LF line ends, quoted fields with doubled quotes) and refuses
// everything else, so a writer that bends a rule fails the round trip.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace csvtest {

struct Parsed {
    std::vector<QStringList> records;
    QString error;  // empty when the text is sound
};

inline Parsed readCsv(const QByteArray& bytes)
{
    Parsed out;
    if (!bytes.startsWith("\xEF\xBB\xBF")) {
        out.error = QStringLiteral("no byte-order mark");
        return out;
    }
    qsizetype i = 3;
    const qsizetype n = bytes.size();
    QStringList record;
    QByteArray field;
    auto fail = [&](const char* why) {
        out.error = QStringLiteral("%1 at byte %2").arg(QLatin1String(why)).arg(i);
        return out;
    };
    while (i < n) {
        field.clear();
        if (bytes[i] == '"') {
            ++i;
            for (;;) {
                if (i >= n)
                    return fail("unterminated quoted field");
                if (bytes[i] == '"') {
                    if (i + 1 < n && bytes[i + 1] == '"') {
                        field.append('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.append(bytes[i++]);
            }
        } else {
            while (i < n && bytes[i] != ',' && bytes[i] != '\r') {
                if (bytes[i] == '"' || bytes[i] == '\n')
                    return fail("quote or line feed in an unquoted field");
                field.append(bytes[i++]);
            }
        }
        const QString text = QString::fromUtf8(field);
        if (text.toUtf8() != field)
            return fail("not UTF-8");
        record << text;
        if (i < n && bytes[i] == ',') {
            ++i;
            if (i == n)
                return fail("a comma ends the text");
            continue;
        }
        if (i + 1 < n && bytes[i] == '\r' && bytes[i + 1] == '\n') {
            i += 2;
            out.records.push_back(record);
            record.clear();
            continue;
        }
        return fail("a field not followed by a comma or CR LF");
    }
    if (!record.isEmpty())
        return fail("the last line has no CR LF");
    return out;
}

} // namespace csvtest
