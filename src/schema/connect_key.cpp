#include "schema/connect_key.h"

#include <cstdint>

namespace db {

namespace {

// Any ten characters do, as long as adding them to the connect suffix keeps every code within
// Latin-1; changing the key or the constant alone locks the program out of its own files.
constexpr char kKey[] = "Mq3!vK9x@e";
constexpr int kKeyLength = sizeof kKey - 1;

} // namespace

// "pwd=Qz8tWm" plus the key, character by character.
const QString kScrambledConnect = QString::fromLatin1("\xBD\xE8\x97^\xC7\xC5q\xEC\x97\xD2", kKeyLength);

QString DescrambleConnect(const QString& scrambled)
{
    if (scrambled.size() > kKeyLength)
        throw DescrambleError("The scrambled connect text is longer than the key.");
    QString result;
    result.reserve(scrambled.size());
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        const char16_t a = scrambled.at(i).unicode();
        if (a > 255)
            throw DescrambleError("The scrambled connect text holds a character outside Latin-1.");
        const auto b = static_cast<unsigned char>(kKey[i]);
        const std::int16_t d = static_cast<std::int16_t>(a - b);
        if (d < 0 || d > 255)
            throw DescrambleError("The scrambled connect text does not give a character code.");
        result.append(QChar(static_cast<char16_t>(d)));
    }
    return result;
}

QString passwordOfConnect(const QString& connect)
{
    const qsizetype equals = connect.indexOf(QLatin1Char('='));
    return equals < 0 ? QString() : connect.mid(equals + 1);
}

QString databasePassword()
{
    return passwordOfConnect(DescrambleConnect(kScrambledConnect));
}

} // namespace db
