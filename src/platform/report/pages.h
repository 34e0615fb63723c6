#pragma once
// Pages to show, print or write as PDF: what the preview and the renderers need of a report.
// A banded Report is one kind; a run whose pages the bands cannot describe (a letter per donor,
// each with its own page count) lays out its pages itself and hands them over the same way.
#include "page.h"

#include <QSize>
#include <QString>

namespace report {

class Pages {
public:
    virtual ~Pages();
    virtual QString name() const = 0;     // the preview's objectName ("ListRPT")
    virtual QString caption() const = 0;  // the print job's name
    virtual QSize paper() const = 0;      // twips
    virtual int pageCount() const = 0;
    // Page `number` (1..pageCount()).
    virtual Page page(int number) const = 0;
};

} // namespace report
