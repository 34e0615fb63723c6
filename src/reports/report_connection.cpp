#include "reports/report_connection.h"

namespace reports {

QString ReportConnectionString(const QString& dbConnect, const QString& openDbPath)
{
    return QStringLiteral("SHAPE Provider=MSDASQL;Password=") + dbConnect
           + QStringLiteral(";Persist Security Info=True;User ID=admin;Extended Properties=;DBQ=") + openDbPath
           + QStringLiteral(";Driver={Microsoft Access Driver (*.mdb)};DriverId=281;FIL=MS Access;MaxBufferSize=2048;"
                            "MaxScanRows=8;PageTimeout=5;PWD=")
           + dbConnect + QStringLiteral(";SafeTransactions=0;Threads=3;UID=admin;UserCommitSync=Yes;");
}

} // namespace reports
