// The book's pages: one piece of the book (the front matter, or one route's chapter) laid out on
// its own as one unbroken column, then cut into pages between lines and between table rows, so
// no line is ever half painted at a page foot. A heading stays with what follows it, a step
// (its heading and the indented lines under it) stays on one page when it fits one, and a table
// that continues on the next page repeats its header rows there. A piece is small (a chapter is
// a few pages), so neither its memory nor its coordinates grow with the book.
#pragma once

#include <QRectF>
#include <QString>
#include <QTextDocument>
#include <cstddef>
#include <vector>

class QFont;
class QTextBlock;
class QTextTable;
class QPainter;
class QPaintDevice;

namespace ventora::book {

class laid_out_piece {
public:
    // Lays `html` out `width` wide on `device` and cuts it into pages `height` high.
    laid_out_piece(const QString& html, QPaintDevice& device, const QFont& font, double width,
                   double height);

    std::size_t page_count() const { return pages_.size(); }

    // The row of the piece's last table (counted from its first row under the header) that
    // opens page `p`, or -1 when page `p` opens with anything else.
    int last_table_row_opening(std::size_t p) const;

    // Paints page `p` with its top left corner at `origin`.
    void paint(QPainter& painter, std::size_t p, QPointF origin) const;

private:
    // What a page is cut between: a line of a paragraph or a row of a table, top to bottom.
    struct unit {
        double top = 0, bottom = 0;
        bool keep_with_next = false;  // a heading's last line, a header row
        int table = -1;               // the table of a row
        int row = -1;                 // the row in its table
    };
    struct table_span {
        double top = 0;         // the table's top border
        double header_end = 0;  // where its header rows end (== top without header rows)
        int header_rows = 0;
    };
    struct page {
        std::size_t first = 0, last = 0;  // units
        int repeat_header = -1;           // the table whose header rows open the page
    };

    void collect();
    void add_block(const QTextBlock& block, bool heading);
    void add_table(QTextTable* table);
    void paginate(double height);
    void draw(QPainter& painter, double top, double bottom, double at) const;

    mutable QTextDocument doc_;  // drawContents is not const
    double width_;
    std::vector<unit> units_;
    std::vector<table_span> tables_;
    std::vector<std::pair<std::size_t, std::size_t>> steps_;  // first and last unit of a step
    std::vector<page> pages_;
};

}  // namespace ventora::book
