#pragma once
// The one error type of the data layer: every failure of the engine, the dialect translator or a
// record set carries a number and a description in the style of the classic engine, so that the
// program's handlers can show them and tests can tell failures apart.
#include <QString>
#include <stdexcept>

namespace jet {

namespace err {
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int NoCurrentRecord = 3021;
constexpr int UpdateWithoutEdit = 3020;
constexpr int FileNotFound = 3024;
constexpr int ReadOnlyDatabase = 3027;
constexpr int NotValidPassword = 3031;
constexpr int CannotOpenFile = 3051;
constexpr int FieldNotFoundInCriteria = 3070;
constexpr int SyntaxErrorInExpression = 3075;
constexpr int TableNotFound = 3078;
constexpr int TooFewParameters = 3061;
constexpr int SyntaxErrorInFrom = 3131;
constexpr int SyntaxErrorInQuery = 3141;
constexpr int FieldTooSmall = 3163;
constexpr int RecordDeleted = 3167;
constexpr int ItemNotFound = 3265;
constexpr int NotUpdatable = 3326;
constexpr int UnrecognizedFormat = 3343;
constexpr int DataTypeConversion = 3421;
constexpr int DataTypeMismatchInCriteria = 3464;
constexpr int DiskOrNetworkError = 3043;
constexpr int DatabaseCorrupt = 3049;
constexpr int NotQuilDatabase = 3800;  // our own: a database that lacks the program's tables
constexpr int NewerFileFormat = 3801;  // our own: a file of a later format than the program reads
constexpr int EngineError = 3000;      // anything the engine reports that has no closer number
} // namespace err

class DbError : public std::runtime_error {
public:
    DbError(int number, QString description)
        : std::runtime_error(description.toStdString()), number_(number), description_(std::move(description)) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }
    // How a message tells the user why: the description and the number, "... (error 3043)".
    QString reason() const { return QStringLiteral("%1 (error %2)").arg(description_).arg(number_); }

private:
    int number_;
    QString description_;
};

// Why a failure happened, in a message's words: a database error's reason, else the text of
// any other exception.
inline QString reasonOf(const std::exception& e)
{
    const auto* db = dynamic_cast<const DbError*>(&e);
    return db ? db->reason() : QString::fromLocal8Bit(e.what());
}

// Whether a failure is a total that cannot be computed (jet_sum: beyond the range, or over a
// value that is no number), which the program shows as "Not Available" rather than as an error.
inline bool isUncomputableTotal(const std::exception& e)
{
    const auto* db = dynamic_cast<const DbError*>(&e);
    return db && (db->number() == err::Overflow || db->number() == err::TypeMismatch);
}

} // namespace jet
