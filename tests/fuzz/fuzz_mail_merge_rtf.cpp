// The mail-merge file for any rows: a well-formed RTF document whose table an independent reader
// (tests/support/rtf_reader.h) reads back as the header row and exactly the stored texts, cell by
// cell; its header is always the same eleven lines, its line ends CR LF, no byte is one that
// code page 1252 leaves unassigned; and rows whose texts need no escaping give the classic file,
// the fields written as they are.
#include "fuzz_support.h"
#include "reports/mail_merge_rtf.h"
#include "reports/rtf_text.h"
#include "support/rtf_reader.h"

#include <QStringList>

namespace {

// Printable ASCII without the three characters RTF reserves, and the printable characters of
// code page 1252 beyond it: what the classic file wrote as it was.
bool plain(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}' || u < 0x20 || u == 0x7F || QChar::isSurrogate(u) || !reports::cp1252Byte(u))
            return false;
    }
    return true;
}

QByteArray classic(const std::vector<reports::MailMergeRow>& rows, const QByteArray& header)
{
    QByteArray out = header;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const reports::MailMergeRow& r = rows[i];
        out += "\r\n{";
        bool first = true;
        for (const QString* field : {&r.fullName, &r.address, &r.city, &r.state, &r.postalCode}) {
            if (!first)
                out += "\\cell ";
            first = false;
            for (QChar c : *field)
                out += *reports::cp1252Byte(c.unicode());
        }
        out += i + 1 == rows.size() ? "\\cell }\\pard \\widctlpar\\intbl\\adjustright {\\row }\\pard \\widctlpar\\adjustright "
                                    : "\\cell }\\pard \\widctlpar\\intbl\\adjustright {\\row }\\pard \\widctlpar\\intbl\\adjustright ";
        out += "\r\n";
    }
    return out + " {\\par }}";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QByteArray header = [] {
        const QByteArray empty = reports::mailMergeRtf({});
        qsizetype at = 0;
        for (int line = 0; line < 11; ++line)
            at = empty.indexOf("\r\n", at) + 2;
        return empty.left(at);
    }();
    FuzzedDataProvider in(data, size);
    std::vector<reports::MailMergeRow> rows(in.ConsumeIntegralInRange<std::size_t>(0, 6));
    bool allPlain = true;
    for (reports::MailMergeRow& r : rows) {
        r = {fuzzing::text(in), fuzzing::text(in), fuzzing::text(in), fuzzing::text(in), fuzzing::text(in)};
        for (const QString* f : {&r.fullName, &r.address, &r.city, &r.state, &r.postalCode})
            allPlain = allPlain && plain(*f);
    }
    const QByteArray rtf = reports::mailMergeRtf(rows);
    const QString shown = QString::fromLatin1(rtf.toPercentEncoding(" {}\\"));

    fuzzing::require(rtf.startsWith(header), "the header lines changed", shown);
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const auto byte = static_cast<unsigned char>(rtf[i]);
        if (byte == '\n')
            fuzzing::require(i > 0 && rtf[i - 1] == '\r', "a bare line feed", shown);
        if (byte == '\r')
            fuzzing::require(i + 1 < rtf.size() && rtf[i + 1] == '\n', "a bare carriage return", shown);
        fuzzing::require(reports::cp1252Char(byte) != 0xFFFD, "a byte unassigned in code page 1252", shown);
    }

    const quiltest::RtfTable table = quiltest::readRtfTable(rtf);
    fuzzing::require(table.error.isEmpty(), "not well-formed RTF", table.error + u'\n' + shown);
    fuzzing::require(table.rows.size() == rows.size() + 1, "another number of rows", shown);
    const QStringList names{"Name", "Address", "City", "State", "ZipCode"};
    for (int c = 0; c < 5; ++c)
        fuzzing::require(table.rows[0].size() == 5 && table.rows[0][static_cast<std::size_t>(c)] == names[c], "the header row", shown);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const reports::MailMergeRow& r = rows[i];
        const QString fields[] = {r.fullName, r.address, r.city, r.state, r.postalCode};
        const std::vector<QString>& cells = table.rows[i + 1];
        fuzzing::require(cells.size() == 5, "a row without five cells", shown);
        for (std::size_t c = 0; c < 5; ++c)
            if (cells[c] != quiltest::shownRtfText(fields[c]))
                fuzzing::broken("a cell reads back otherwise", fields[c] + QStringLiteral(" -> ") + cells[c]);
    }
    if (allPlain && !rows.empty())  // without rows the table is closed, where the classic file left it open
        fuzzing::require(rtf == classic(rows, header), "texts without escapes differ from the classic file", shown);
    return 0;
}
