// The book as an OpenDocument text (ODT) that LibreOffice Writer opens as pages like the PDF's:
// A4 portrait with the PDF's margins, the title and "依据：1999年版《容规》" in the running header,
// "第 N 页 共 M 页" from page fields in the footer, the CJK face named for Asian text, and the
// tables with their borders. The content is the book's own HTML, set by Qt's text engine and
// written out paragraph by paragraph and table by table.
#pragma once

#include <QByteArray>
#include <QString>

namespace ventora::book {

// The whole .odt file (a zip with mimetype first, stored) of the book `html`; empty when the zip
// could not be made.
QByteArray odt_of(const QString& html);

}  // namespace ventora::book
