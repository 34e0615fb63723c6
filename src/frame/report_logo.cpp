#include "frame/report_logo.h"

#include "frame/main_state.h"
#include "schema/template.h"

#include <QImageReader>

QString ReportLogoPath(const MainState& S)
{
    const QString defaultLogo = QLatin1String(db::templ::OrgLogo);
    return S.OrgLogo == defaultLogo ? S.AppDir + defaultLogo : S.OrgLogo;
}

QImage ReportLogo(const MainState& S)
{
    if (S.OrgLogo.size() <= 1)
        return {};
    QImageReader reader(ReportLogoPath(S));
    return reader.read();
}
