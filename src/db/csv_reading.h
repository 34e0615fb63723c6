#pragma once
// Reading a CSV file as spreadsheet programs and other databases write it: RFC 4180 quoting
// (separators, quotes and line breaks inside a quoted field, a doubled quote for a quote), lines
// ended by CR LF, LF or CR, in UTF-8 (with or without a byte-order mark) or, when the bytes are
// not UTF-8, Windows-1252. The file is read in large pieces, one record at a time, so a file of
// any length takes time in proportion to its size and memory for one record.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <exception>

class QIODevice;

namespace db::csv {

enum class Encoding { Utf8, Windows1252 };

// Whether bytes fed piece by piece are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing beyond U+10FFFF); a sequence may be split between two pieces.
class Utf8Check {
public:
    void feed(const char* bytes, qsizetype size);
    bool valid(bool atEnd) const { return ok_ && (!atEnd || need_ == 0); }

private:
    bool ok_ = true;
    int need_ = 0;          // continuation bytes still expected
    unsigned lower_ = 0x80; // bounds of the next continuation byte (overlong and surrogate rules)
    unsigned upper_ = 0xBF;
};

// Reads the whole device once and decides: UTF-8 when every byte is, else Windows-1252. The
// device is put back at its start. Throws ReadError when it cannot be read.
Encoding detectEncoding(QIODevice& device);

// One field's bytes as text in the given encoding.
QString decode(const QByteArray& bytes, Encoding encoding);

struct Record {
    QStringList fields;
    std::int64_t line = 0;    // the file's line on which the record starts, from 1
    bool unclosedQuote = false;  // a quoted field ran to the end of the file
};

class ReadError : public std::exception {
public:
    explicit ReadError(QString reason) : reason_(std::move(reason)) {}
    const char* what() const noexcept override { return "CSV read error"; }
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

class Reader {
public:
    Reader(QIODevice& device, Encoding encoding);

    // The next record that holds anything but blanks; false at the end of the file. Throws
    // ReadError when the device fails.
    bool next(Record& record);
    // Bytes consumed so far, for a progress bar.
    std::int64_t position() const { return consumed_; }

private:
    bool fill();
    // One record, blank or not; false at the end.
    bool readRecord(Record& record);

    QIODevice& device_;
    Encoding encoding_;
    QByteArray buffer_;
    qsizetype at_ = 0;
    std::int64_t consumed_ = 0;
    std::int64_t line_ = 1;
    bool started_ = false;
    bool crAtPieceEnd_ = false;  // a CR ended the last piece inside a quoted field
    bool ended_ = false;
};

} // namespace db::csv
