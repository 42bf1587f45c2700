#include "book/report_core.h"

#include <variant>

#include "request/request.h"
#include "route/route_system.h"

namespace ventora::book {

chapter chapter_of_line(std::string_view line, std::uint64_t number) {
    chapter c;
    c.line = number;
    requests::decoded_request decoded = requests::decode_line(line);
    auto* route = decoded.req ? std::get_if<requests::route_request>(&*decoded.req) : nullptr;
    if (!route) {
        // Not a route: the route decoder's own words for what is wrong with the line.
        c.error = decoded.req ? requests::decode_route_line(line).error : std::move(decoded.error);
        return c;
    }
    c.route.project = route->project;
    c.result = route::run_route(route->input, &c.route);
    if (route->system)
        c.route.system = route::system_section_of(*route->system, route->input, c.result);
    return c;
}

report_args parse_report_args(const QStringList& args) {
    report_args out;
    bool options = true;
    QStringList plain;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && (a == QLatin1String("-h") || a == QLatin1String("--help"))) {
            out.help = true;
        } else if (options && (a == QLatin1String("-o") || a == QLatin1String("--output"))) {
            if (i + 1 >= args.size()) {
                out.error = QStringLiteral("%1 needs a file name").arg(a);
                return out;
            }
            if (!out.output.isEmpty()) {
                out.error = QStringLiteral("more than one book named");
                return out;
            }
            out.output = args[++i];
        } else if (options && a.startsWith('-') && a != QLatin1String("-")) {
            out.error = QStringLiteral("unknown option %1").arg(a);
            return out;
        } else {
            plain.append(a);
        }
    }
    if (out.output.isEmpty() && !plain.isEmpty()) out.output = plain.takeFirst();
    out.inputs = plain;
    if (out.output.isEmpty() && !out.help) out.error = QStringLiteral("no book named");
    return out;
}

QString report_usage() {
    return QStringLiteral(
        "usage: ventora-report [-o] BOOK.pdf|BOOK.odt|BOOK.html [ROUTES.jsonl ...]\n"
        "Writes one calculation book with a chapter per route; reads standard input when no file\n"
        "(or -) is given. Exit status: 0 every route computed, 1 a route refused or a line in\n"
        "error, 2 unreadable input or unwritable book.\n");
}

bool route_refused(const chapter& c) {
    if (c.error) return false;
    const route::route_result& r = c.result;
    if (r.relief.refused()) return true;
    if (r.valve && r.valve->status != valve::press_status::checked) return true;
    if (r.disc && r.disc->status != disc::disc_status::area_ready) return true;
    return false;
}

namespace {
QString refusal_of(const chapter& c) {
    const account::route_account& a = c.route;
    const account::account* refused = a.relief.refused()                  ? &a.relief
                                      : (a.device && a.device->refused()) ? &*a.device
                                                                          : nullptr;
    if (refused) {
        return QStringLiteral("%1计算被拒绝：%2")
            .arg(QString::fromStdString(refused->title), QString::fromStdString(*refused->refusal));
    }
    if (c.result.relief.refusal) {
        return QStringLiteral("安全泄放量计算被拒绝：%1")
            .arg(QString::fromStdString(*c.result.relief.refusal));
    }
    return QStringLiteral("计算被拒绝");
}
}  // namespace

QStringList chapter_problems(const std::vector<chapter>& chapters) {
    QStringList out;
    std::size_t n = 0;
    for (const chapter& c : chapters) {
        ++n;
        const QString where =
            c.line ? QStringLiteral("第 %1 行").arg(c.line) : QStringLiteral("路线 %1").arg(n);
        if (c.error) {
            out.append(
                QStringLiteral("%1：输入错误：%2").arg(where, QString::fromStdString(*c.error)));
        } else if (route_refused(c)) {
            out.append(QStringLiteral("%1：%2").arg(where, refusal_of(c)));
        }
    }
    return out;
}

int report_exit_status(const std::vector<chapter>& chapters) {
    for (const chapter& c : chapters) {
        if (c.error || route_refused(c)) return exit_route_problem;
    }
    return exit_ok;
}

void terminal_progress::operator()(stage s, std::size_t done, std::size_t total) {
    // A book of a few routes is written in a blink: no line for it.
    if (!on_ || total < 20) return;
    const int percent = static_cast<int>(done * 100 / total);
    if (shown_ && s == last_stage_ && percent == last_percent_) return;
    last_stage_ = s;
    last_percent_ = percent;
    const char* what = s == stage::setting ? "排版" : "输出页面";
    std::fprintf(out_, "\r计算书：%s %zu/%zu (%d%%)\033[K", what, done, total, percent);
    std::fflush(out_);
    shown_ = true;
}

void terminal_progress::finish() {
    if (shown_) std::fputc('\n', out_);
    shown_ = false;
}

int write_report(const QString& output, const std::vector<chapter>& chapters, std::FILE* err,
                 bool err_is_terminal) {
    terminal_progress progress(err, err_is_terminal);
    const QString failure = write_book(output, chapters, std::ref(progress));
    progress.finish();
    for (const QString& problem : chapter_problems(chapters)) {
        std::fprintf(err, "ventora-report: %s\n", problem.toUtf8().constData());
    }
    if (!failure.isEmpty()) {
        std::fprintf(err, "ventora-report: %s\n", failure.toUtf8().constData());
        return exit_failure;
    }
    return report_exit_status(chapters);
}

}  // namespace ventora::book
