#pragma once
// The connect suffix "keyword=password" that every database file of the program is keyed with.
// It is kept scrambled in the binary so that the password does not show up in a strings dump.
#include <QString>
#include <stdexcept>

namespace db {

class DescrambleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The program's scrambled connect suffix; it has exactly the key's length.
extern const QString kScrambledConnect;

// Subtracts the program's key from the scrambled text position by position. Throws
// DescrambleError when the text is longer than the key, holds a character outside Latin-1, or a
// difference is not a character code (0..255). A text shorter than the key uses the key's
// leading characters only.
QString DescrambleConnect(const QString& scrambled);

// The part of a connect suffix after its first "=" ("" when there is none).
QString passwordOfConnect(const QString& connect);

// The database password every file is keyed with: the password of the descrambled constant.
QString databasePassword();

} // namespace db
