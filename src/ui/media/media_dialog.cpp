#include "media/media_dialog.h"

#include <algorithm>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "numbers/number.h"
#include "shell/controls.h"
#include "valve/valve_calc.h"

namespace ventora::media_ui {
namespace {

// The rows of the property table: the field of properties_answer, its caption and unit.
struct row_spec {
    const char* field;
    const char* caption;
    const char* unit;
};
constexpr row_spec rows[] = {
    {"M", "摩尔质量 M", "kg/kmol"},
    {"T_sat", "饱和温度 T_sat", "K"},
    {"P_sat", "饱和蒸气压 P_sat", "MPa(绝压)"},
    {"q", "气化潜热 q", "kJ/kg"},
    {"rho_liquid", "饱和液体密度 ρ", "kg/m³"},
    {"k", "绝热指数 k（理想气体）", "—"},
    {"Z", "压缩系数 Z", "—"},
};

// 0 °C in K: the relief-rate window takes the saturation temperature in 摄氏度.
constexpr double zero_celsius = 273.15;

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A positive number from a box, or nothing ("0", empty and text give nothing).
std::optional<double> positive_in(const QLineEdit* box) {
    if (!box) return std::nullopt;
    const number n = parse_number(box->text().toStdString());
    if (n && *n > 0) return n;
    return std::nullopt;
}

const std::optional<double>& field_of(const media::properties_answer& a, std::string_view field) {
    if (field == "M") return a.M;
    if (field == "T_sat") return a.T_sat;
    if (field == "P_sat") return a.P_sat;
    if (field == "q") return a.q;
    if (field == "rho_liquid") return a.rho_liquid;
    if (field == "k") return a.k;
    return a.Z;
}

QString source_of(const media::properties_answer& a, std::string_view field) {
    for (const auto& [name, text] : a.sources)
        if (name == field) return qs(text);
    return {};
}

QString range_of(const media::substance& s, std::string_view field) {
    using namespace media;
    if (field == "T_sat") {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.6g～%.6g MPa", min_saturation_pressure(s),
                      max_saturation_pressure(s));
        return QString::fromUtf8(buffer);
    }
    if (field == "P_sat") return qs(range_text(s.psat.range));
    if (field == "q") return qs(range_text(s.hvap.range)) + QStringLiteral("，低于 ") +
                             QString::number(s.hvap.Tc) + QStringLiteral(" K");
    if (field == "rho_liquid") return qs(range_text(s.rhol.range));
    if (field == "k") return qs(range_text(s.cp.range));
    if (field == "Z") return QStringLiteral("0.95<Tr<1.05 且 Pr>0.8 及两相区不适用");
    return QStringLiteral("—");
}

bool checked_option(QWidget* window, const char* name) {
    const auto* option = window->findChild<QRadioButton*>(QString::fromLatin1(name));
    return option && option->isChecked();
}

}  // namespace

target_kind kind_of(const QWidget* window) {
    if (!window) return target_kind::none;
    const QString name = window->objectName();
    if (name == QLatin1String("form_fa")) return target_kind::relief;
    if (name == QLatin1String("form_anquanfa")) return target_kind::valve;
    if (name == QLatin1String("Form_pian")) return target_kind::disc;
    return target_kind::none;
}

media_dialog::media_dialog(QMdiSubWindow* source, QWidget* parent)
    : QDialog(parent), source_(source), kind_(kind_of(source)) {
    setObjectName(QStringLiteral("media_dialog"));
    setWindowTitle(QStringLiteral("介质物性"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    prefill();
    // The medium this window was last filled from
    const auto kept = source_ ? source_->property(fill_property).value<QList<media_fill>>()
                              : QList<media_fill>{};
    // (or, in a window filled from a case file, the medium the case names), else the first.
    const QString medium = !kept.isEmpty() ? kept.last().medium_id
                           : source_        ? source_->property(medium_property).toString()
                                            : QString();
    if (medium.isEmpty() || !select_medium(medium)) list_->setCurrentRow(0);
    recompute();
}

void media_dialog::build() {
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("media_search"));
    search_->setPlaceholderText(QStringLiteral("查找：中文名、英文名、分子式或 CAS 号"));
    search_->setClearButtonEnabled(true);
    left->addWidget(search_);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("media_list"));
    for (const media::substance& s : media::substances()) {
        auto* item = new QListWidgetItem(qs(s.name_zh) + QStringLiteral("  ") + qs(s.name_en) +
                                         QStringLiteral("  ") + qs(s.formula) + QStringLiteral("  ") +
                                         qs(s.cas));
        item->setData(Qt::UserRole, qs(s.id));
        list_->addItem(item);
    }
    list_->setMinimumWidth(300);
    left->addWidget(list_);
    top->addLayout(left, 2);

    auto* right = new QVBoxLayout;
    auto* state = new QGridLayout;
    T_box_ = new QLineEdit(this);
    T_box_->setObjectName(QStringLiteral("media_T"));
    P_box_ = new QLineEdit(this);
    P_box_->setObjectName(QStringLiteral("media_P"));
    auto* T_label = new QLabel(QStringLiteral("温度 T (K)："), this);
    T_label->setBuddy(T_box_);
    auto* P_label = new QLabel(kind_ == target_kind::relief ? QStringLiteral("泄放压力 P (绝压 MPa)：")
                                                            : QStringLiteral("压力 P (绝压 MPa)："),
                               this);
    P_label->setBuddy(P_box_);
    state->addWidget(T_label, 0, 0);
    state->addWidget(T_box_, 0, 1);
    state->addWidget(P_label, 1, 0);
    state->addWidget(P_box_, 1, 1);
    right->addLayout(state);
    state_note_ = new QLabel(this);
    state_note_->setObjectName(QStringLiteral("media_state_note"));
    state_note_->setWordWrap(true);
    right->addWidget(state_note_);
    right->addStretch();
    top->addLayout(right, 1);
    layout->addLayout(top);

    table_ = new QTableWidget(static_cast<int>(std::size(rows)), 5, this);
    table_->setObjectName(QStringLiteral("media_results"));
    table_->setHorizontalHeaderLabels({QStringLiteral("物性"), QStringLiteral("数值"),
                                       QStringLiteral("单位"), QStringLiteral("适用范围"),
                                       QStringLiteral("来源")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < static_cast<int>(std::size(rows)); ++r)
        table_->setItem(r, 0, new QTableWidgetItem(QString::fromUtf8(rows[r].caption)));
    table_->setMinimumHeight(250);
    layout->addWidget(table_);

    warnings_ = new QLabel(this);
    warnings_->setObjectName(QStringLiteral("media_warnings"));
    warnings_->setWordWrap(true);
    QPalette red = warnings_->palette();
    red.setColor(QPalette::WindowText, QColor(160, 0, 0));
    warnings_->setPalette(red);
    layout->addWidget(warnings_);

    fill_note_ = new QLabel(this);
    fill_note_->setObjectName(QStringLiteral("media_fill_note"));
    fill_note_->setWordWrap(true);
    layout->addWidget(fill_note_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    fill_button_ = new QPushButton(QStringLiteral("填入"), this);
    fill_button_->setObjectName(QStringLiteral("media_fill"));
    auto* close_button = new QPushButton(QStringLiteral("关闭"), this);
    close_button->setObjectName(QStringLiteral("media_close"));
    buttons->addWidget(fill_button_);
    buttons->addWidget(close_button);
    layout->addLayout(buttons);
    resize(900, 640);

    connect(search_, &QLineEdit::textChanged, this, &media_dialog::filter);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { recompute(); });
    connect(T_box_, &QLineEdit::textChanged, this, [this] { recompute(); });
    connect(P_box_, &QLineEdit::textChanged, this, [this] { recompute(); });
    connect(fill_button_, &QPushButton::clicked, this, &media_dialog::fill);
    connect(close_button, &QPushButton::clicked, this, &QDialog::reject);
}

void media_dialog::prefill() {
    QWidget* w = source_;
    switch (kind_) {
        case target_kind::relief:
            // The relief-rate window has no temperature of its own: the saturation temperature
            // at the relief pressure is what it asks for.
            T_box_->setEnabled(false);
            state_note_->setText(QStringLiteral("温度由泄放压力下的饱和温度求得。"));
            return;
        case target_kind::valve: {
            if (const auto T = positive_in(w->findChild<QLineEdit*>(QStringLiteral("Text1(5)"))))
                T_box_->setText(QString::number(*T, 'g', 10));
            const auto Ps = positive_in(w->findChild<QLineEdit*>(QStringLiteral("Text1(1)")));
            valve::valve_medium medium = valve::valve_medium::gas;
            if (checked_option(w, "Option3(1)")) medium = valve::valve_medium::saturated_steam;
            if (checked_option(w, "Option3(2)")) medium = valve::valve_medium::liquid;
            if (const number Pd = Ps ? valve::discharge_pressure(medium, *Ps) : std::nullopt) {
                P_box_->setText(QString::number(*Pd, 'g', 10));
                state_note_->setText(QStringLiteral("压力为由整定压力 Ps = ") +
                                     QString::number(*Ps, 'g', 10) +
                                     QStringLiteral(" MPa 求得的排放压力（绝压）。"));
            }
            return;
        }
        case target_kind::disc:
            if (const auto T = positive_in(w->findChild<QLineEdit*>(QStringLiteral("Text3"))))
                T_box_->setText(QString::number(*T, 'g', 10));
            if (const auto p_b = positive_in(w->findChild<QLineEdit*>(QStringLiteral("Text1"))))
                P_box_->setText(QString::number(*p_b, 'g', 10));
            state_note_->setText(QStringLiteral("压力为设计爆破压力（绝压）。"));
            return;
        case target_kind::none:
            state_note_->setText(QStringLiteral("未从计算窗口打开：仅查看物性，不填入。"));
            return;
    }
}

bool media_dialog::select_medium(const QString& key) {
    const media::substance* s = media::find_substance(key.toStdString());
    if (!s) return false;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->data(Qt::UserRole).toString() == qs(s->id)) {
            list_->item(i)->setHidden(false);
            list_->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void media_dialog::filter(const QString& text) {
    const QString needle = text.trimmed();
    int first_visible = -1;
    for (int i = 0; i < list_->count(); ++i) {
        const bool shown = needle.isEmpty() || list_->item(i)->text().contains(needle, Qt::CaseInsensitive);
        list_->item(i)->setHidden(!shown);
        if (shown && first_visible < 0) first_visible = i;
    }
    const QListWidgetItem* current = list_->currentItem();
    if ((!current || current->isHidden()) && first_visible >= 0) list_->setCurrentRow(first_visible);
}

void media_dialog::recompute() {
    media::properties_query query;
    if (const QListWidgetItem* item = list_->currentItem())
        query.substance = item->data(Qt::UserRole).toString().toStdString();
    if (T_box_->isEnabled()) {
        const number T = parse_number(T_box_->text().toStdString());
        if (T) query.T = T;
    }
    const number P = parse_number(P_box_->text().toStdString());
    if (P) query.P = P;
    answer_ = media::properties(query);
    state_T_ = query.T ? query.T : answer_.T_sat;
    show_answer();
}

void media_dialog::show_answer() {
    const media::substance* s = answer_.medium;
    for (int r = 0; r < static_cast<int>(std::size(rows)); ++r) {
        const std::optional<double>& v = s ? field_of(answer_, rows[r].field) : std::optional<double>{};
        QString value = v ? QString::number(*v, 'g', 6) : QStringLiteral("—");
        if (v && std::string_view(rows[r].field) == "T_sat")
            value += QStringLiteral(" (") + QString::number(*v - zero_celsius, 'f', 2) +
                     QStringLiteral(" ℃)");
        const QString source = s ? source_of(answer_, rows[r].field) : QString();
        auto* value_item = new QTableWidgetItem(value);
        value_item->setData(Qt::UserRole, v ? QVariant(*v) : QVariant());
        table_->setItem(r, 1, value_item);
        table_->setItem(r, 2, new QTableWidgetItem(QString::fromUtf8(rows[r].unit)));
        table_->setItem(r, 3, new QTableWidgetItem(s ? range_of(*s, rows[r].field) : QString()));
        auto* source_item = new QTableWidgetItem(qs(media::publication(source.toStdString())));
        source_item->setToolTip(source);
        table_->setItem(r, 4, source_item);
    }
    QStringList warnings;
    if (!answer_.error.empty()) warnings << qs(answer_.error);
    for (const std::string& w : answer_.warnings) warnings << qs(w);
    warnings_->setText(warnings.join(QLatin1Char('\n')));

    const QList<filled_box> boxes = planned_boxes();
    QStringList parts;
    for (const filled_box& b : boxes) parts << b.quantity + QStringLiteral(" = ") + b.text;
    if (kind_ == target_kind::none || !source_) {
        fill_note_->setText(QString());
    } else if (boxes.isEmpty()) {
        fill_note_->setText(QStringLiteral("当前窗口的介质类型与状态下无可填入的数值。"));
    } else {
        fill_note_->setText(QStringLiteral("填入：") + parts.join(QStringLiteral("；")));
    }
    fill_button_->setEnabled(!boxes.isEmpty());
}

QList<filled_box> media_dialog::planned_boxes() const {
    QList<filled_box> boxes;
    if (!source_ || !answer_.medium) return boxes;
    QWidget* w = source_;
    const media::properties_answer& a = answer_;
    auto add = [&](const char* box, const char* quantity, const std::optional<double>& v,
                   const QString& text, std::string_view field) {
        if (!v || !w->findChild<QLineEdit*>(QString::fromLatin1(box))) return;
        boxes.append({QString::fromLatin1(box), QString::fromLatin1(quantity), text, source_of(a, field)});
    };
    auto gas_data = [&](const char* M_box, const char* k_box, const char* Z_box) {
        add(M_box, "M", a.M, a.M ? qs(format_double(a.M)) : QString(), "M");
        add(k_box, "k", a.k, a.k ? QString::number(*a.k, 'f', 4) : QString(), "k");
        add(Z_box, "Z", a.Z, a.Z ? QString::number(*a.Z, 'f', 4) : QString(), "Z");
    };
    auto density = [&](const char* box) {
        add(box, "rho", a.rho_liquid, a.rho_liquid ? QString::number(*a.rho_liquid, 'f', 1) : QString(),
            "rho_liquid");
    };
    switch (kind_) {
        case target_kind::relief:
            add("Text6(3)", "q", a.q, a.q ? QString::number(*a.q, 'f', 1) : QString(), "q");
            // The saturation temperature counts only for the insulated vessel.
            if (checked_option(w, "Option3(7)") && a.T_sat)
                add("Text6(5)", "t", a.T_sat, QString::number(*a.T_sat - zero_celsius, 'f', 1), "T_sat");
            break;
        case target_kind::valve:
            // Gas data for a gas (or before a medium is chosen), ρ for a liquid; saturated steam
            // takes none of these.
            if (checked_option(w, "Option3(2)")) density("Text2");
            else if (!checked_option(w, "Option3(1)")) gas_data("Text1(2)", "Text1(3)", "Text1(4)");
            break;
        case target_kind::disc:
            if (checked_option(w, "Option5")) density("Text7");
            else if (!checked_option(w, "Option6")) gas_data("Text2", "Text5", "Text4");
            break;
        case target_kind::none:
            break;
    }
    return boxes;
}

void media_dialog::fill() {
    const QList<filled_box> boxes = planned_boxes();
    if (boxes.isEmpty() || !source_) return;
    for (const filled_box& b : boxes)
        source_->findChild<QLineEdit*>(b.object_name)->setText(b.text);

    media_fill record;
    record.medium_id = qs(answer_.medium->id);
    record.medium_name = qs(answer_.medium->name_zh);
    record.T = state_T_;
    const number P = parse_number(P_box_->text().toStdString());
    record.P = P && *P > 0 ? P : answer_.P_sat;
    record.boxes = boxes;

    // The window keeps, for each box, the fill that wrote it last: earlier fills lose the boxes
    // this one wrote again, and a fill with no box left goes.
    auto kept = source_->property(fill_property).value<QList<media_fill>>();
    for (media_fill& earlier : kept) {
        earlier.boxes.removeIf([&](const filled_box& old) {
            return std::any_of(boxes.begin(), boxes.end(),
                               [&](const filled_box& b) { return b.object_name == old.object_name; });
        });
    }
    kept.removeIf([](const media_fill& f) { return f.boxes.isEmpty(); });
    kept.append(record);
    source_->setProperty(fill_property, QVariant::fromValue(kept));
    source_->setProperty(medium_property, record.medium_id);

    // Each box also carries where its value came from, for the book, as long as it holds the
    // text written (see attach_texts).
    QString state = record.medium_name;
    if (record.T) state += QStringLiteral("，T = %1 K").arg(*record.T, 0, 'g', 6);
    if (record.P) state += QStringLiteral("，P = %1 MPa（绝压）").arg(*record.P, 0, 'g', 6);
    for (const filled_box& b : boxes) {
        QLineEdit* box = source_->findChild<QLineEdit*>(b.object_name);
        box->setProperty(source_text_property, b.text);
        box->setProperty(source_property, state + QStringLiteral("；") + b.source);
    }

    emit filled(record);
    accept();
}

}  // namespace ventora::media_ui
