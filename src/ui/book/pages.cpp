#include "book/pages.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPainter>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <algorithm>
#include <limits>

namespace ventora::book {
namespace {

// The layout keeps lines whose box touches the painted rectangle; a page's rectangle stops this
// far (device pixels, a few of the layout's 1/64 steps) inside its first and last line so the
// neighbouring lines are neither painted nor put in the text layer.
constexpr double edge = 0.1;

// A heading: an <h1>/<h2>, or a paragraph set in bold throughout ("计算过程", "3. 排放压力").
bool is_heading(const QTextBlock& block) {
    if (block.blockFormat().headingLevel() > 0) return true;
    bool any = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.text().trimmed().isEmpty()) continue;
        if (f.charFormat().fontWeight() < QFont::Bold) return false;
        any = true;
    }
    return any;
}

bool is_indented(const QTextBlock& block) {
    return block.blockFormat().leftMargin() > 0 || block.blockFormat().indent() > 0;
}

}  // namespace

laid_out_piece::laid_out_piece(const QString& html, QPaintDevice& device, const QFont& font,
                               double width, double height)
    : width_(width) {
    doc_.documentLayout()->setPaintDevice(&device);
    doc_.setDefaultFont(font);
    doc_.setDocumentMargin(0);
    doc_.setHtml(html);
    doc_.setTextWidth(width);  // one unbroken column: the pages are cut here, not by the layout
    doc_.documentLayout()->documentSize();
    collect();
    paginate(height);
}

void laid_out_piece::collect() {
    // A step is a heading followed by indented lines (公式, 代入, 结果, 说明).
    std::size_t step_first = 0;
    bool in_step = false;
    const auto close_step = [&] {
        if (in_step && units_.size() > step_first + 1)
            steps_.emplace_back(step_first, units_.size() - 1);
        in_step = false;
    };
    QTextFrame* root = doc_.rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            close_step();
            if (auto* table = qobject_cast<QTextTable*>(frame)) add_table(table);
            continue;
        }
        const QTextBlock block = it.currentBlock();
        const bool heading = is_heading(block);
        if (in_step && (heading || !is_indented(block))) close_step();
        const std::size_t before = units_.size();
        add_block(block, heading);
        if (heading && units_.size() > before) {
            step_first = before;
            in_step = true;
        }
    }
    close_step();
}

void laid_out_piece::add_block(const QTextBlock& block, bool heading) {
    const QTextLayout* layout = block.layout();
    if (!layout) return;
    const double origin = layout->position().y();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        units_.push_back({origin + line.y(), origin + line.y() + line.height()});
    }
    if (heading && layout->lineCount() > 0) units_.back().keep_with_next = true;
}

void laid_out_piece::add_table(QTextTable* table) {
    const QAbstractTextDocumentLayout* layout = doc_.documentLayout();
    const QRectF frame = layout->frameBoundingRect(table);
    const int rows = table->rows();
    if (rows == 0) return;
    constexpr double none = std::numeric_limits<double>::infinity();
    std::vector<double> text_top(rows, none), text_bottom(rows, -none);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) continue;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                const QTextBlock block = it.currentBlock();
                if (!block.isValid()) continue;
                const QRectF box = layout->blockBoundingRect(block);
                text_top[r] = std::min(text_top[r], box.top());
                text_bottom[r] = std::max(text_bottom[r], box.bottom());
            }
        }
    }
    // Rows meet halfway between the text of one and the text of the next: on their shared
    // border.
    const auto meet = [&](int r) {
        if (text_top[r + 1] == none || text_bottom[r] == -none) return frame.top();
        return (text_bottom[r] + text_top[r + 1]) / 2;
    };
    const int header_rows = std::clamp(table->format().headerRowCount(), 0, rows - 1);
    const int index = static_cast<int>(tables_.size());
    tables_.push_back(
        {frame.top(), header_rows > 0 ? meet(header_rows - 1) : frame.top(), header_rows});
    for (int r = 0; r < rows; ++r) {
        unit u;
        u.top = r == 0 ? frame.top() : meet(r - 1);
        u.bottom = r == rows - 1 ? frame.bottom() : meet(r);
        u.keep_with_next = r < header_rows;
        u.table = index;
        u.row = r;
        units_.push_back(u);
    }
}

void laid_out_piece::paginate(double height) {
    const std::size_t n = units_.size();
    std::vector<bool> glued(n);
    for (std::size_t k = 0; k < n; ++k) glued[k] = units_[k].keep_with_next;
    for (const auto& [first, last] : steps_) {
        if (units_[last].bottom - units_[first].top > height) continue;  // longer than a page
        for (std::size_t k = first; k < last; ++k) glued[k] = true;
    }
    std::size_t i = 0;
    while (i < n) {
        page p;
        p.first = i;
        double room = height;
        const unit& opening = units_[i];
        if (opening.table >= 0 && i > 0 && units_[i - 1].table == opening.table &&
            tables_[opening.table].header_rows > 0) {
            p.repeat_header = opening.table;
            room -= tables_[opening.table].header_end - tables_[opening.table].top;
        }
        std::size_t j = i;
        while (j + 1 < n && units_[j + 1].bottom - opening.top <= room) ++j;
        if (j + 1 < n) {
            // Break after the last unit that need not stay with the next; a run glued together
            // that is longer than the page breaks where the page is full.
            std::size_t k = j;
            while (k > i && glued[k]) --k;
            if (!glued[k]) j = k;
        }
        p.last = j;
        pages_.push_back(p);
        i = j + 1;
    }
}

int laid_out_piece::last_table_row_opening(std::size_t p) const {
    if (tables_.empty() || p >= pages_.size()) return -1;
    const unit& u = units_[pages_[p].first];
    const int last = static_cast<int>(tables_.size()) - 1;
    if (u.table != last || u.row < tables_[last].header_rows) return -1;
    return u.row - tables_[last].header_rows;
}

void laid_out_piece::draw(QPainter& painter, double top, double bottom, double at) const {
    painter.save();
    painter.translate(0, at - top);
    doc_.drawContents(&painter, QRectF(0, top + edge, width_, bottom - top - 2 * edge));
    painter.restore();
}

void laid_out_piece::paint(QPainter& painter, std::size_t p, QPointF origin) const {
    const page& pg = pages_[p];
    painter.save();
    painter.translate(origin);
    double at = 0;
    if (pg.repeat_header >= 0) {
        const table_span& t = tables_[pg.repeat_header];
        draw(painter, t.top, t.header_end, 0);
        at = t.header_end - t.top;
    }
    // A unit's box may reach into its neighbour's (a table's frame into the paragraph under
    // it): the page stops where the next page's first unit starts.
    double top = units_[pg.first].top, bottom = units_[pg.last].bottom;
    if (pg.first > 0) top = std::max(top, units_[pg.first - 1].bottom);
    if (pg.last + 1 < units_.size()) bottom = std::min(bottom, units_[pg.last + 1].top);
    draw(painter, top, bottom, at);
    painter.restore();
}

}  // namespace ventora::book
