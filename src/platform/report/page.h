#pragma once
// The page model: what one page of a report shows, as positioned items with their final texts.
// The painter draws it to the preview, a printer or a PDF; tests read it as text.
#include "layout.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <memory>
#include <vector>

namespace report {

enum class ItemKind { Text, Line, Box, Image };

struct Item {
    ItemKind kind = ItemKind::Text;
    QRect rect;                        // twips from the paper's top left corner
    QString text;                      // Text: the caption, value or total as shown
    const Section* section = nullptr;  // the section and control it comes from: font,
    const Control* control = nullptr;  // alignment, picture, name
};

struct Page {
    int number = 0;  // from 1
    int count = 0;   // pages in the report
    QSize paper;     // twips
    std::vector<Item> items;
    std::shared_ptr<const Layout> layout;  // owns the sections and controls the items point to
};

// The page as readable text, one line per item: position, size, kind, section and control, text.
// Tests compare it with golden files, so a change of the layout shows as a plain diff.
QString describe(const Page& page);

} // namespace report
