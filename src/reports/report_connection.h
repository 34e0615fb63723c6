#pragma once
// The report connection's text, kept as the program composes it. The reports read through the
// open database (ShapedRecordset and RecordsetRows over the main connection): nothing here opens
// a second connection; the text names the same file and its password.
#include <QString>

namespace reports {

QString ReportConnectionString(const QString& dbConnect, const QString& openDbPath);

} // namespace reports
