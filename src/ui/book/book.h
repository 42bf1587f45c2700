// The calculation book (计算书): the accounts of one or more routes set as an A4 portrait
// document in Simplified Chinese, painted page by page with the title and the regulation in the
// header and "第 N 页 共 M 页" in the footer of every page, and written as PDF, ODT or HTML.
// Uses Qt's text and print modules and core only, so the headless batch tool links it too.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "account/account.h"
#include "route/route.h"

class QPagedPaintDevice;
class QPrinter;
class QTextDocument;

namespace ventora::book {

// One route of the book.
struct chapter {
    std::uint64_t line = 0;            // the batch input line; 0 in the program
    std::optional<std::string> error;  // a line in error: its message only, nothing else is set
    account::route_account route;
    route::route_result result;  // for the summary table
};

inline const QString book_title = QStringLiteral("压力容器安全泄放装置计算书");
inline const QString book_basis = QStringLiteral("依据：1999年版《容规》");
// The face the program installs (fonts-wqy-microhei), asked for by name so the PDF embeds it.
inline const QString book_face = QStringLiteral("WenQuanYi Micro Hei");

// The account notation (X_{s}, X^{2}, √(…)) as HTML with <sub> and <sup>; everything else is
// escaped and kept as written.
QString formula_html(std::string_view notation);

// The whole book as one HTML document: the title block, the summary table when there are
// several chapters, then one chapter per route.
QString book_html(const std::vector<chapter>& chapters);

// The page footer: "第 3 页 共 12 页".
QString page_footer(int page, int pages);

// Reports progress: `done` of `total` chapters set, then `done` of `total` pages painted.
enum class stage { setting, painting };
using progress = std::function<void(stage, std::size_t done, std::size_t total)>;

// Lays the book out on `device` (its page size and resolution) and paints every page with its
// header and footer. Returns the page count; 0 when the device could not be painted on.
int paint_book(QPagedPaintDevice& device, const std::vector<chapter>& chapters,
               const progress& report = {});

// Prints the book on a printer set up by the caller (the print dialog or the preview).
int print_book(QPrinter& printer, const std::vector<chapter>& chapters);

// Writes the book by the path's extension: .pdf, .odt, .html (or .htm). The book goes to a
// temporary file beside the target that replaces it only when complete, so a failure leaves
// neither a half-written file nor a damaged older one. Returns the failure's message, empty when
// the book was written.
QString write_book(const QString& path, const std::vector<chapter>& chapters,
                   const progress& report = {});

}  // namespace ventora::book
