#include "system/system_window.h"

#include <cmath>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "book/book_numbers.h"
#include "media/media_dialog.h"
#include "media/media.h"
#include "media/properties.h"
#include "shell/controls.h"
#include "shell/fonts.h"
#include "shell/twips.h"
#include "shell/window_host.h"
#include "shell/workflow_state.h"
#include "valve/valve_calc.h"

namespace ventora::system_ui {
namespace {

using valve::valve_medium;

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// A figure as the book prints it: five significant digits, the whole part complete.
QString figure(double value) { return qs(book::rounded_text(value, book::book_digits)); }
QString figure(const number& value) { return value ? figure(*value) : QStringLiteral("—"); }

// The accounts' notation for plain text: W_{s} as W_s, mm^{2} as mm², A^{0.82} as A^0.82.
QString plain(std::string_view notation) {
    QString text = qs(notation);
    text.replace(QStringLiteral("^{2}"), QStringLiteral("²"));
    text.replace(QStringLiteral("^{3}"), QStringLiteral("³"));
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if ((text[i] == '_' || text[i] == '^') && i + 1 < text.size() && text[i + 1] == '{') {
            const qsizetype close = text.indexOf('}', i + 2);
            if (close > 0) {
                out += text[i];
                out += text.mid(i + 2, close - i - 2);
                i = close;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

number typed(const QString& text) { return parse_number(text.toStdString()); }

const char* medium_caption(valve_medium m) {
    switch (m) {
        case valve_medium::gas: return "气体";
        case valve_medium::saturated_steam: return "饱和蒸汽";
        case valve_medium::liquid: return "液体";
    }
    return "";
}

const char* valve_caption(std::optional<valve::valve_type> t) {
    if (!t) return "";
    switch (*t) {
        case valve::valve_type::full_lift: return "全启式安全阀";
        case valve::valve_type::micro_lift_ring: return "带调节圈的微启式安全阀";
        case valve::valve_type::micro_lift_plain: return "无调节圈的微启式安全阀";
    }
    return "";
}

// The form's fields by name, for the boxes and the account's inputs.
struct field_slot {
    const char* name;
    QString forms::system_form::*member;
};
const field_slot form_fields[] = {
    {"n", &forms::system_form::n},
    {"F_d", &forms::system_form::F_d},
    {"inlet_D", &forms::system_form::inlet_D},
    {"inlet_L", &forms::system_form::inlet_L},
    {"inlet_K", &forms::system_form::inlet_K},
    {"inlet_eps", &forms::system_form::inlet_eps},
    {"outlet_D", &forms::system_form::outlet_D},
    {"outlet_L", &forms::system_form::outlet_L},
    {"outlet_K", &forms::system_form::outlet_K},
    {"outlet_eps", &forms::system_form::outlet_eps},
    {"P_e", &forms::system_form::P_e},
    {"A_o", &forms::system_form::A_o},
    {"P_2", &forms::system_form::P_2},
    {"mu", &forms::system_form::mu},
    {"rho", &forms::system_form::rho},
    {"k", &forms::system_form::k},
    {"T", &forms::system_form::T},
    {"M", &forms::system_form::M},
    {"fire_A", &forms::system_form::fire_A},
    {"fire_F", &forms::system_form::fire_F},
};

// The safety-valve window in the same workspace, whose medium-library fill names the medium.
const QMdiSubWindow* valve_window_of(const QMdiSubWindow* self) {
    if (!self->mdiArea()) return nullptr;
    for (const QMdiSubWindow* w : self->mdiArea()->subWindowList())
        if (w->objectName() == QStringLiteral("form_anquanfa")) return w;
    return nullptr;
}

}  // namespace

system::system_input typed_input(const forms::system_form& form) {
    system::system_input in;
    in.n = typed(form.n);
    in.disc_under_valve = form.disc;
    in.F_d = typed(form.F_d);
    if (form.inlet_asked())
        in.inlet = system::line{typed(form.inlet_D), typed(form.inlet_L), typed(form.inlet_K), typed(form.inlet_eps)};
    if (form.outlet_asked())
        in.outlet =
            system::line{typed(form.outlet_D), typed(form.outlet_L), typed(form.outlet_K), typed(form.outlet_eps)};
    in.P_outlet = typed(form.P_e);
    in.bellows = form.bellows;
    in.open_discharge = form.open_discharge;
    in.A_o = typed(form.A_o);
    in.P_2 = typed(form.P_2);
    in.medium.mu = typed(form.mu);
    in.medium.rho = typed(form.rho);
    in.medium.k = typed(form.k);
    in.medium.T = typed(form.T);
    in.medium.M = typed(form.M);
    if (form.fire_asked()) in.fire = system::fire_input{typed(form.fire_A), typed(form.fire_F), form.drainage};
    return in;
}

system_window::system_window(window_host& host, QWidget* parent) : QMdiSubWindow(parent), host_(host) {
    setObjectName(QStringLiteral("frm_system"));
    setWindowTitle(QStringLiteral("泄放系统校核"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    build();
    show_route();
    withdraw({});
    // A new relief rate or valve press: the checks shown were drawn from the old route.
    connect(&workflow_events(), &workflow_notifier::route_changed, this, [this] {
        show_route();
        if (result_) withdraw(QStringLiteral("路线已重新计算（安全泄放量或安全阀），原校核结果已失效，请重新校核。"));
        else withdraw({});
    });
}

QLineEdit* system_window::add_row(QGridLayout* grid, int row, const char* field, const QString& caption,
                                  const QString& unit, const QString& placeholder) {
    auto* label = new QLabel(caption);
    auto* box = new QLineEdit;
    box->setObjectName(QStringLiteral("box_") + QString::fromLatin1(field));
    box->setPlaceholderText(placeholder);
    box->setFixedWidth(twips_to_px(1300));
    label->setBuddy(box);
    box->setAccessibleName(caption + (unit.isEmpty() ? QString() : QStringLiteral("（") + unit + QStringLiteral("）")));
    auto* unit_label = new QLabel(unit);
    unit_label->setObjectName(QStringLiteral("unit_") + QString::fromLatin1(field));
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(unit_label, row, 2);
    boxes_[QString::fromLatin1(field)] = box;
    connect(box, &QLineEdit::textEdited, this, [this] {
        if (result_) withdraw(QStringLiteral("输入已修改，原校核结果已失效，请重新校核。"));
    });
    return box;
}

void system_window::build() {
    auto* client = new QWidget;
    client->setObjectName(QStringLiteral("frm_system_client"));
    client->setFont(song_font(9));
    auto* outer = new QVBoxLayout(client);

    route_ = new QLabel;
    route_->setObjectName(QStringLiteral("route"));
    route_->setWordWrap(true);
    outer->addWidget(route_);

    auto* columns = new QHBoxLayout;
    outer->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);
    auto group = [](const QString& caption, const char* name, QVBoxLayout* column) {
        auto* box = new QGroupBox(caption);
        box->setObjectName(QString::fromLatin1(name));
        auto* grid = new QGridLayout(box);
        grid->setColumnStretch(3, 1);
        column->addWidget(box);
        return grid;
    };
    auto checkable = [this](QGridLayout* grid, int row, const char* name, const QString& caption) {
        auto* check = new QCheckBox(caption);
        check->setObjectName(QString::fromLatin1(name));
        grid->addWidget(check, row, 0, 1, 4);
        connect(check, &QCheckBox::toggled, this, [this] {
            if (result_ && !restoring_) withdraw(QStringLiteral("输入已修改，原校核结果已失效，请重新校核。"));
        });
        return check;
    };

    QGridLayout* valves = group(QStringLiteral("安全阀"), "group_valves", left);
    add_row(valves, 0, "n", QStringLiteral("台数 n"), QStringLiteral("台"), QStringLiteral("默认 1"));
    bellows_ = checkable(valves, 1, "check_bellows", QStringLiteral("平衡波纹管式安全阀"));
    disc_ = checkable(valves, 2, "check_disc", QStringLiteral("每台安全阀前设爆破片"));
    add_row(valves, 3, "F_d", QStringLiteral("认证组合系数 F_d"), QString(), QStringLiteral("默认 0.9"));

    QGridLayout* medium = group(QStringLiteral("介质（泄放状态）"), "group_medium", left);
    add_row(medium, 0, "mu", QStringLiteral("黏度 μ"), QStringLiteral("mPa·s"));
    add_row(medium, 1, "rho", QStringLiteral("密度 ρ"), QStringLiteral("kg/m³"));
    library_ = new QPushButton(QStringLiteral("介质库取值"));
    library_->setObjectName(QStringLiteral("button_library"));
    library_->setToolTip(QStringLiteral("泄放状态下的 ρ 取自介质库（饱和蒸汽：水；液体：安全阀窗口选取的介质）"));
    medium->addWidget(library_, 1, 3);
    connect(library_, &QPushButton::clicked, this, &system_window::fill_from_library);
    add_row(medium, 2, "k", QStringLiteral("蒸汽 k（反作用力）"), QString());
    add_row(medium, 3, "T", QStringLiteral("蒸汽 T（反作用力）"), QStringLiteral("K"));
    add_row(medium, 4, "M", QStringLiteral("蒸汽 M（反作用力）"), QStringLiteral("kg/kmol"));
    source_ = new QLabel;
    source_->setObjectName(QStringLiteral("rho_source"));
    source_->setWordWrap(true);
    source_->setMaximumWidth(twips_to_px(4600));
    medium->addWidget(source_, 5, 0, 1, 4);
    left->addStretch(1);

    QGridLayout* inlet = group(QStringLiteral("进口管线（填写即校核）"), "group_inlet", middle);
    add_row(inlet, 0, "inlet_D", QStringLiteral("内径 D"), QStringLiteral("mm"));
    add_row(inlet, 1, "inlet_L", QStringLiteral("长度 L"), QStringLiteral("m"));
    add_row(inlet, 2, "inlet_K", QStringLiteral("管件阻力系数 ΣK"), QString());
    add_row(inlet, 3, "inlet_eps", QStringLiteral("粗糙度 ε"), QStringLiteral("mm"), QStringLiteral("默认 0.045"));
    QGridLayout* outlet = group(QStringLiteral("出口管线（填写即校核）"), "group_outlet", middle);
    add_row(outlet, 0, "outlet_D", QStringLiteral("内径 D"), QStringLiteral("mm"));
    add_row(outlet, 1, "outlet_L", QStringLiteral("长度 L"), QStringLiteral("m"));
    add_row(outlet, 2, "outlet_K", QStringLiteral("管件阻力系数 ΣK"), QString());
    add_row(outlet, 3, "outlet_eps", QStringLiteral("粗糙度 ε"), QStringLiteral("mm"), QStringLiteral("默认 0.045"));
    add_row(outlet, 4, "P_e", QStringLiteral("末端压力 P_e"), QStringLiteral("MPa 绝压"), QStringLiteral("大气 0.1013"));
    middle->addStretch(1);

    QGridLayout* reaction = group(QStringLiteral("开式排放反作用力"), "group_reaction", right);
    open_ = checkable(reaction, 0, "check_open", QStringLiteral("开式排放（计算反作用力）"));
    add_row(reaction, 1, "A_o", QStringLiteral("排放口面积 A_o"), QStringLiteral("mm²"), QStringLiteral("出口管截面"));
    add_row(reaction, 2, "P_2", QStringLiteral("排放口静压 P_2"), QStringLiteral("MPa 表压"), QStringLiteral("声速出口"));
    QGridLayout* fire = group(QStringLiteral("火灾工况 API 521（液化气体，填写即对照）"), "group_fire", right);
    add_row(fire, 0, "fire_A", QStringLiteral("浸润面积 A（7.6 m 内）"), QStringLiteral("m²"), QStringLiteral("默认 A_r"));
    add_row(fire, 1, "fire_F", QStringLiteral("环境系数 F"), QString(), QStringLiteral("默认 1"));
    drainage_yes_ = new QRadioButton(QStringLiteral("排液与消防充分"));
    drainage_yes_->setObjectName(QStringLiteral("option_drainage_yes"));
    drainage_no_ = new QRadioButton(QStringLiteral("排液或消防不充分"));
    drainage_no_->setObjectName(QStringLiteral("option_drainage_no"));
    drainage_ = new QButtonGroup(this);
    drainage_->addButton(drainage_yes_);
    drainage_->addButton(drainage_no_);
    fire->addWidget(drainage_yes_, 2, 0, 1, 4);
    fire->addWidget(drainage_no_, 3, 0, 1, 4);
    connect(drainage_, &QButtonGroup::buttonToggled, this, [this] {
        if (result_ && !restoring_) withdraw(QStringLiteral("输入已修改，原校核结果已失效，请重新校核。"));
    });
    right->addStretch(1);

    table_ = new QTableWidget(0, 3);
    table_->setObjectName(QStringLiteral("results"));
    table_->setHorizontalHeaderLabels({QStringLiteral("校核项目"), QStringLiteral("结论"), QStringLiteral("数值与说明")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(true);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table_->setMinimumHeight(twips_to_px(2500));
    outer->addWidget(table_, 1);
    notice_ = new QLabel;
    notice_->setObjectName(QStringLiteral("notice"));
    notice_->setWordWrap(true);
    outer->addWidget(notice_);

    auto* bottom = new QHBoxLayout;
    verdict_ = new QLabel;
    verdict_->setObjectName(QStringLiteral("verdict"));
    verdict_->setWordWrap(true);
    verdict_->setFont(song_font(10.5, true));
    bottom->addWidget(verdict_, 1);
    check_ = new QPushButton(QStringLiteral("校核"));
    check_->setObjectName(QStringLiteral("button_check"));
    check_->setDefault(true);
    connect(check_, &QPushButton::clicked, this, &system_window::run_checks);
    bottom->addWidget(check_);
    auto* close_button = new QPushButton(QStringLiteral("关闭"));
    close_button->setObjectName(QStringLiteral("button_close"));
    connect(close_button, &QPushButton::clicked, this, &QWidget::close);
    bottom->addWidget(close_button);
    outer->addLayout(bottom);

    setWidget(client);
}

void system_window::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    show_route();
    if (placed_) return;
    placed_ = true;
    // As large as its contents ask, at the workspace's top-left corner.
    adjustSize();
    resize(size().expandedTo(minimumSizeHint()));
    move(twips_to_px(100), twips_to_px(100));
}

forms::system_form system_window::capture_form() const {
    forms::system_form form;
    for (const auto& f : form_fields) form.*f.member = boxes_.at(QString::fromLatin1(f.name))->text();
    form.disc = disc_->isChecked();
    form.bellows = bellows_->isChecked();
    form.open_discharge = open_->isChecked();
    if (drainage_yes_->isChecked()) form.drainage = true;
    else if (drainage_no_->isChecked()) form.drainage = false;
    return form;
}

void system_window::restore_form(const forms::system_form& form) {
    restoring_ = true;
    for (const auto& f : form_fields) boxes_.at(QString::fromLatin1(f.name))->setText(form.*f.member);
    disc_->setChecked(form.disc);
    bellows_->setChecked(form.bellows);
    open_->setChecked(form.open_discharge);
    // No choice at all is a state of its own: the group lets both go only while not exclusive.
    drainage_->setExclusive(false);
    drainage_yes_->setChecked(form.drainage == std::optional<bool>(true));
    drainage_no_->setChecked(form.drainage == std::optional<bool>(false));
    drainage_->setExclusive(true);
    restoring_ = false;
    source_->clear();
    withdraw(result_ ? QStringLiteral("输入已更换，请重新校核。") : QString());
}

QString system_window::route_refusal() const {
    const workflow_state& w = workflow();
    if (w.cal_route == route::device::bursting_disc)
        return QStringLiteral("当前路线为爆破片计算：泄放系统校核只适用于安全阀路线，不作校核。");
    if (!w.valve_result || !w.valve_input)
        return QStringLiteral("尚无安全阀计算结果：请先在“安全阀计算”窗口按“下一步”，再作泄放系统校核。");
    const valve::valve_press_result& r = *w.valve_result;
    if (r.status != valve::press_status::checked || !w.valve_input->medium || !(value_or_zero(r.capacity) > 0.0))
        return QStringLiteral("安全阀计算未得出排放能力：请先在“安全阀计算”窗口完成计算，再作泄放系统校核。");
    return {};
}

void system_window::show_route() {
    const QString refusal = route_refusal();
    library_->setEnabled(refusal.isEmpty());
    if (!refusal.isEmpty()) {
        route_->setText(refusal);
        return;
    }
    const workflow_state& w = workflow();
    const valve::valve_press_input& in = *w.valve_input;
    QString text = QStringLiteral("路线：W_s = %1 kg/h；%2，%3，P_s = %4 MPa，A = %5 mm²，W = %6 kg/h（单台）")
                       .arg(figure(double(w.vessel_ws)), qs(valve_caption(in.type)), qs(medium_caption(*in.medium)),
                            qs(account::shown(in.capacity.Ps)), figure(w.valve_result->area),
                            figure(w.valve_result->capacity));
    if (const QMdiSubWindow* valve = valve_window_of(this)) {
        const media_ui::kept_medium kept = media_ui::kept_medium_of(valve);
        if (!kept.id.isEmpty())
            if (const media::substance* s = media::find_substance(kept.id.toStdString()))
                text += QStringLiteral("；介质库：") + qs(s->name_zh);
    }
    route_->setText(text);
}

void system_window::withdraw(const QString& why) {
    const bool had = result_.has_value();
    result_.reset();
    table_->setRowCount(0);
    verdict_->clear();
    const QString refusal = route_refusal();
    notice_->setText(!refusal.isEmpty() ? refusal
                     : !why.isEmpty()   ? why
                                        : QStringLiteral("填写所需数据后按“校核”。"));
    QPalette p = notice_->palette();
    p.setColor(QPalette::WindowText, why.isEmpty() && refusal.isEmpty() ? QColor(0, 0, 0) : QColor(160, 80, 0));
    notice_->setPalette(p);
    // The book holds only checks of the route and the inputs as they stand.
    if (had && workflow().book.system) {
        workflow().book.system.reset();
        emit workflow_events().book_changed();
    }
}

QString system_window::notice() const { return result_ ? QString() : notice_->text(); }

void system_window::run_checks() {
    show_route();
    if (!route_refusal().isEmpty()) {
        withdraw({});
        return;
    }
    const workflow_state& w = workflow();
    const forms::system_form form = capture_form();
    system::system_input in = typed_input(form);
    in.valve = *w.valve_input;
    in.press = *w.valve_result;
    in.W_s = w.vessel_ws;
    in.relief = w.relief_input;
    in.relief_result = w.relief_result;
    system::system_result r;
    account::route_account::system_section section = system::book_section(in, &r);

    // The book gives each input the text typed in its box, and the library's source of ρ.
    std::vector<std::vector<std::pair<std::string_view, const char*>>> fields;
    fields.push_back({{"n", "n"}});
    if (r.disc) fields.push_back({{"F_{d}", "F_d"}});
    if (r.inlet) fields.push_back({{"D", "inlet_D"}, {"L", "inlet_L"}, {"ΣK", "inlet_K"}, {"ε", "inlet_eps"}, {"μ", "mu"}, {"ρ", "rho"}});
    if (r.outlet)
        fields.push_back({{"D", "outlet_D"}, {"L", "outlet_L"}, {"ΣK", "outlet_K"}, {"ε", "outlet_eps"},
                          {"P_{e}", "P_e"}, {"μ", "mu"}, {"ρ", "rho"}});
    if (r.reaction) fields.push_back({{"A_{o}", "A_o"}, {"P_{2}", "P_2"}, {"k", "k"}, {"T", "T"}, {"M", "M"}});
    if (r.fire) fields.push_back({{"A", "fire_A"}, {"F", "fire_F"}});
    for (std::size_t i = 0; i < section.checks.size() && i < fields.size(); ++i) {
        for (account::input& input : section.checks[i].inputs) {
            for (const auto& [symbol, name] : fields[i]) {
                if (input.symbol != symbol) continue;
                const QLineEdit* box = boxes_.at(QString::fromLatin1(name));
                if (box->text().isEmpty()) continue;  // the account names the default it took
                input.text = box->text().toStdString();
                const QVariant source = box->property(source_property);
                if (source.isValid() && box->property(source_text_property).toString() == box->text())
                    input.source = source.toString().toStdString();
            }
        }
    }
    show_checks(r, section);
    result_ = r;
    workflow().book.system = std::move(section);
    emit workflow_events().book_changed();
}

void system_window::show_checks(const system::system_result& r,
                                const account::route_account::system_section& section) {
    struct row {
        const system::check* c;
        bool reference;
        QString figures;
    };
    std::vector<row> rows;
    rows.push_back({&r.valves, false,
                    r.valves.n_min ? QStringLiteral("最少台数 n_min = %1").arg(*r.valves.n_min) +
                                         (r.valves.d1_chosen ? QStringLiteral("；n 台时喉径 d_1 ≥ %1 mm").arg(figure(r.valves.d1_chosen))
                                                             : QString())
                                   : QString()});
    if (r.disc) rows.push_back({&*r.disc, false, {}});
    if (r.inlet) {
        QString f;
        if (r.inlet->fr) f = QStringLiteral("Re = %1，λ = %2").arg(figure(r.inlet->fr->Re), figure(r.inlet->fr->f));
        if (r.inlet->dP) f += QStringLiteral("；ΔP = %1 MPa（限 3 %）").arg(figure(r.inlet->dP));
        if (r.inlet->choked) f += QStringLiteral("；管线阻塞，最多通过 %1 kg/h").arg(figure(r.inlet->W_max));
        rows.push_back({&*r.inlet, false, f});
    }
    if (r.outlet) {
        QString f;
        if (r.outlet->P_valve_outlet)
            f = QStringLiteral("阀出口压力 %1 MPa（绝压）").arg(figure(r.outlet->P_valve_outlet));
        if (!bellows_->isChecked()) f += QStringLiteral("（常规式累积背压限 10 %）");
        if (r.outlet->choked_exit) f += QStringLiteral("；出口声速阻塞");
        if (r.outlet->K_b) f += QStringLiteral("；K = %1").arg(figure(r.outlet->K_b));
        rows.push_back({&*r.outlet, false, f});
    }
    if (r.reaction) rows.push_back({&*r.reaction, true, {}});
    if (r.fire) rows.push_back({&*r.fire, true, {}});

    table_->setRowCount(int(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const row& x = rows[i];
        const account::account* acc = i < section.checks.size() ? &section.checks[i] : nullptr;
        const bool made = x.c->missing.empty() && !x.c->refusal;
        QString verdict = qs(system::outcome_text(x.c->result));
        if (x.reference) verdict = made ? QStringLiteral("参考值") : QStringLiteral("未校核");
        QString text = acc ? plain(book::shortened(acc->conclusion)) : QString();
        if (!x.figures.isEmpty() && made) text += QStringLiteral("\n") + x.figures;
        auto* title = new QTableWidgetItem(acc ? plain(acc->title) : QString());
        auto* outcome = new QTableWidgetItem(verdict);
        QColor colour(0, 0, 0);
        if (verdict == QStringLiteral("合格")) colour = QColor(0, 110, 0);
        else if (verdict == QStringLiteral("不合格")) colour = QColor(192, 0, 0);
        else if (verdict == QStringLiteral("未校核")) colour = QColor(160, 80, 0);
        outcome->setForeground(colour);
        QFont bold = table_->font();
        bold.setBold(true);
        outcome->setFont(bold);
        table_->setItem(int(i), 0, title);
        table_->setItem(int(i), 1, outcome);
        table_->setItem(int(i), 2, new QTableWidgetItem(text));
    }
    table_->resizeRowsToContents();
    verdict_->setText(plain(section.verdict));
    QPalette p = verdict_->palette();
    p.setColor(QPalette::WindowText,
               section.verdict == "泄放系统校核合格" ? QColor(0, 110, 0) : QColor(192, 0, 0));
    verdict_->setPalette(p);
    notice_->setText(QStringLiteral("已写入计算书（Ctrl+P）“四、泄放系统校核”。"));
    QPalette n = notice_->palette();
    n.setColor(QPalette::WindowText, QColor(0, 0, 0));
    notice_->setPalette(n);
}

// ρ at the relieving state from the medium library: saturated steam is water's vapour at the
// valve's discharge pressure, ρ = P·M/(Z·R·T_sat); a liquid is the saturated liquid of the medium
// the valve window was filled from, at the temperature it was filled for (else at saturation).
// The library has no viscosity: μ stays to be typed.
void system_window::fill_from_library() {
    if (!route_refusal().isEmpty()) return;
    const valve::valve_press_input& in = *workflow().valve_input;
    const valve_medium medium = *in.medium;
    const number Pd = valve::discharge_pressure(medium, in.capacity.Ps);
    QLineEdit* rho = boxes_.at(QStringLiteral("rho"));
    if (medium == valve_medium::gas) {
        source_->setText(QStringLiteral("气体按安全阀窗口的 M、T、Z 计算管线流动，无需 ρ。介质库无黏度数据，μ 请输入。"));
        return;
    }
    media::properties_query q;
    q.P = Pd;
    if (medium == valve_medium::saturated_steam) {
        q.substance = "water";
    } else {
        const QMdiSubWindow* valve = valve_window_of(this);
        const media_ui::kept_medium kept = media_ui::kept_medium_of(valve);
        if (kept.id.isEmpty()) {
            source_->setText(QStringLiteral("安全阀窗口未从介质库选取介质：ρ 请输入（或在安全阀窗口按 F4 选取介质）。"));
            return;
        }
        q.substance = kept.id.toStdString();
        q.T = kept.T;
    }
    const media::properties_answer a = media::properties(q);
    QString value, from;
    const QString state = QStringLiteral("P = %1 MPa（绝压，泄放压力 P_d）").arg(figure(Pd));
    auto source_of = [&a](std::string_view name) {
        for (const auto& [field, text] : a.sources)
            if (field == name) return qs(media::citation(text));
        return QString();
    };
    if (medium == valve_medium::saturated_steam) {
        if (a.Z && a.T_sat && a.M && Pd) {
            const double density = *Pd * 1e6 * *a.M / (*a.Z * system::gas_constant * *a.T_sat);
            value = QString::number(density, 'g', 6);
            from = QStringLiteral("介质库：水蒸气，%1，T_sat = %2 K，ρ = P·M/(Z·R·T)，Z %3；%4")
                       .arg(state, figure(*a.T_sat), figure(*a.Z), source_of("Z"));
        }
    } else if (a.rho_liquid) {
        value = QString::number(*a.rho_liquid, 'g', 6);
        from = QStringLiteral("介质库：%1 饱和液体，%2；%3")
                   .arg(qs(a.medium ? a.medium->name_zh : std::string_view()),
                        q.T ? QStringLiteral("T = %1 K").arg(figure(*q.T)) : QStringLiteral("泄放压力下的饱和温度"),
                        source_of("rho_liquid"));
    }
    if (value.isEmpty()) {
        QString why;
        for (const auto& w : a.warnings) why += (why.isEmpty() ? QString() : QStringLiteral("；")) + qs(w);
        source_->setText(QStringLiteral("介质库在此状态下无 ρ：") + (why.isEmpty() ? qs(a.error) : why));
        return;
    }
    rho->setText(value);
    rho->setProperty(source_property, from);
    rho->setProperty(source_text_property, value);
    source_->setText(QStringLiteral("ρ = ") + value + QStringLiteral(" kg/m³，") + from +
                     QStringLiteral("。介质库无黏度数据，μ 请输入。"));
    if (result_) withdraw(QStringLiteral("输入已修改，原校核结果已失效，请重新校核。"));
}

}  // namespace ventora::system_ui
