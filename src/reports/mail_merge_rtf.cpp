#include "reports/mail_merge_rtf.h"

#include "reports/rtf_text.h"

#include <array>

namespace reports {

namespace {

// The document up to the first data row: font, colour and style tables, the information group,
// the document settings and the table, whose header row names the columns a mail merge reads.
// Its last line opens the row definition every data row uses.
constexpr std::array<const char*, 11> kHeaderLines = {
    R"rtf({\rtf1\ansi\ansicpg1252\uc1 \deff0\deflang1033\deflangfe1033{\fonttbl{\f0\froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}{\f16\fnil\fcharset0\fprq2{\*\panose 00000000000000000000}Hancock;}{\f113\fnil\fcharset238\fprq2 Hancock CE;})rtf",
    R"rtf({\f117\fnil\fcharset162\fprq2 Hancock Tur;}}{\colortbl;\red0\green0\blue0;\red0\green0\blue255;\red0\green255\blue255;\red0\green255\blue0;\red255\green0\blue255;\red255\green0\blue0;\red255\green255\blue0;\red255\green255\blue255;\red0\green0\blue128;)rtf",
    R"rtf(\red0\green128\blue128;\red0\green128\blue0;\red128\green0\blue128;\red128\green0\blue0;\red128\green128\blue0;\red128\green128\blue128;\red192\green192\blue192;}{\stylesheet{\widctlpar\adjustright \cgrid \snext0 Normal;}{\*\cs10 \additive )rtf",
    R"rtf(Default Paragraph Font;}{\s15\li2880\widctlpar\phpg\posxc\posyb\absh-1980\absw7920\dxfrtext180\dfrmtxtx180\dfrmtxty0\adjustright \f16\fs32\cgrid \sbasedon0 \snext15 envelope address;}{\s16\widctlpar\adjustright \f16\fs32\cgrid \sbasedon0 \snext16 )rtf",
    R"rtf(envelope return;}}{\info{\title Title\'09}{\author XXXXXX XXXXXX}{\operator XXXXXX XXXXXX}{\creatim\yr2000\mo2\dy17\hr9\min11}{\revtim\yr2000\mo2\dy17\hr9\min11}{\version2}{\edmins0}{\nofpages2}{\nofwords260}{\nofchars1482}{\*\company  }{\nofcharsws1820})rtf",
    R"rtf({\vern113}}\widowctrl\ftnbj\aenddoc\noextrasprl\prcolbl\cvmme\sprsspbf\brkfrm\swpbdr\lytprtmet\hyphcaps0\fracwidth\viewkind4\viewscale100\pgbrdrhead\pgbrdrfoot \fet0\sectd \linex0\headery1080\footery1080\sectdefaultcl {\*\pnseclvl1)rtf",
    R"rtf(\pnucrm\pnstart1\pnindent720\pnhang{\pntxta .}}{\*\pnseclvl2\pnucltr\pnstart1\pnindent720\pnhang{\pntxta .}}{\*\pnseclvl3\pndec\pnstart1\pnindent720\pnhang{\pntxta .}}{\*\pnseclvl4\pnlcltr\pnstart1\pnindent720\pnhang{\pntxta )}}{\*\pnseclvl5)rtf",
    R"rtf(\pndec\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}}{\*\pnseclvl6\pnlcltr\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}}{\*\pnseclvl7\pnlcrm\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}}{\*\pnseclvl8\pnlcltr\pnstart1\pnindent720\pnhang)rtf",
    R"rtf({\pntxtb (}{\pntxta )}}{\*\pnseclvl9\pnlcrm\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}}\trowd \trgaph108\trleft-108\trhdr \clvertalt\cltxlrtb \cellx2790\clvertalt\cltxlrtb \cellx5040\clvertalt\cltxlrtb \cellx7110\clvertalt\cltxlrtb \cellx8060)rtf",
    R"rtf(\clvertalt\cltxlrtb \cellx9450\pard\plain \qc\widctlpar\intbl\adjustright \cgrid {\b Name\cell Address\cell City\cell State\cell ZipCode\cell }\pard \widctlpar\intbl\adjustright {\b \row }\trowd \trgaph108\trleft-108 \clvertalt\cltxlrtb \cellx2790)rtf",
    R"rtf(\clvertalt\cltxlrtb \cellx5040\clvertalt\cltxlrtb \cellx7110\clvertalt\cltxlrtb \cellx8060\clvertalt\cltxlrtb \cellx9450\pard \widctlpar\intbl\adjustright )rtf",
};

constexpr char kLineBreak[] = "\r\n";
constexpr char kCell[] = "\\cell ";
// The end of a data row; after the last row the paragraph leaves the table.
constexpr char kRowEnd[] = "\\cell }\\pard \\widctlpar\\intbl\\adjustright {\\row }\\pard \\widctlpar\\intbl\\adjustright ";
constexpr char kLastRowEnd[] = "\\cell }\\pard \\widctlpar\\intbl\\adjustright {\\row }\\pard \\widctlpar\\adjustright ";
// Without data rows the header's open row definition is left by a paragraph outside the table,
// so the file is still a table of its header row alone: a merge source with no records.
constexpr char kLeaveTable[] = "\\pard \\widctlpar\\adjustright ";
constexpr char kClosing[] = " {\\par }}";

} // namespace

QByteArray mailMergeRtf(const std::vector<MailMergeRow>& rows)
{
    QByteArray out;
    out.reserve(2600 + static_cast<qsizetype>(rows.size()) * 220);
    for (const char* line : kHeaderLines) {
        out += line;
        out += kLineBreak;
    }
    if (rows.empty()) {
        out += kLeaveTable;
        out += kLineBreak;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MailMergeRow& r = rows[i];
        out += kLineBreak;
        out += '{';
        out += rtfText(r.fullName);
        for (const QString* field : {&r.address, &r.city, &r.state, &r.postalCode}) {
            out += kCell;
            out += rtfText(*field);
        }
        out += i + 1 == rows.size() ? kLastRowEnd : kRowEnd;
        out += kLineBreak;
    }
    out += kClosing;
    return out;
}

} // namespace reports
