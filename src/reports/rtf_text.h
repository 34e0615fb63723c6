#pragma once
// Plain text as the body text of an RTF document that declares code page 1252 and "\uc1", so
// that a reader shows exactly this text:
// - "\", "{" and "}" are escaped with a backslash;
// - a character of code page 1252 is its byte there (é is 0xE9, € is 0x80);
// - any other character is "\uN?": N its UTF-16 unit as a signed 16-bit number, "?" what a
//   reader that knows no Unicode shows instead (one character, as "\uc1" declares); a character
//   beyond the first plane is its two surrogates, a lone surrogate is U+FFFD;
// - a tab is "\tab ", a line break (CR LF, CR or LF) is "\line ", other control characters are
//   "\'hh", since a raw one would be dropped or taken for the file's own line ends.
// Text of printable ASCII without "\", "{", "}" stays as it is.
#include <QByteArray>
#include <QStringView>
#include <optional>

namespace reports {

QByteArray rtfText(QStringView text);

// The byte of a character in code page 1252; none for characters it does not have (its five
// unassigned bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D included).
std::optional<char> cp1252Byte(char16_t c);

// The character of a byte of code page 1252; U+FFFD for the five bytes it leaves unassigned.
char16_t cp1252Char(unsigned char byte);

} // namespace reports
