#include "book/book.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextDocumentWriter>

#include "book/book_numbers.h"
#include "book/book_odt.h"
#include "media/properties.h"
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

QString heading_row(const QStringList& captions) {
    QString out = QStringLiteral("<tr>");
    for (const QString& c : captions)
        out += QStringLiteral("<th bgcolor=\"#e8e8e8\">%1</th>").arg(c);
    return out + QStringLiteral("</tr>");
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
    if (cut == std::string::npos) return escaped(media::citation(source));
    return escaped(source.substr(0, cut + state_end.size()) +
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

const QStringList chinese_numerals = {QStringLiteral("一"), QStringLiteral("二"),
                                      QStringLiteral("三"), QStringLiteral("四"),
                                      QStringLiteral("五")};

QString account_html(int index, const account::account& a) {
    QString out =
        QStringLiteral("<h2>%1、%2</h2>")
            .arg(chinese_numerals.value(index, QString::number(index + 1)), escaped(a.title));
    if (!a.inputs.empty()) out += input_table(a.inputs);
    if (!a.steps.empty()) {
        out += QStringLiteral("<p><b>计算过程</b></p>");
        std::size_t n = 0;
        for (const account::step& s : a.steps) out += step_html(++n, s);
    }
    if (a.refused()) {
        out += QStringLiteral("<p style=\"margin-top:8px\"><b>计算被拒绝</b>");
        if (a.refused_by && !a.refused_by->empty())
            out += QStringLiteral("（%1）").arg(escaped(*a.refused_by));
        out += QStringLiteral("：%1</p>").arg(escaped(*a.refusal));
    } else if (!a.conclusion.empty()) {
        out += QStringLiteral("<p style=\"margin-top:8px\"><b>小结：</b>%1</p>")
                   .arg(formula_html(shortened(a.conclusion)));
    }
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
    }
    return QStringLiteral("<p style=\"margin-top:12px; font-size:12pt\"><b>结论：</b>%1</p>")
        .arg(text);
}

// What the summary's last column says of a route.
QString verdict_text(const route::route_result& r) {
    if (r.relief.refused()) return QStringLiteral("泄放量拒算");
    if (r.valve) {
        if (!r.valve->check) return QStringLiteral("安全阀拒算");
        return *r.valve->check == valve::verdict::pass ? QStringLiteral("合格")
                                                       : QStringLiteral("不合格");
    }
    if (r.disc) {
        return r.disc->status == disc::disc_status::area_ready ? QStringLiteral("—")
                                                               : QStringLiteral("爆破片拒算");
    }
    return QStringLiteral("—");
}

QString summary_html(const std::vector<chapter>& chapters) {
    QString out = QStringLiteral("<h2>汇总</h2>") + table_open +
                  heading_row({QStringLiteral("路线"), QStringLiteral("行号"),
                               QStringLiteral("W<sub>s</sub> (kg/h)"), QStringLiteral("装置"),
                               QStringLiteral("面积 (mm<sup>2</sup>)"),
                               QStringLiteral("排放能力 (kg/h)"), QStringLiteral("结论")});
    std::size_t n = 0;
    for (const chapter& c : chapters) {
        const QString route_no = QString::number(++n);
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
                    cell(area), cell(capacity), cell(verdict_text(r))});
    }
    return out + QStringLiteral("</table>");
}

QString chapter_html(std::size_t index, std::size_t count, const chapter& c) {
    QString out;
    if (count > 1) {
        out += QStringLiteral("<h1 style=\"page-break-before:always\">路线 %1").arg(index);
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
    return out + conclusion_html(c.route);
}

QString html_of(const std::vector<chapter>& chapters, const progress& report) {
    QString out = QStringLiteral(
                      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                      "<body style=\"font-family:'%2'; font-size:10.5pt\">")
                      .arg(book_title, book_face);
    out += title_block(chapters.empty() ? account::project_info{} : chapters.front().route.project);
    if (chapters.size() > 1) out += summary_html(chapters);
    std::size_t n = 0;
    for (const chapter& c : chapters) {
        out += chapter_html(++n, chapters.size(), c);
        if (report) report(stage::setting, n, chapters.size());
    }
    return out + QStringLiteral("</body></html>");
}

QFont book_font(double points) {
    QFont font(book_face);
    font.setPointSizeF(points);
    return font;
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
    const double dpi = device.logicalDpiY();
    const auto mm = [dpi](double v) { return v * dpi / 25.4; };
    const double width = device.width();
    const double header = mm(12), footer = mm(10);
    const double body_height = device.height() - header - footer;

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&device);
    doc.setDefaultFont(book_font(10.5));
    doc.setDocumentMargin(0);
    doc.setHtml(html_of(chapters, report));
    doc.setPageSize(QSizeF(width, body_height));
    const int pages = doc.pageCount();

    QPainter painter(&device);
    if (!painter.isActive()) return 0;
    const QFont small = book_font(9);
    for (int p = 0; p < pages; ++p) {
        if (p > 0) device.newPage();
        painter.setFont(small);
        painter.setPen(Qt::black);
        const QRectF top(0, 0, width, header - mm(3));
        painter.drawText(top, Qt::AlignLeft | Qt::AlignBottom, book_title);
        painter.drawText(top, Qt::AlignRight | Qt::AlignBottom, book_basis);
        painter.drawLine(QPointF(0, header - mm(2)), QPointF(width, header - mm(2)));
        painter.drawText(QRectF(0, header + body_height, width, footer), Qt::AlignCenter,
                         page_footer(p + 1, pages));
        painter.save();
        painter.translate(0, header - p * body_height);
        doc.drawContents(&painter, QRectF(0, p * body_height, width, body_height));
        painter.restore();
        if (report)
            report(stage::painting, static_cast<std::size_t>(p + 1),
                   static_cast<std::size_t>(pages));
    }
    return pages;
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
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(20, 12, 20, 12), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(book_title);
        writer.setCreator(QStringLiteral("Ventora"));
        if (paint_book(writer, chapters, report) == 0) {
            file.cancelWriting();
            return QStringLiteral("无法写入文件 %1：PDF 无法生成").arg(path);
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
