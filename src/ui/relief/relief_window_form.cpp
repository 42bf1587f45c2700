// The relief-rate window's inputs as a form: what a case file keeps of it.
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "relief/relief_window.h"
#include "shell/option_group.h"

namespace ventora::relief {

forms::relief_form relief_window::capture_form() const {
    forms::relief_form f;
    // Every tab has a case; the fallback only keeps the compiler content.
    f.tab = current_case().value_or(relief_case::typed_rate);

    // The choices as read_input reads them.
    const relief_input chosen = read_input(f.tab);
    f.compressed = chosen.compressed;
    f.fire = chosen.fire;
    f.insulated = chosen.insulated;
    f.installed = chosen.installed;
    f.form = chosen.form;

    f.G = text2_->text();
    f.rho = text3_->text();
    f.d = text4_->text();
    f.v = text5_->text();
    f.D = text6_[0]->text();
    f.L = text6_[1]->text();
    f.h = text6_[2]->text();
    f.q = text6_[3]->text();
    f.lambda = text6_[4]->text();
    f.t = text6_[5]->text();
    f.delta = text6_[6]->text();
    f.W_t = text1_->text();
    return f;
}

void relief_window::restore_form(const forms::relief_form& f) {
    for (int i = 0; i < tabs_->count(); ++i) {
        tabs_->setCurrentIndex(i);
        if (current_case() == f.tab) break;
    }

    auto pick = [](auto chosen, auto value, QRadioButton* option) {
        return chosen == value ? option : nullptr;
    };
    using ck = compressed_kind;
    choose_option({option1_, option2_}, f.compressed == ck::production_capacity ? option1_
                                        : f.compressed == ck::gas_storage_tank  ? option2_
                                                                                : nullptr);
    QRadioButton* fire = pick(f.fire, fire_exposure::fire_exposed, option3_[0]);
    if (!fire) fire = pick(f.fire, fire_exposure::fire_free, option3_[1]);
    choose_option({option3_[0], option3_[1]}, fire);
    QRadioButton* insulated = pick(f.insulated, insulation::uninsulated, option3_[6]);
    if (!insulated) insulated = pick(f.insulated, insulation::insulated, option3_[7]);
    choose_option({option3_[6], option3_[7]}, insulated);
    QRadioButton* installed = pick(f.installed, installation::water_spray, option3_[2]);
    if (!installed) installed = pick(f.installed, installation::below_ground, option3_[3]);
    if (!installed) installed = pick(f.installed, installation::above_ground, option3_[4]);
    choose_option({option3_[2], option3_[3], option3_[4]}, installed);
    QRadioButton* form = pick(f.form, vessel_form::hemispherical_heads, option3_[10]);
    if (!form) form = pick(f.form, vessel_form::elliptical_heads, option3_[9]);
    if (!form) form = pick(f.form, vessel_form::vertical, option3_[11]);
    if (!form) form = pick(f.form, vessel_form::spherical, option3_[12]);
    choose_option({option3_[9], option3_[10], option3_[11], option3_[12]}, form);

    text2_->setText(f.G);
    text3_->setText(f.rho);
    text4_->setText(f.d);
    text5_->setText(f.v);
    text6_[0]->setText(f.D);
    text6_[1]->setText(f.L);
    text6_[2]->setText(f.h);
    text6_[3]->setText(f.q);
    text6_[4]->setText(f.lambda);
    text6_[5]->setText(f.t);
    text6_[6]->setText(f.delta);
    text1_->setText(f.W_t);

    // The options here answer clicks, not code: their handlers run as a click would run them.
    if (option1_->isChecked()) production_capacity_chosen();
    if (option2_->isChecked()) gas_storage_tank_chosen();
    liquefied_gas_option_clicked();
}

}  // namespace ventora::relief
