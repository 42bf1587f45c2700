#include "book/book.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QFont>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <algorithm>
#include <limits>
#include <memory>

#include "book/book_numbers.h"
#include "book/book_odt.h"
#include "media/properties.h"
#include "book/pages.h"
#include "numbers/number.h"

namespace ventora::book {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QString escaped(const std::string& s) { return q(s).toHtmlEscaped(); }

// The index of the brace that closes the one at `open`, or npos when it is never closed.
std::size_t closing_brace(std::string_view s, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < s.size(); ++i) {
        if (s[i] == '{') ++depth;
        if (s[i] == '}' && --depth == 0) return i;
    }
    return std::string_view::npos;
}

QString cell(const QString& html, const QString& attributes = {}) {
    return QStringLiteral("<td%1>%2</td>")
        .arg(attributes.isEmpty() ? QString() : ' ' + attributes, html);
}

QString row(const QStringList& cells) {
    return QStringLiteral("<tr>") + cells.join(QString()) + QStringLiteral("</tr>");
}

// A table's header row: repeated at the top of each page the table continues on.
QString heading_row(const QStringList& captions) {
    QString out = QStringLiteral("<thead><tr>");
    for (const QString& c : captions)
        out += QStringLiteral("<th bgcolor=\"#e8e8e8\">%1</th>").arg(c);
    return out + QStringLiteral("</tr></thead>");
}

const QString table_open = QStringLiteral(
    "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
    "style=\"border-collapse:collapse; border-color:#000000\">");

QString number_text(const number& value) {
    return value ? q(shortened(format_double(value))) : QStringLiteral("—");
}

// Where a value filled in from the medium library came from: the state it was taken at, then
// the correlation and its publication as an engineer cites them.
QString source_html(const std::string& source) {
    const std::string_view state_end = "；";
    const std::size_t cut = source.find(state_end);
    if (cut == std::string::npos) return formula_html(media::citation(source));
    return formula_html(source.substr(0, cut + state_end.size()) +
                        media::citation(std::string_view(source).substr(cut + state_end.size())));
}

QString title_block(const account::project_info& p) {
    auto value = [](const std::string& s) {
        return s.empty() ? QStringLiteral("&nbsp;") : escaped(s);
    };
    QString out =
        QStringLiteral("<p align=\"center\" style=\"font-size:20pt; font-weight:bold\">%1</p>")
            .arg(book_title);
    out += table_open;
    out += row({cell(QStringLiteral("工程名称"), QStringLiteral("width=\"18%\"")),
                cell(value(p.project), QStringLiteral("colspan=\"3\""))});
    out += row({cell(QStringLiteral("设备名称")), cell(value(p.equipment)),
                cell(QStringLiteral("设备位号"), QStringLiteral("width=\"18%\"")),
                cell(value(p.tag))});
    out += row(
        {cell(QStringLiteral("图号")), cell(value(p.drawing), QStringLiteral("colspan=\"3\""))});
    out += QStringLiteral("</table><p></p>");
    out += table_open + heading_row({QString(), QStringLiteral("签名"), QStringLiteral("日期")});
    out += row({cell(QStringLiteral("设计"), QStringLiteral("width=\"18%\"")),
                cell(value(p.designer)), cell(value(p.design_date))});
    out += row({cell(QStringLiteral("校核")), cell(value(p.checker)), cell(value(p.check_date))});
    out +=
        row({cell(QStringLiteral("审核")), cell(value(p.approver)), cell(value(p.approve_date))});
    out += QStringLiteral("</table>");
    out += QStringLiteral("<p>%1</p>").arg(book_basis);
    return out;
}

QString input_table(const std::vector<account::input>& inputs) {
    QString out = QStringLiteral("<p><b>输入参数</b></p>") + table_open +
                  heading_row({QStringLiteral("名称"), QStringLiteral("符号"),
                               QStringLiteral("数值"), QStringLiteral("单位")});
    for (const account::input& in : inputs) {
        QString value = !in.choice.empty() ? escaped(in.choice)
                        : in.value         ? q(in.text ? format_double(in.value)
                                                               : shortened(format_double(in.value)))
                                           : QStringLiteral("未输入");
        // A box whose text is not the value's own writing (full-width digits, "abc", "1e3") shows
        // what was typed beside what was read.
        if (in.text && (!in.value || *in.text != format_double(in.value)))
            value += QStringLiteral("（输入“%1”）").arg(escaped(*in.text));
        if (!in.source.empty()) value += QStringLiteral("<br/><small>来源：%1</small>").arg(source_html(in.source));
        out += row({cell(escaped(in.name)), cell(formula_html(in.symbol)), cell(value),
                    cell(formula_html(in.unit))});
    }
    return out + QStringLiteral("</table>");
}

// A step that states a value rather than computes one: a coefficient chosen from a table, a
// rate typed or rounded ("K", "F", "W_{s}" with no substitution).
bool value_taken(const account::step& s) {
    return !s.formula.empty() && s.substituted.empty() && !s.value.empty() &&
           s.formula.find_first_of(" =/<>") == std::string::npos &&
           s.formula.find("·") == std::string::npos;
}

QString step_html(std::size_t index, const account::step& s) {
    QString out = QStringLiteral("<p style=\"margin-top:8px\"><b>%1. %2</b></p>")
                      .arg(index)
                      .arg(formula_html(s.title));
    auto line = [&](const QString& label, const QString& html) {
        out += QStringLiteral("<p style=\"margin-left:24px\">%1：%2</p>").arg(label, html);
    };
    const printed_step p = printed(s);
    QString result = QStringLiteral("<b>%1</b>").arg(formula_html(p.value));
    if (!s.unit.empty()) result += QStringLiteral(" ") + formula_html(s.unit);
    if (value_taken(s)) {
        const bool rounding = s.note.find("向下取整") != std::string::npos;
        QString taken = formula_html(s.formula) + QStringLiteral(" = ") + result;
        if (!s.note.empty()) taken += QStringLiteral("（%1）").arg(formula_html(shortened(s.note)));
        line(rounding ? QStringLiteral("取整") : QStringLiteral("取值"), taken);
        return out;
    }
    if (!s.formula.empty()) line(QStringLiteral("公式"), formula_html(s.formula));
    // An assumption ("K_{b} = K_{c} = 1") is its own substitution: written once.
    if (!p.substituted.empty() && p.substituted != s.formula)
        line(QStringLiteral("代入"), formula_html(p.substituted));
    if (!p.value.empty()) line(QStringLiteral("结果"), result);
    if (!s.note.empty()) line(QStringLiteral("说明"), formula_html(shortened(s.note)));
    return out;
}

const QStringList chinese_numerals = {
    QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
    QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("七"), QStringLiteral("八"),
    QStringLiteral("九"), QStringLiteral("十")};

QString numeral(int index) { return chinese_numerals.value(index, QString::number(index + 1)); }

QString section_heading(int index, const QString& title) {
    return QStringLiteral("<h2>%1、%2</h2>").arg(numeral(index), title);
}

// A calculation's inputs, steps and closing line. `refused` names a refusal: "计算被拒绝" for a
// calculation, "未校核" for a check that lacked a value or whose input lay outside its method.
QString account_body(const account::account& a, const QString& refused) {
    QString out;
    if (!a.inputs.empty()) out += input_table(a.inputs);
    if (!a.steps.empty()) {
        out += QStringLiteral("<p><b>计算过程</b></p>");
        std::size_t n = 0;
        for (const account::step& s : a.steps) out += step_html(++n, s);
    }
    if (a.refused()) {
        out += QStringLiteral("<p style=\"margin-top:8px\"><b>%1</b>").arg(refused);
        if (a.refused_by && !a.refused_by->empty())
            out += QStringLiteral("（%1）").arg(escaped(*a.refused_by));
        out += QStringLiteral("：%1</p>").arg(formula_html(*a.refusal));
    } else if (!a.conclusion.empty()) {
        out += QStringLiteral("<p style=\"margin-top:8px\"><b>小结：</b>%1</p>")
                   .arg(formula_html(shortened(a.conclusion)));
    }
    return out;
}

QString account_html(int index, const account::account& a) {
    return section_heading(index, escaped(a.title)) +
           account_body(a, QStringLiteral("计算被拒绝"));
}

// The relief-system checks after the valve: each check a sub-section, then the verdict line
// that names every failing check and every check not made.
QString system_html(int index, const account::route_account::system_section& system) {
    QString out = section_heading(index, QStringLiteral("泄放系统校核"));
    int n = 0;
    for (const account::account& check : system.checks) {
        out += QStringLiteral("<h3>（%1）%2</h3>").arg(numeral(n++), escaped(check.title));
        out += account_body(check, QStringLiteral("未校核"));
    }
    out += QStringLiteral("<p style=\"margin-top:8px\"><b>校核结论：%1</b></p>")
               .arg(formula_html(system.verdict));
    return out;
}

// The route's closing line. A refused calculation gives none: the book never invents a result.
QString conclusion_html(const account::route_account& r) {
    const account::account* last = r.device ? &*r.device : &r.relief;
    QString text;
    if (r.relief.refused()) {
        text = QStringLiteral("%1计算被拒绝，本路线无计算结论。").arg(escaped(r.relief.title));
    } else if (r.device && r.device->refused()) {
        text = QStringLiteral("%1计算被拒绝，本路线无计算结论。").arg(escaped(r.device->title));
    } else {
        text = formula_html(shortened(last->conclusion));
        if (r.system) text += QStringLiteral("；") + formula_html(r.system->verdict);
    }
    return QStringLiteral("<p style=\"margin-top:12px; font-size:12pt\"><b>结论：</b>%1</p>")
        .arg(text);
}

// What the relief-system checks add to the summary's verdict: nothing when every check passed.
QString system_verdict_text(const account::route_account& a) {
    if (!a.system) return {};
    if (a.system->failed) return QStringLiteral("；系统校核不合格");
    if (a.system->incomplete) return QStringLiteral("；系统校核未完成");
    return {};
}

// What the summary's last column says of a route.
QString verdict_text(const chapter& c) {
    const route::route_result& r = c.result;
    if (r.relief.refused()) return QStringLiteral("泄放量拒算");
    if (r.valve) {
        if (!r.valve->check) return QStringLiteral("安全阀拒算");
        return (*r.valve->check == valve::verdict::pass ? QStringLiteral("合格")
                                                        : QStringLiteral("不合格")) +
               system_verdict_text(c.route);
    }
    if (r.disc) {
        return r.disc->status == disc::disc_status::area_ready ? QStringLiteral("—")
                                                               : QStringLiteral("爆破片拒算");
    }
    return QStringLiteral("—");
}

// The summary's rows [from, to), under its caption when `from` is the first.
QString summary_html(const std::vector<chapter>& chapters, std::size_t from = 0,
                     std::size_t to = std::numeric_limits<std::size_t>::max()) {
    to = std::min(to, chapters.size());
    QString out = (from == 0 ? QStringLiteral("<h2>汇总</h2>") : QString()) + table_open +
                  heading_row({QStringLiteral("路线"), QStringLiteral("行号"),
                               QStringLiteral("W<sub>s</sub> (kg/h)"), QStringLiteral("装置"),
                               QStringLiteral("面积 (mm<sup>2</sup>)"),
                               QStringLiteral("排放能力 (kg/h)"), QStringLiteral("结论")});
    for (std::size_t n = from; n < to; ++n) {
        const chapter& c = chapters[n];
        const QString route_no = QString::number(n + 1);
        const QString line = c.line ? QString::number(c.line) : QStringLiteral("—");
        if (c.error) {
            out += row({cell(route_no), cell(line),
                        cell(QStringLiteral("输入错误：") + escaped(*c.error),
                             QStringLiteral("colspan=\"5\""))});
            continue;
        }
        const route::route_result& r = c.result;
        QString device = QStringLiteral("—"), area = QStringLiteral("—"),
                capacity = QStringLiteral("—");
        if (r.valve) {
            device = QStringLiteral("安全阀");
            area = number_text(r.valve->area);
            capacity = number_text(r.valve->capacity);
        } else if (r.disc) {
            device = QStringLiteral("爆破片");
            if (r.disc->status == disc::disc_status::area_ready) area = number_text(r.disc->A);
        }
        out += row({cell(route_no), cell(line), cell(number_text(r.relief.W_s)), cell(device),
                    cell(area), cell(capacity), cell(verdict_text(c))});
    }
    return out + QStringLiteral("</table>");
}

QString chapter_html(std::size_t index, std::size_t count, const chapter& c) {
    QString out;
    if (count > 1) {
        // The heading never wraps: a chapter's pages do not depend on its number.
        out += QStringLiteral("<h1 style=\"page-break-before:always; white-space:nowrap\">路线 %1")
                   .arg(index);
        if (c.line) out += QStringLiteral("（第 %1 行）").arg(c.line);
        out += QStringLiteral("</h1>");
    }
    if (c.error) {
        return out + QStringLiteral("<p><b>输入错误</b>（第 %1 行）：%2</p>")
                         .arg(c.line)
                         .arg(escaped(*c.error));
    }
    const account::project_info& p = c.route.project;
    if (count > 1 && !(p.equipment.empty() && p.tag.empty() && p.drawing.empty())) {
        out += QStringLiteral("<p>设备名称：%1　设备位号：%2　图号：%3</p>")
                   .arg(escaped(p.equipment), escaped(p.tag), escaped(p.drawing));
    }
    int section = 0;
    out += account_html(section++, c.route.relief);
    if (c.route.device) out += account_html(section++, *c.route.device);
    if (c.route.sizing) out += account_html(section++, *c.route.sizing);
    if (c.route.system) out += system_html(section++, *c.route.system);
    return out + conclusion_html(c.route);
}

QString document_open() {
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
               "<body style=\"font-family:'%2'; font-size:10.5pt\">")
        .arg(book_title, book_face);
}

const QString document_close = QStringLiteral("</body></html>");

QString front_matter(const std::vector<chapter>& chapters) {
    return title_block(chapters.empty() ? account::project_info{} : chapters.front().route.project);
}

// The whole book as one document, for the formats that are one stream (HTML, ODT).
QString html_of(const std::vector<chapter>& chapters, const progress& report) {
    QString out = document_open();
    out += front_matter(chapters);
    if (chapters.size() > 1) out += summary_html(chapters);
    std::size_t n = 0;
    for (const chapter& c : chapters) {
        out += chapter_html(++n, chapters.size(), c);
        if (report) report(stage::setting, n, chapters.size());
    }
    return out + document_close;
}

QFont book_font(double points) {
    QFont font(book_face);
    font.setPointSizeF(points);
    return font;
}

// The book is set piece by piece: the front matter (the title block and the summary table, two
// hundred summary rows a piece), then each route's chapter on pages of its own. Only one
// piece is laid out at a time, so memory and the layout's coordinates stay those of a piece
// whatever the number of routes. A first pass counts the pages ("共 M 页"), a second paints them.
constexpr std::size_t summary_rows_per_piece = 200;

// The front piece of rows [from, to) of the summary; a book of one route has no summary and its
// chapter follows the title block.
QString front_html(const std::vector<chapter>& chapters, std::size_t from, std::size_t to) {
    QString out = document_open();
    if (from == 0) out += front_matter(chapters);
    if (chapters.size() > 1) {
        out += summary_html(chapters, from, to);
    } else if (chapters.size() == 1) {
        out += chapter_html(1, 1, chapters.front());
    }
    return out + document_close;
}

QString chapter_piece_html(const std::vector<chapter>& chapters, std::size_t index) {
    return document_open() + chapter_html(index + 1, chapters.size(), chapters[index]) +
           document_close;
}

// What the first pass found: how the summary was cut and how many pages each piece fills.
struct book_plan {
    struct front_piece {
        std::size_t from, to;  // the summary rows laid out
        std::size_t pages;     // the pages painted: the last is left out when its rows go on
        std::size_t next;      // the row the next piece starts with
    };
    std::vector<front_piece> front;
    std::vector<std::size_t> chapter_pages;  // a book of several routes only
    std::size_t total = 0;
};

struct page_geometry {
    double width, header, footer, body_height;
    QPointF body_origin() const { return {0, header}; }
};

page_geometry geometry_of(const QPagedPaintDevice& device) {
    const double dpi = device.logicalDpiY();
    const auto mm = [dpi](double v) { return v * dpi / 25.4; };
    const double header = mm(12), footer = mm(10);
    return {static_cast<double>(device.width()), header, footer, device.height() - header - footer};
}

struct painted {
    std::size_t pages = 0;
    QString failure;  // empty when every page was painted as planned
};

class book_painter {
public:
    book_painter(QPagedPaintDevice& device, const std::vector<chapter>& chapters,
                 const progress& report)
        : device_(device), chapters_(chapters), report_(report), g_(geometry_of(device)) {}

    std::unique_ptr<laid_out_piece> lay_out(const QString& html) const {
        return std::make_unique<laid_out_piece>(html, device_, book_font(10.5), g_.width,
                                                g_.body_height);
    }
    std::unique_ptr<laid_out_piece> lay_out_front(std::size_t from, std::size_t to) const {
        return lay_out(front_html(chapters_, from, to));
    }

    book_plan plan() {
        book_plan plan;
        const std::size_t n = chapters_.size() > 1 ? chapters_.size() : 0;
        std::size_t from = 0;
        do {
            const std::size_t to = std::min(from + summary_rows_per_piece, n);
            std::unique_ptr<laid_out_piece> piece = lay_out_front(from, to);
            book_plan::front_piece f{from, to, piece->page_count(), to};
            if (to < n && f.pages > 1) {
                // The rows of the last page open the next piece, under its own header row.
                const int row = piece->last_table_row_opening(f.pages - 1);
                if (row > 0) {
                    f.pages -= 1;
                    f.next = from + static_cast<std::size_t>(row);
                }
            }
            // The first piece is painted first: kept, it is not laid out twice (a book of one
            // route is only this piece).
            if (plan.front.empty()) first_front_ = std::move(piece);
            plan.front.push_back(f);
            plan.total += f.pages;
            from = f.next;
        } while (from < n);
        // A chapter's pages depend on all but the number in its heading, a line that never
        // wraps: chapters alike but for their number (a plant's identical devices) are laid out
        // once here. The painting pass lays each out again and checks the count.
        QHash<QByteArray, std::size_t> pages_of_body;
        for (std::size_t i = 0; i < n; ++i) {
            const QString html = chapter_piece_html(chapters_, i);
            const QByteArray body = QCryptographicHash::hash(
                QStringView(html).mid(html.indexOf(QLatin1String("</h1>"))).toUtf8(),
                QCryptographicHash::Sha256);
            auto known = pages_of_body.constFind(body);
            if (known == pages_of_body.cend())
                known = pages_of_body.insert(body, lay_out(html)->page_count());
            plan.chapter_pages.push_back(*known);
            plan.total += plan.chapter_pages.back();
            if (report_) report_(stage::setting, i + 1, n);
        }
        return plan;
    }

    // Paints the pages the plan counted, stopping early when `device_failed` says the output
    // cannot take more.
    painted paint(const book_plan& plan, const std::function<bool()>& device_failed) {
        painted out;
        QPainter painter(&device_);
        if (!painter.isActive()) {
            out.failure = QStringLiteral("无法在输出设备上绘制");
            return out;
        }
        painter_ = &painter;
        total_ = plan.total;
        const auto paint_piece = [&](const laid_out_piece& piece, std::size_t pages) {
            for (std::size_t p = 0; p < pages; ++p) {
                if (device_failed && device_failed()) return false;
                paint_page(piece, p, out.pages);
            }
            return true;
        };
        for (const book_plan::front_piece& f : plan.front) {
            const std::unique_ptr<laid_out_piece> piece =
                first_front_ ? std::move(first_front_) : lay_out_front(f.from, f.to);
            if (piece->page_count() < f.pages) {
                out.failure = changed_layout();
                return out;
            }
            if (!paint_piece(*piece, f.pages)) return out;
        }
        for (std::size_t i = 0; i < plan.chapter_pages.size(); ++i) {
            const std::unique_ptr<laid_out_piece> piece = lay_out(chapter_piece_html(chapters_, i));
            if (piece->page_count() != plan.chapter_pages[i]) {
                out.failure = changed_layout();
                return out;
            }
            if (!paint_piece(*piece, piece->page_count())) return out;
        }
        return out;
    }

private:
    static QString changed_layout() { return QStringLiteral("两遍排版的页数不一致"); }

    void paint_page(const laid_out_piece& piece, std::size_t p, std::size_t& done) {
        QPainter& painter = *painter_;
        if (done > 0) device_.newPage();
        const auto mm = [this](double v) { return v * device_.logicalDpiY() / 25.4; };
        painter.setFont(book_font(9));
        painter.setPen(Qt::black);
        const QRectF top(0, 0, g_.width, g_.header - mm(3));
        painter.drawText(top, Qt::AlignLeft | Qt::AlignBottom, book_title);
        painter.drawText(top, Qt::AlignRight | Qt::AlignBottom, book_basis);
        painter.drawLine(QPointF(0, g_.header - mm(2)), QPointF(g_.width, g_.header - mm(2)));
        ++done;
        painter.drawText(QRectF(0, g_.header + g_.body_height, g_.width, g_.footer),
                         Qt::AlignCenter,
                         page_footer(static_cast<int>(done), static_cast<int>(total_)));
        piece.paint(painter, p, g_.body_origin());
        if (report_) report_(stage::painting, done, total_);
    }

    QPagedPaintDevice& device_;
    const std::vector<chapter>& chapters_;
    const progress& report_;
    page_geometry g_;
    QPainter* painter_ = nullptr;
    std::size_t total_ = 0;
    std::unique_ptr<laid_out_piece> first_front_;
};

painted paint_pages(QPagedPaintDevice& device, const std::vector<chapter>& chapters,
                    const progress& report, const std::function<bool()>& device_failed = {}) {
    book_painter painter(device, chapters, report);
    const book_plan plan = painter.plan();
    painted out = painter.paint(plan, device_failed);
    if (out.failure.isEmpty() && out.pages != plan.total && !(device_failed && device_failed())) {
        out.failure = QStringLiteral("排版 %1 页，绘制 %2 页").arg(plan.total).arg(out.pages);
    }
    return out;
}

void set_up_pdf(QPdfWriter& writer) {
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(20, 12, 20, 12), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(book_title);
    writer.setCreator(QStringLiteral("Ventora"));
}

// Passes the PDF on to the file while reading what the writer puts in it: the page objects it
// writes and the count its page tree declares, so the book is checked before it replaces
// anything.
class pdf_tally : public QIODevice {
public:
    explicit pdf_tally(QIODevice& target) : target_(target) { open(QIODevice::WriteOnly); }
    bool failed() const { return failed_; }
    qint64 bytes() const { return bytes_; }
    std::size_t page_objects() const { return page_objects_; }
    long declared_pages() const { return declared_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (target_.write(data, size) != size) failed_ = true;
        bytes_ += size;
        // The last few bytes go with the next write, so a mark split between writes is found.
        QByteArray window = carry_ + QByteArray::fromRawData(data, size);
        const qsizetype fresh = carry_.size();
        static const QByteArray page_mark("\n/Type /Page\n"), count_mark("]\n/Count ");
        for (qsizetype at = window.indexOf(page_mark); at >= 0;
             at = window.indexOf(page_mark, at + 1)) {
            if (at + page_mark.size() > fresh) ++page_objects_;
        }
        for (qsizetype at = window.indexOf(count_mark); at >= 0;
             at = window.indexOf(count_mark, at + 1)) {
            const qsizetype digits = at + count_mark.size();
            const qsizetype end = window.indexOf('\n', digits);
            if (end < 0 || end <= fresh) continue;  // unfinished, or read before
            bool ok = false;
            const long n = window.mid(digits, end - digits).toLong(&ok);
            if (ok) declared_ = n;
        }
        carry_ = window.right(32);
        return failed_ ? -1 : size;
    }

private:
    QIODevice& target_;
    QByteArray carry_;
    bool failed_ = false;
    qint64 bytes_ = 0;
    std::size_t page_objects_ = 0;
    long declared_ = -1;
};

// The size of a PDF of `pages` blank pages as the writer writes it: a book no larger holds
// nothing.
qint64 blank_book_size(std::size_t pages) {
    const auto size_of = [](int blank) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            set_up_pdf(writer);
            QPainter painter(&writer);
            for (int i = 1; i < blank; ++i) writer.newPage();
        }
        return buffer.size();
    };
    const qint64 one = size_of(1), two = size_of(2);
    return one + static_cast<qint64>(pages - 1) * (two - one);
}

}  // namespace

QString formula_html(std::string_view s) {
    QString out;
    std::size_t plain = 0;
    auto flush = [&](std::size_t end) {
        out += QString::fromUtf8(s.data() + plain, static_cast<qsizetype>(end - plain))
                   .toHtmlEscaped();
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((s[i] != '_' && s[i] != '^') || i + 1 >= s.size() || s[i + 1] != '{') continue;
        const std::size_t close = closing_brace(s, i + 1);
        if (close == std::string_view::npos) continue;
        flush(i);
        const char* tag = s[i] == '_' ? "sub" : "sup";
        out += QStringLiteral("<%1>%2</%1>")
                   .arg(QLatin1String(tag), formula_html(s.substr(i + 2, close - i - 2)));
        i = close;
        plain = close + 1;
    }
    flush(s.size());
    return out;
}

QString book_html(const std::vector<chapter>& chapters) { return html_of(chapters, {}); }

QString page_footer(int page, int pages) {
    return QStringLiteral("第 %1 页 共 %2 页").arg(page).arg(pages);
}

int paint_book(QPagedPaintDevice& device, const std::vector<chapter>& chapters,
               const progress& report) {
    const painted out = paint_pages(device, chapters, report);
    return out.failure.isEmpty() ? static_cast<int>(out.pages) : 0;
}

int print_book(QPrinter& printer, const std::vector<chapter>& chapters) {
    return paint_book(printer, chapters);
}

QString write_book(const QString& path, const std::vector<chapter>& chapters,
                   const progress& report) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext != QLatin1String("pdf") && ext != QLatin1String("odt") &&
        ext != QLatin1String("html") && ext != QLatin1String("htm")) {
        return QStringLiteral("不支持的文件类型：%1（计算书可保存为 .pdf、.odt 或 .html）")
            .arg(path);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString());
    }
    if (ext == QLatin1String("pdf")) {
        pdf_tally tally(file);
        painted out;
        {
            QPdfWriter writer(&tally);
            set_up_pdf(writer);
            out = paint_pages(writer, chapters, report, [&] { return tally.failed(); });
        }
        QString failure;
        if (tally.failed() || file.error() != QFileDevice::NoError) {
            failure = file.errorString();
        } else if (!out.failure.isEmpty()) {
            failure = out.failure;
        } else if (tally.page_objects() != out.pages ||
                   tally.declared_pages() != static_cast<long>(out.pages)) {
            failure = QStringLiteral("排版 %1 页，写出的 PDF 有 %2 页（页目录称 %3 页）")
                          .arg(out.pages)
                          .arg(tally.page_objects())
                          .arg(tally.declared_pages());
        } else if (tally.bytes() <= blank_book_size(out.pages)) {
            failure = QStringLiteral("写出的 PDF 只有 %1 字节，与 %2 页空白页一样大")
                          .arg(tally.bytes())
                          .arg(out.pages);
        }
        if (!failure.isEmpty()) {
            file.cancelWriting();
            return QStringLiteral("无法写入文件 %1：%2").arg(path, failure);
        }
    } else if (ext == QLatin1String("odt")) {
        const QByteArray odt = odt_of(html_of(chapters, report));
        if (odt.isEmpty()) {
            file.cancelWriting();
            return QStringLiteral("无法写入文件 %1：ODF 文档无法生成").arg(path);
        }
        file.write(odt);
    } else {
        file.write(html_of(chapters, report).toUtf8());
    }
    if (!file.commit()) {
        return QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString());
    }
    return {};
}

}  // namespace ventora::book
