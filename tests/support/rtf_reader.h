#pragma once
// A small, strict reader of the RTF the program writes: it checks that the document is well
// formed (one group from "{\rtf1" to the last byte, braces balanced, control words and symbols
// as RTF spells them, no raw control bytes in the text) and gives the text of every table cell,
// row by row, as a word processor would show it: escapes undone, code page 1252 bytes and
// "\uN" read (with the fallback characters "\ucN" declares skipped), "\tab" and "\line" as a tab
// and a line feed. The groups that hold no body text (font, colour and style tables, the
// information group, "\*" destinations) are skipped.
//
// Header-only and Qt Core only, so that the fuzzers can use it as well as the tests.
#include "reports/rtf_text.h"

#include <QByteArray>
#include <QString>
#include <cstdlib>
#include <vector>

namespace quiltest {

struct RtfTable {
    std::vector<std::vector<QString>> rows;
    QString error;  // "" when the document is well formed
};

inline RtfTable readRtfTable(const QByteArray& rtf)
{
    RtfTable table;
    struct Group {
        int unicodeSkip = 1;
        bool skipped = false;
    };
    std::vector<Group> groups;
    std::vector<QString> row;
    QString text;
    int pendingSkip = 0;  // fallback characters still to skip after a "\u"
    const qsizetype n = rtf.size();

    const auto fail = [&](qsizetype at, const QString& why) {
        table.error = QStringLiteral("at byte %1: %2").arg(at).arg(why);
        return table;
    };
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto hexValue = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    // One character of body text (or of a fallback to be skipped).
    const auto put = [&](QChar c) {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (!groups.back().skipped)
            text += c;
    };

    if (!rtf.startsWith("{\\rtf1"))
        return fail(0, QStringLiteral("the document does not begin with {\\rtf1"));
    qsizetype i = 0;
    while (i < n) {
        const char c = rtf[i];
        if (c == '{') {
            groups.push_back(groups.empty() ? Group{} : groups.back());
            pendingSkip = 0;
            ++i;
            continue;
        }
        if (c == '}') {
            if (groups.empty())
                return fail(i, QStringLiteral("a closing brace without its group"));
            groups.pop_back();
            pendingSkip = 0;
            ++i;
            if (groups.empty() && i != n)
                return fail(i, QStringLiteral("text after the document's end"));
            continue;
        }
        if (groups.empty())
            return fail(i, QStringLiteral("text outside the document's group"));
        if (c == '\r' || c == '\n') {
            ++i;  // line ends in the file are not text
            continue;
        }
        if (c != '\\') {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F)
                return fail(i, QStringLiteral("a raw control byte 0x%1").arg(byte, 2, 16, QLatin1Char('0')));
            put(QChar(reports::cp1252Char(byte)));
            ++i;
            continue;
        }
        // A control word or symbol.
        if (i + 1 >= n)
            return fail(i, QStringLiteral("a backslash at the end"));
        const char s = rtf[i + 1];
        if (!isLetter(s)) {
            switch (s) {
            case '\\':
            case '{':
            case '}': put(QChar::fromLatin1(s)); i += 2; continue;
            case '\'': {
                const int hi = i + 3 < n ? hexValue(rtf[i + 2]) : -1;
                const int lo = i + 3 < n ? hexValue(rtf[i + 3]) : -1;
                if (hi < 0 || lo < 0)
                    return fail(i, QStringLiteral("\\' without two hexadecimal digits"));
                put(QChar(reports::cp1252Char(static_cast<unsigned char>(hi * 16 + lo))));
                i += 4;
                continue;
            }
            case '*': groups.back().skipped = true; i += 2; continue;
            case '~': put(QChar(0x00A0)); i += 2; continue;
            default: return fail(i, QStringLiteral("an unknown control symbol \\%1").arg(QChar::fromLatin1(s)));
            }
        }
        qsizetype j = i + 1;
        while (j < n && isLetter(rtf[j]))
            ++j;
        const QByteArray word = rtf.mid(i + 1, j - i - 1);
        if (word.size() > 32)
            return fail(i, QStringLiteral("a control word longer than 32 letters"));
        bool hasParameter = false;
        long parameter = 0;
        const qsizetype numberStart = j;
        if (j < n && rtf[j] == '-')
            ++j;
        while (j < n && isDigit(rtf[j]))
            ++j;
        if (j > numberStart) {
            const QByteArray digits = rtf.mid(numberStart, j - numberStart);
            if (digits == "-")
                return fail(i, QStringLiteral("a minus sign without a number after \\%1").arg(QString::fromLatin1(word)));
            if (digits.size() > 11)
                return fail(i, QStringLiteral("a parameter too long after \\%1").arg(QString::fromLatin1(word)));
            hasParameter = true;
            parameter = std::strtol(digits.constData(), nullptr, 10);
        }
        if (j < n && rtf[j] == ' ')
            ++j;  // the delimiter belongs to the control word
        i = j;

        if (pendingSkip > 0 && word != "u") {
            // A control word in place of a fallback character counts as one.
            --pendingSkip;
            continue;
        }
        if (word == "u") {
            if (!hasParameter || parameter < -32768 || parameter > 65535)
                return fail(i, QStringLiteral("\\u without a 16-bit number"));
            pendingSkip = 0;
            put(QChar(static_cast<char16_t>(parameter & 0xFFFF)));
            pendingSkip = groups.back().unicodeSkip;
        } else if (word == "uc") {
            if (!hasParameter || parameter < 0 || parameter > 8)
                return fail(i, QStringLiteral("\\uc without a small number"));
            groups.back().unicodeSkip = static_cast<int>(parameter);
        } else if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info") {
            groups.back().skipped = true;
        } else if (word == "tab") {
            put(u'\t');
        } else if (word == "line" || word == "par") {
            put(u'\n');
        } else if (word == "cell") {
            row.push_back(text);
            text.clear();
        } else if (word == "row") {
            if (!text.isEmpty())
                return fail(i, QStringLiteral("text after the last cell of a row"));
            table.rows.push_back(row);
            row.clear();
        }
    }
    if (!groups.empty())
        return fail(n, QStringLiteral("%1 group(s) not closed").arg(groups.size()));
    if (!row.empty())
        return fail(n, QStringLiteral("cells without their row end"));
    return table;
}

// The text a reader shows for a stored text: line breaks as line feeds, a lone surrogate as
// U+FFFD, as rtfText writes them.
inline QString shownRtfText(const QString& stored)
{
    QString out;
    out.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const QChar c = stored[i];
        if (c == u'\r') {
            if (i + 1 < stored.size() && stored[i + 1] == u'\n')
                ++i;
            out += u'\n';
        } else if (c.isHighSurrogate() && i + 1 < stored.size() && stored[i + 1].isLowSurrogate()) {
            out += c;
            out += stored[++i];
        } else if (c.isSurrogate()) {
            out += QChar(0xFFFD);
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace quiltest
