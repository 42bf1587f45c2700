#include "book/book_odt.h"

#include <QBuffer>
#include <private/qzipwriter_p.h>

#include <QDateTime>
#include <QFont>
#include <QMap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <list>

#include "book/book.h"

namespace ventora::book {
namespace {

// The PDF's page: A4 with 20 mm at the sides and 12 mm at top and bottom, a 12 mm header band
// and a 10 mm footer band inside them.
constexpr double body_width_cm = 17.0;
constexpr double base_points = 10.5;
// Qt keeps HTML margins in pixels of the device it lays out on; on the PDF's pages a pixel of
// margin comes out at about half a point.
constexpr double pixel_points = 0.5;

QString x(const QString& s) { return s.toHtmlEscaped(); }

QString pt(double points) { return QString::number(points, 'f', 1) + QStringLiteral("pt"); }

// Automatic styles, one per distinct set of properties, named in order of first use.
class style_set {
public:
    style_set(QString family, QString prefix) : family_(std::move(family)), prefix_(std::move(prefix)) {}

    QString name(const QString& properties) {
        auto it = names_.find(properties);
        if (it != names_.end()) return *it;
        const QString n = prefix_ + QString::number(names_.size() + 1);
        names_.insert(properties, n);
        order_.append({n, properties});
        return n;
    }
    QString xml() const {
        QString out;
        for (const auto& [n, properties] : order_)
            out += QStringLiteral("<style:style style:name=\"%1\" style:family=\"%2\"%3</style:style>")
                       .arg(n, family_, properties);
        return out;
    }

private:
    QString family_, prefix_;
    QMap<QString, QString> names_;
    QList<std::pair<QString, QString>> order_;
};

class content_writer {
public:
    QString body;

    void frame(QTextFrame* f) {
        for (auto it = f->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame()) {
                if (auto* t = qobject_cast<QTextTable*>(child)) table(t);
                else frame(child);
            } else if (it.currentBlock().isValid()) {
                block(it.currentBlock(), body, true);
            }
        }
    }

    QString automatic_styles() const {
        return tables_.xml() + columns_.xml() + cells_.xml() + paragraphs_.xml() + texts_.xml();
    }

private:
    // `flowing`: a paragraph of the body, whose space above meets the space below the one before
    // it; Qt sets the larger of the two, Writer their sum, so the sum is made the larger.
    void block(const QTextBlock& b, QString& out, bool flowing = false) {
        const QTextBlockFormat f = b.blockFormat();
        double top = f.topMargin() * pixel_points;
        const double bottom = f.bottomMargin() * pixel_points;
        if (flowing) {
            top = std::max(0.0, top - previous_bottom_);
            previous_bottom_ = bottom;
        }
        QString paragraph;
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            paragraph += QStringLiteral(" fo:break-before=\"page\"");
        if (f.alignment() & Qt::AlignHCenter) paragraph += QStringLiteral(" fo:text-align=\"center\"");
        else if (f.alignment() & Qt::AlignRight) paragraph += QStringLiteral(" fo:text-align=\"end\"");
        paragraph += QStringLiteral(" fo:margin-left=\"%1\" fo:margin-top=\"%2\" fo:margin-bottom=\"%3\"")
                         .arg(pt(f.leftMargin() * pixel_points), pt(top), pt(bottom));
        // A heading stays with what follows it, in the size Qt gives <h1> and <h2>.
        QString heading_text;
        if (f.headingLevel() > 0) {
            paragraph += QStringLiteral(" fo:keep-with-next=\"always\"");
            const double size = f.headingLevel() == 1 ? 18 : f.headingLevel() == 2 ? 15 : 12;
            heading_text = QStringLiteral("<style:text-properties fo:font-size=\"%1\" "
                                          "style:font-size-asian=\"%1\"/>").arg(pt(size));
        }
        const QString p_style = paragraphs_.name(
            QStringLiteral(" style:parent-style-name=\"Standard\"><style:paragraph-properties%1/>%2")
                .arg(paragraph, heading_text));
        const QString tag = f.headingLevel() > 0 ? QStringLiteral("text:h") : QStringLiteral("text:p");
        out += QStringLiteral("<%1 text:style-name=\"%2\"").arg(tag, p_style);
        if (f.headingLevel() > 0) out += QStringLiteral(" text:outline-level=\"%1\"").arg(f.headingLevel());
        out += '>';
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            const QString t = text(fragment.text());
            const QString s = span_style(fragment.charFormat());
            if (s.isEmpty()) out += t;
            else out += QStringLiteral("<text:span text:style-name=\"%1\">%2</text:span>").arg(s, t);
        }
        out += QStringLiteral("</%1>").arg(tag);
    }

    // A fragment's character properties as a text style; empty for plain body text.
    QString span_style(const QTextCharFormat& f) {
        QString props;
        if (f.fontWeight() >= QFont::Bold)
            props += QStringLiteral(" fo:font-weight=\"bold\" style:font-weight-asian=\"bold\"");
        if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            props += QStringLiteral(" style:text-position=\"sub 58%\"");
        else if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            props += QStringLiteral(" style:text-position=\"super 58%\"");
        double size = 0;
        if (f.hasProperty(QTextFormat::FontPointSize)) size = f.fontPointSize();
        else if (f.hasProperty(QTextFormat::FontSizeAdjustment)) {
            static const QMap<int, double> adjusted = {{-2, 7.5}, {-1, 9}, {1, 12}, {2, 14}, {3, 18}, {4, 24}};
            size = adjusted.value(f.intProperty(QTextFormat::FontSizeAdjustment), 0);
        }
        if (size > 0 && size != base_points)
            props += QStringLiteral(" fo:font-size=\"%1\" style:font-size-asian=\"%1\"").arg(pt(size));
        if (props.isEmpty()) return {};
        return texts_.name(QStringLiteral("><style:text-properties%1/>").arg(props));
    }

    static QString text(const QString& s) {
        QString out;
        int spaces = 0;
        auto flush_spaces = [&] {
            if (spaces == 1) out += ' ';
            else if (spaces > 1) out += QStringLiteral(" <text:s text:c=\"%1\"/>").arg(spaces - 1);
            spaces = 0;
        };
        for (const QChar c : s) {
            if (c == ' ') {
                ++spaces;
                continue;
            }
            flush_spaces();
            if (c == QChar::LineSeparator) out += QStringLiteral("<text:line-break/>");
            else if (c == QChar::Nbsp) out += QStringLiteral("<text:s/>");
            else if (c == '\t') out += QStringLiteral("<text:tab/>");
            else out += x(QString(c));
        }
        flush_spaces();
        return out;
    }

    void table(QTextTable* t) {
        const int rows = t->rows(), columns = t->columns();
        const QString name = QStringLiteral("Table%1").arg(++table_count_);
        const QString t_style = tables_.name(
            QStringLiteral("><style:table-properties style:width=\"%1cm\" table:align=\"margins\" "
                           "fo:margin-top=\"3pt\" fo:margin-bottom=\"3pt\"/>")
                .arg(body_width_cm));
        body += QStringLiteral("<table:table table:name=\"%1\" table:style-name=\"%2\">").arg(name, t_style);
        // Column widths as the HTML gave them (width="18%"); the rest share what is left.
        const QList<QTextLength> widths = t->format().columnWidthConstraints();
        double given = 0;
        int free = 0;
        for (int c = 0; c < columns; ++c) {
            if (c < widths.size() && widths[c].type() == QTextLength::PercentageLength) given += widths[c].rawValue();
            else ++free;
        }
        for (int c = 0; c < columns; ++c) {
            const double percent = c < widths.size() && widths[c].type() == QTextLength::PercentageLength
                                       ? widths[c].rawValue()
                                       : (free ? std::max(0.0, 100.0 - given) / free : 0);
            const QString c_style = columns_.name(
                QStringLiteral("><style:table-column-properties style:column-width=\"%1cm\" "
                               "style:rel-column-width=\"%2*\"/>")
                    .arg(body_width_cm * percent / 100, 0, 'f', 3)
                    .arg(qRound(percent * 100)));
            body += QStringLiteral("<table:table-column table:style-name=\"%1\"/>").arg(c_style);
        }
        // The first row holds the captions when it is set as a heading (shaded): it repeats on
        // every page the table runs onto.
        bool heading = false;
        for (int r = 0; r < rows; ++r) {
            const QTextTableCell first = t->cellAt(r, 0);
            const bool shaded = first.format().background().style() != Qt::NoBrush;
            if (r == 0 && shaded) {
                heading = true;
                body += QStringLiteral("<table:table-header-rows>");
            }
            body += QStringLiteral("<table:table-row>");
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() != r || cell.column() != c) {
                    body += QStringLiteral("<table:covered-table-cell/>");
                    continue;
                }
                QString props = QStringLiteral(
                    " fo:border=\"0.5pt solid #000000\" fo:padding=\"0.07cm\" style:vertical-align=\"middle\"");
                const QBrush bg = cell.format().background();
                if (bg.style() != Qt::NoBrush)
                    props += QStringLiteral(" fo:background-color=\"%1\"").arg(bg.color().name());
                const QString cell_style =
                    cells_.name(QStringLiteral("><style:table-cell-properties%1/>").arg(props));
                body += QStringLiteral("<table:table-cell table:style-name=\"%1\" office:value-type=\"string\"")
                            .arg(cell_style);
                if (cell.columnSpan() > 1)
                    body += QStringLiteral(" table:number-columns-spanned=\"%1\"").arg(cell.columnSpan());
                if (cell.rowSpan() > 1)
                    body += QStringLiteral(" table:number-rows-spanned=\"%1\"").arg(cell.rowSpan());
                body += '>';
                for (auto it = cell.begin(); !it.atEnd(); ++it)
                    if (it.currentBlock().isValid()) block(it.currentBlock(), body);
                body += QStringLiteral("</table:table-cell>");
            }
            body += QStringLiteral("</table:table-row>");
            if (r == 0 && heading) body += QStringLiteral("</table:table-header-rows>");
        }
        body += QStringLiteral("</table:table>");
        previous_bottom_ = 3;
    }

    style_set paragraphs_{QStringLiteral("paragraph"), QStringLiteral("P")};
    style_set texts_{QStringLiteral("text"), QStringLiteral("T")};
    style_set tables_{QStringLiteral("table"), QStringLiteral("Tab")};
    style_set columns_{QStringLiteral("table-column"), QStringLiteral("Col")};
    style_set cells_{QStringLiteral("table-cell"), QStringLiteral("Cell")};
    int table_count_ = 0;
    double previous_bottom_ = 0;
};

const char* const namespaces =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
    " xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
    " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
    " office:version=\"1.3\"";

QString font_faces() {
    return QStringLiteral(
               "<office:font-face-decls><style:font-face style:name=\"%1\" svg:font-family=\"'%1'\" "
               "style:font-family-generic=\"swiss\" style:font-pitch=\"variable\"/>"
               "</office:font-face-decls>")
        .arg(x(book_face));
}

QString content_xml(const QString& html) {
    QTextDocument doc;
    QFont font(book_face);
    font.setPointSizeF(base_points);
    doc.setDefaultFont(font);
    doc.setHtml(html);
    content_writer w;
    w.frame(doc.rootFrame());
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content%1>")
               .arg(QLatin1String(namespaces)) +
           font_faces() + QStringLiteral("<office:automatic-styles>") + w.automatic_styles() +
           QStringLiteral("</office:automatic-styles><office:body><office:text>") + w.body +
           QStringLiteral("</office:text></office:body></office:document-content>");
}

QString styles_xml() {
    const QString text_props =
        QStringLiteral("<style:text-properties style:font-name=\"%1\" fo:font-size=\"%2\" "
                       "style:font-name-asian=\"%1\" style:font-size-asian=\"%2\" "
                       "style:font-name-complex=\"%1\" style:font-size-complex=\"%2\" "
                       "fo:language=\"zh\" fo:country=\"CN\" style:language-asian=\"zh\" "
                       "style:country-asian=\"CN\"/>")
            .arg(x(book_face), pt(base_points));
    const QString small_props =
        QStringLiteral("<style:text-properties fo:font-size=\"9pt\" style:font-size-asian=\"9pt\" "
                       "style:font-size-complex=\"9pt\"/>");
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-styles%1>")
               .arg(QLatin1String(namespaces)) +
           font_faces() +
           QStringLiteral("<office:styles><style:default-style style:family=\"paragraph\">"
                          "<style:paragraph-properties fo:line-height=\"100%\"/>") +
           text_props +
           QStringLiteral("</style:default-style>"
                          "<style:style style:name=\"Standard\" style:family=\"paragraph\" "
                          "style:class=\"text\"/>"
                          "<style:style style:name=\"Header\" style:family=\"paragraph\" "
                          "style:parent-style-name=\"Standard\" style:class=\"extra\">"
                          "<style:paragraph-properties fo:border-bottom=\"0.5pt solid #000000\" "
                          "fo:padding-bottom=\"2pt\"><style:tab-stops><style:tab-stop "
                          "style:position=\"%1cm\" style:type=\"right\"/></style:tab-stops>"
                          "</style:paragraph-properties>")
               .arg(body_width_cm) +
           small_props +
           QStringLiteral("</style:style><style:style style:name=\"Footer\" style:family=\"paragraph\" "
                          "style:parent-style-name=\"Standard\" style:class=\"extra\">"
                          "<style:paragraph-properties fo:text-align=\"center\"/>") +
           small_props +
           QStringLiteral("</style:style></office:styles><office:automatic-styles>"
                          "<style:page-layout style:name=\"A4\"><style:page-layout-properties "
                          "fo:page-width=\"21cm\" fo:page-height=\"29.7cm\" style:print-orientation=\"portrait\" "
                          "fo:margin-top=\"1.2cm\" fo:margin-bottom=\"1.2cm\" fo:margin-left=\"2cm\" "
                          "fo:margin-right=\"2cm\"/><style:header-style><style:header-footer-properties "
                          "fo:min-height=\"0.9cm\" fo:margin-bottom=\"0.3cm\"/></style:header-style>"
                          "<style:footer-style><style:header-footer-properties fo:min-height=\"0.6cm\" "
                          "fo:margin-top=\"0.4cm\"/></style:footer-style></style:page-layout>"
                          "</office:automatic-styles><office:master-styles>"
                          "<style:master-page style:name=\"Standard\" style:page-layout-name=\"A4\">"
                          "<style:header><text:p text:style-name=\"Header\">%1<text:tab/>%2</text:p>"
                          "</style:header><style:footer><text:p text:style-name=\"Footer\">第 "
                          "<text:page-number text:select-page=\"current\">1</text:page-number> 页 共 "
                          "<text:page-count>1</text:page-count> 页</text:p></style:footer>"
                          "</style:master-page></office:master-styles></office:document-styles>")
               .arg(x(book_title), x(book_basis));
}

QString meta_xml() {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-meta%1>"
                          "<office:meta><meta:generator>Ventora</meta:generator><dc:title>%2</dc:title>"
                          "<dc:language>zh-CN</dc:language><meta:creation-date>%3</meta:creation-date>"
                          "</office:meta></office:document-meta>")
        .arg(QLatin1String(namespaces), x(book_title),
             QDateTime::currentDateTimeUtc().toString(Qt::ISODate).chopped(1));
}

const char* const manifest_xml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
    "manifest:version=\"1.3\">"
    "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.3\" "
    "manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
    "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
    "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
    "<manifest:file-entry manifest:full-path=\"meta.xml\" manifest:media-type=\"text/xml\"/>"
    "</manifest:manifest>";

// The zip of `files` in order, each deflated but the first (the mimetype), which is stored, as
// OpenDocument requires. Qt's own zip writer, the one its ODF export uses: it comes with Qt on
// every platform the program is built for.
QByteArray zipped(const std::list<std::pair<const char*, QByteArray>>& files) {
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly)) return {};
    QZipWriter zip(&buffer);
    bool first = true;
    for (const auto& [name, data] : files) {
        zip.setCompressionPolicy(first ? QZipWriter::NeverCompress : QZipWriter::AlwaysCompress);
        zip.addFile(QString::fromLatin1(name), data);
        first = false;
    }
    zip.close();
    if (zip.status() != QZipWriter::NoError) return {};
    return buffer.data();
}

}  // namespace

QByteArray odt_of(const QString& html) {
    const std::list<std::pair<const char*, QByteArray>> files = {
        {"mimetype", QByteArrayLiteral("application/vnd.oasis.opendocument.text")},
        {"content.xml", content_xml(html).toUtf8()},
        {"styles.xml", styles_xml().toUtf8()},
        {"meta.xml", meta_xml().toUtf8()},
        {"META-INF/manifest.xml", QByteArray(manifest_xml)},
    };
    return zipped(files);
}

}  // namespace ventora::book
