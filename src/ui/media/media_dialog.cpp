#include "media/media_dialog.h"

#include <algorithm>
#include <cmath>

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
#include "regulation/discharge.h"
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

// Two readings of one state: a pressure the dialog shows with ten digits reads back within a few
// parts in 10¹⁰ of the value it was written from.
bool same_value(double a, double b) { return std::abs(a - b) <= 1e-9 * std::max(std::abs(a), std::abs(b)); }

// The boxes that hold a device window's state, and the boxes of the gas data that depend on it.
struct state_boxes {
    const char* T;         // the gas temperature, K
    const char* pressure;  // Ps (gauge) in the valve window, p_b (absolute) in the disc window
    const char* k;
    const char* Z;
    const char* C;         // the valve's gas characteristic coefficient; none in the disc window
};
constexpr state_boxes valve_boxes{"Text1(5)", "Text1(1)", "Text1(3)", "Text1(4)", "Text1(0)"};
constexpr state_boxes disc_boxes{"Text3", "Text1", "Text5", "Text4", nullptr};

const state_boxes* boxes_of(target_kind kind) {
    if (kind == target_kind::valve) return &valve_boxes;
    if (kind == target_kind::disc) return &disc_boxes;
    return nullptr;
}

QLineEdit* box_named(QWidget* window, const char* name) {
    return name ? window->findChild<QLineEdit*>(QString::fromLatin1(name)) : nullptr;
}

// The state a device window holds now: its T, and the absolute pressure its gas data is taken at
// (the valve's discharge pressure from Ps, the disc's design burst pressure).
struct window_state {
    std::optional<double> T, P, Ps;
};

window_state state_of(QWidget* window, target_kind kind) {
    window_state state;
    const state_boxes* b = boxes_of(kind);
    if (!window || !b) return state;
    state.T = positive_in(box_named(window, b->T));
    const std::optional<double> pressure = positive_in(box_named(window, b->pressure));
    if (kind == target_kind::disc) {
        state.P = pressure;
    } else if (pressure) {
        state.Ps = pressure;
        valve::valve_medium medium = valve::valve_medium::gas;
        if (checked_option(window, "Option3(1)")) medium = valve::valve_medium::saturated_steam;
        if (checked_option(window, "Option3(2)")) medium = valve::valve_medium::liquid;
        if (const number Pd = valve::discharge_pressure(medium, *pressure)) state.P = *Pd;
    }
    return state;
}

// Whether the window's gas data boxes are the ones in use: its medium is gas, or none is chosen.
bool takes_gas_data(QWidget* window, target_kind kind) {
    if (kind == target_kind::valve) return !checked_option(window, "Option3(1)") && !checked_option(window, "Option3(2)");
    if (kind == target_kind::disc) return !checked_option(window, "Option5") && !checked_option(window, "Option6");
    return false;
}

QString kelvin(double T) { return QString::number(T, 'g', 10); }
QString k_text(double k) { return QString::number(k, 'f', 4); }
QString Z_text(double Z) { return QString::number(Z, 'f', 4); }

// C as the regulation takes it from k: the whole part of 520·√(k·(2/(k+1))^((k+1)/(k−1))).
std::optional<double> characteristic_of(const QString& k_box_text) {
    const number k = parse_number(k_box_text.toStdString());
    if (!k || *k <= 1.0) return std::nullopt;
    const checked C = floor(regulation::gas_characteristic_coefficient(*k));
    if (C.faulted()) return std::nullopt;
    return C.value();
}

QString characteristic_source(const QString& k_box_text) {
    return QStringLiteral("由填入的 k = ") + k_box_text +
           QStringLiteral(" 按 C = 520·√(k·(2/(k+1))^{(k+1)/(k−1)}) 求得，取整数部分");
}

// The state a fill's value belongs to, as the book's source line names it.
QString state_text(const QString& medium_name, std::optional<double> T, std::optional<double> P) {
    QString state = medium_name;
    if (T) state += QStringLiteral("，T = %1 K").arg(*T, 0, 'g', 6);
    if (P) state += QStringLiteral("，P = %1 MPa（绝压）").arg(*P, 0, 'g', 6);
    return state;
}

void mark_source(QLineEdit* box, const QString& text, const QString& source) {
    box->setProperty(source_text_property, text);
    box->setProperty(source_property, source.isEmpty() ? QVariant() : QVariant(source));
}

// The state a case named beside its medium, kept on the window for the next save.
constexpr const char* kept_T_property = "ventora_medium_T";
constexpr const char* kept_P_property = "ventora_medium_P";

// True while 填入 writes a window's boxes, so that the window's own state follower does not act
// on a state that is being written.
bool writing_fill = false;

// Keeps the gas data a fill wrote (k, Z and the valve's C) at the state the window holds: when T,
// the pressure or the medium change after a fill, each such box that still holds the text written
// is written again for the new state, or emptied where the library has no value there (a Z never
// stays beside a T or a pressure it was not taken at). A box the engineer typed over is theirs.
class state_follower : public QObject {
public:
    state_follower(QMdiSubWindow* window, target_kind kind) : QObject(window), window_(window), kind_(kind) {
        setObjectName(QStringLiteral("media_state_follower"));
        const state_boxes* b = boxes_of(kind);
        for (const char* name : {b->T, b->pressure})
            if (QLineEdit* box = box_named(window, name))
                connect(box, &QLineEdit::textChanged, this, [this] { follow(); });
        for (QRadioButton* option : window->findChildren<QRadioButton*>())
            connect(option, &QRadioButton::toggled, this, [this] { follow(); });
        if (QLineEdit* k = box_named(window, b->k)) connect(k, &QLineEdit::textChanged, this, [this] { follow_k(); });
    }

    void follow() {
        if (writing_fill || busy_ || !window_ || !takes_gas_data(window_, kind_)) return;
        busy_ = true;
        auto kept = window_->property(fill_property).value<QList<media_fill>>();
        const window_state now = state_of(window_, kind_);
        bool changed = false;
        for (media_fill& fill : kept) {
            const bool same_T = fill.T && now.T ? same_value(*fill.T, *now.T) : fill.T == now.T;
            const bool same_P = fill.P && now.P ? same_value(*fill.P, *now.P) : fill.P == now.P;
            if (same_T && same_P) continue;
            media::properties_query query{fill.medium_id.toStdString(), now.T, std::nullopt};
            const media::properties_answer at_T = now.T ? media::properties(query) : media::properties_answer{};
            query.P = now.P;
            const media::properties_answer at_state =
                now.T && now.P ? media::properties(query) : media::properties_answer{};
            const QString state = state_text(fill.medium_name, now.T, now.P);
            for (filled_box& box : fill.boxes) {
                const media::properties_answer* answer = nullptr;
                std::optional<double> value;
                QString text;
                if (box.quantity == QLatin1String("k")) {
                    answer = &at_T;
                    if ((value = at_T.k)) text = k_text(*value);
                } else if (box.quantity == QLatin1String("Z")) {
                    answer = &at_state;
                    if ((value = at_state.Z)) text = Z_text(*value);
                } else {
                    continue;
                }
                QLineEdit* edit = box_named(window_, box.object_name.toLatin1().constData());
                if (!edit || edit->text() != box.text) continue;
                box.text = text;
                box.source = value ? source_of(*answer, box.quantity == QLatin1String("k") ? "k" : "Z") : QString();
                mark_source(edit, text, value ? state + QStringLiteral("；") + box.source : QString());
                if (text != edit->text()) edit->setText(text);
            }
            fill.T = fill.asked_T = now.T;
            fill.P = fill.asked_P = now.P;
            changed = true;
        }
        if (changed) window_->setProperty(fill_property, QVariant::fromValue(kept));
        busy_ = false;
        follow_k();
    }

    // C written from a k follows that k box: while C holds the text written, it is the whole
    // part of the formula at the k the window holds now, or empty where that k is not above 1.
    void follow_k() {
        const state_boxes* b = boxes_of(kind_);
        if (writing_fill || busy_ || !window_ || !b->C) return;
        QLineEdit* C_box = box_named(window_, b->C);
        const QLineEdit* k_box = box_named(window_, b->k);
        auto kept = window_->property(fill_property).value<QList<media_fill>>();
        bool changed = false;
        for (media_fill& fill : kept) {
            for (filled_box& box : fill.boxes) {
                if (box.quantity != QLatin1String("C") || C_box->text() != box.text) continue;
                const std::optional<double> C = characteristic_of(k_box->text());
                const QString text = C ? qs(format_double(*C)) : QString();
                if (text == box.text && C_box->property(source_property).toString() ==
                                            characteristic_source(k_box->text()))
                    continue;
                box.text = text;
                box.source = C ? characteristic_source(k_box->text()) : QString();
                mark_source(C_box, text, box.source);
                if (text != C_box->text()) C_box->setText(text);
                changed = true;
            }
        }
        if (changed) window_->setProperty(fill_property, QVariant::fromValue(kept));
    }

private:
    QPointer<QMdiSubWindow> window_;
    target_kind kind_;
    bool busy_ = false;
};

void follow_state(QMdiSubWindow* window, target_kind kind) {
    if (!boxes_of(kind) || window->findChild<state_follower*>(QStringLiteral("media_state_follower"),
                                                              Qt::FindDirectChildrenOnly))
        return;
    new state_follower(window, kind);
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
            return;
        case target_kind::valve: {
            if (const auto T = positive_in(w->findChild<QLineEdit*>(QStringLiteral("Text1(5)"))))
                T_box_->setText(QString::number(*T, 'g', 10));
            const auto Ps = positive_in(w->findChild<QLineEdit*>(QStringLiteral("Text1(1)")));
            valve::valve_medium medium = valve::valve_medium::gas;
            if (checked_option(w, "Option3(1)")) medium = valve::valve_medium::saturated_steam;
            if (checked_option(w, "Option3(2)")) medium = valve::valve_medium::liquid;
            if (const number Pd = Ps ? valve::discharge_pressure(medium, *Ps) : std::nullopt)
                P_box_->setText(QString::number(*Pd, 'g', 10));
            return;
        }
        case target_kind::disc:
            if (const auto T = positive_in(w->findChild<QLineEdit*>(QStringLiteral("Text3"))))
                T_box_->setText(QString::number(*T, 'g', 10));
            if (const auto p_b = positive_in(w->findChild<QLineEdit*>(QStringLiteral("Text1"))))
                P_box_->setText(QString::number(*p_b, 'g', 10));
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

    // The state a fill is for, and where each part of it comes from: the window's own T and
    // pressure, a value typed here, or the saturation temperature at the pressure.
    const window_state held = state_of(source_, kind_);
    const std::optional<double> typed_T = T_box_->isEnabled() ? positive_in(T_box_) : std::nullopt;
    if (typed_T) {
        state_T_ = typed_T;
        T_from_ = held.T && same_value(*held.T, *typed_T) ? origin::window : origin::dialog;
    } else {
        state_T_ = query.T ? query.T : answer_.T_sat;
        T_from_ = answer_.T_sat && !query.T ? origin::saturation : origin::none;
    }
    state_P_ = positive_in(P_box_);
    P_from_ = !state_P_ ? origin::none
              : held.P && same_value(*held.P, *state_P_) ? origin::window
                                                          : origin::dialog;
    show_answer();
}

QString media_dialog::origin_text(origin from) {
    switch (from) {
        case origin::window: return QStringLiteral("取自窗口");
        case origin::dialog: return QStringLiteral("本对话框输入");
        case origin::saturation: return QStringLiteral("该压力下的饱和温度");
        case origin::none: break;
    }
    return QStringLiteral("未给出");
}

void media_dialog::show_state() {
    if (kind_ == target_kind::none || !source_) return;
    QString text = QStringLiteral("填入所用状态：T = ");
    text += state_T_ ? QString::number(*state_T_, 'g', 6) + QStringLiteral(" K（") + origin_text(T_from_) +
                           QStringLiteral("）")
                     : QStringLiteral("—（未给出）");
    text += QStringLiteral("；P = ");
    text += state_P_ ? QString::number(*state_P_, 'g', 6) + QStringLiteral(" MPa 绝压（") + origin_text(P_from_) +
                           QStringLiteral("）")
                     : QStringLiteral("—（未给出）");
    if (kind_ == target_kind::valve) {
        if (const auto Ps = state_of(source_, kind_).Ps)
            text += QStringLiteral("\n窗口的排放压力由整定压力 Ps = ") + QString::number(*Ps, 'g', 10) +
                    QStringLiteral(" MPa 求得。");
    } else if (kind_ == target_kind::disc) {
        text += QStringLiteral("\n窗口的压力为设计爆破压力（绝压）。");
    } else {
        text += QStringLiteral("\n温度由泄放压力下的饱和温度求得。");
    }
    state_note_->setText(text);
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

    show_state();
    const QList<filled_box> boxes = planned_boxes();
    QStringList parts;
    for (const filled_box& b : boxes) parts << b.quantity + QStringLiteral(" = ") + b.text;
    QString note;
    if (kind_ == target_kind::none || !source_) {
        note.clear();
    } else if (boxes.isEmpty()) {
        note = QStringLiteral("当前窗口的介质类型与状态下无可填入的数值。");
    } else {
        note = QStringLiteral("填入：") + parts.join(QStringLiteral("；"));
    }
    for (const QString& why : std::as_const(not_filled_)) note += QLatin1Char('\n') + why;
    fill_note_->setText(note);
    fill_button_->setEnabled(!boxes.isEmpty());
}

QList<filled_box> media_dialog::planned_boxes() const {
    QList<filled_box> boxes;
    not_filled_.clear();
    if (!source_ || !answer_.medium) return boxes;
    QWidget* w = source_;
    const media::properties_answer& a = answer_;
    auto add = [&](const char* box, const char* quantity, const std::optional<double>& v,
                   const QString& text, std::string_view field) {
        if (!v || !w->findChild<QLineEdit*>(QString::fromLatin1(box))) return;
        boxes.append({QString::fromLatin1(box), QString::fromLatin1(quantity), text, source_of(a, field)});
    };
    // M needs no state; k belongs to T and Z to T and the pressure, so each is written only for
    // the state the window holds after writing: T goes with them where the window did not hold
    // the T used, and Z only at the window's own pressure. C goes with k.
    auto gas_data = [&](const state_boxes& b, const char* M_box) {
        add(M_box, "M", a.M, a.M ? qs(format_double(a.M)) : QString(), "M");
        const bool Z_at_window = P_from_ == origin::window;
        // A saturation temperature stands for the window's state only at the window's pressure.
        if (T_from_ == origin::saturation && !Z_at_window) {
            if (a.k || a.Z)
                not_filled_ << QStringLiteral("k、Z 未填入：温度是此处压力下的饱和温度，而此压力不是窗口的；请给出温度 T。");
            return;
        }
        const bool T_dependent = state_T_ && (a.k || (a.Z && Z_at_window));
        if (T_dependent && T_from_ != origin::window) {
            const QString T_source = T_from_ == origin::saturation
                                         ? source_of(a, "T_sat")
                                         : QStringLiteral("在介质物性中给定，随 k、Z 一并填入");
            if (w->findChild<QLineEdit*>(QString::fromLatin1(b.T)))
                boxes.append({QString::fromLatin1(b.T), QStringLiteral("T"), kelvin(*state_T_), T_source});
        }
        if (state_T_) add(b.k, "k", a.k, a.k ? k_text(*a.k) : QString(), "k");
        if (a.k && state_T_ && b.C) {
            const QString k_written = k_text(*a.k);
            if (const std::optional<double> C = characteristic_of(k_written))
                boxes.append({QString::fromLatin1(b.C), QStringLiteral("C"), qs(format_double(*C)),
                              characteristic_source(k_written)});
        }
        if (!a.Z) return;
        if (Z_at_window) {
            add(b.Z, "Z", a.Z, Z_text(*a.Z), "Z");
            return;
        }
        const window_state held = state_of(w, kind_);
        if (!held.P)
            not_filled_ << (kind_ == target_kind::valve
                                ? QStringLiteral("Z 未填入：窗口未输入整定压力 Ps，排放压力未知。")
                                : QStringLiteral("Z 未填入：窗口未输入设计爆破压力 p_b。"));
        else
            not_filled_ << QStringLiteral("Z 未填入：此处的压力与窗口的 P = %1 MPa（绝压）不同，Z 只按窗口的状态填入。")
                               .arg(*held.P, 0, 'g', 10);
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
            else if (!checked_option(w, "Option3(1)")) gas_data(valve_boxes, "Text1(2)");
            break;
        case target_kind::disc:
            if (checked_option(w, "Option5")) density("Text7");
            else if (!checked_option(w, "Option6")) gas_data(disc_boxes, "Text2");
            break;
        case target_kind::none:
            break;
    }
    return boxes;
}

void media_dialog::fill() {
    const QList<filled_box> boxes = planned_boxes();
    if (boxes.isEmpty() || !source_) return;
    writing_fill = true;
    for (const filled_box& b : boxes)
        source_->findChild<QLineEdit*>(b.object_name)->setText(b.text);
    writing_fill = false;

    record(boxes);
    emit filled(source_->property(fill_property).value<QList<media_fill>>().constLast());
    accept();
}

int media_dialog::adopt() {
    QList<filled_box> boxes = planned_boxes();
    if (!source_) return 0;
    boxes.removeIf([this](const filled_box& b) {
        const QLineEdit* box = source_->findChild<QLineEdit*>(b.object_name);
        return !box || box->text() != b.text;
    });
    if (!boxes.isEmpty()) record(boxes);
    return int(boxes.size());
}

void media_dialog::record(const QList<filled_box>& boxes) {
    media_fill record;
    record.medium_id = qs(answer_.medium->id);
    record.medium_name = qs(answer_.medium->name_zh);
    record.T = state_T_;
    record.P = state_P_ ? state_P_ : answer_.P_sat;
    if (T_box_->isEnabled()) record.asked_T = positive_in(T_box_);
    record.asked_P = state_P_;
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
    const QString state = state_text(record.medium_name, record.T, record.P);
    for (const filled_box& b : boxes) {
        // C names the k it comes from rather than a state of the medium; a saturation
        // temperature says that it is one.
        QString line = state + QStringLiteral("；") + b.source;
        if (b.quantity == QLatin1String("C")) line = b.source;
        else if (b.quantity == QLatin1String("T") && T_from_ == origin::saturation)
            line = state + QStringLiteral("（T 为此压力下的饱和温度）；") + b.source;
        mark_source(source_->findChild<QLineEdit*>(b.object_name), b.text, line);
    }
    follow_state(source_, kind_);
}

kept_medium kept_medium_of(const QWidget* window) {
    kept_medium kept;
    if (!window) return kept;
    const auto fills = window->property(fill_property).value<QList<media_fill>>();
    if (!fills.isEmpty()) {
        kept.id = fills.last().medium_id;
        kept.T = fills.last().asked_T;
        kept.P = fills.last().asked_P;
    } else {
        // Opened from a case whose values the boxes no longer hold: the case's own word stays.
        kept.id = window->property(medium_property).toString();
        const QVariant T = window->property(kept_T_property), P = window->property(kept_P_property);
        if (T.isValid()) kept.T = T.toDouble();
        if (P.isValid()) kept.P = P.toDouble();
    }
    return kept;
}

void restore_fill(QMdiSubWindow* window, const kept_medium& kept) {
    if (!window) return;
    window->setProperty(medium_property, kept.id);
    window->setProperty(kept_T_property, kept.T ? QVariant(*kept.T) : QVariant());
    window->setProperty(kept_P_property, kept.P ? QVariant(*kept.P) : QVariant());
    if (kept.id.isEmpty()) return;
    media_dialog dialog(window);
    if (!dialog.select_medium(kept.id)) return;
    dialog.findChild<QLineEdit*>(QStringLiteral("media_T"))->setText(kept.T ? QString::number(*kept.T, 'g', 17) : QString());
    dialog.findChild<QLineEdit*>(QStringLiteral("media_P"))->setText(kept.P ? QString::number(*kept.P, 'g', 17) : QString());
    dialog.adopt();
}

}  // namespace ventora::media_ui
