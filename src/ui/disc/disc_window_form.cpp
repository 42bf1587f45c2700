// The bursting-disc window's inputs as a form: what a case file keeps of it.
#include <QLineEdit>
#include <QRadioButton>

#include "disc/disc_calc.h"
#include "disc/disc_window.h"
#include "shell/option_group.h"

namespace ventora::disc {

forms::disc_form disc_window::capture_form() const {
    forms::disc_form f;
    if (option_[4]->isChecked()) f.medium = disc_medium::gas;
    else if (option_[5]->isChecked()) f.medium = disc_medium::liquid;
    else if (option_[6]->isChecked()) f.medium = disc_medium::saturated_steam;
    if (option_[1]->isChecked()) f.nozzle = nozzle_type::straight_pipe;
    else if (option_[2]->isChecked()) f.nozzle = nozzle_type::flush_pipe;
    else if (option_[3]->isChecked()) f.nozzle = nozzle_type::bell_mouth;
    f.p_b = text_[1]->text();
    f.M = text_[2]->text();
    f.T = text_[3]->text();
    f.Z = text_[4]->text();
    f.k = text_[5]->text();
    f.p_o = text_[6]->text();
    f.rho = text_[7]->text();
    return f;
}

void disc_window::restore_form(const forms::disc_form& f) {
    // The medium first: its handler decides whether the nozzle options apply.
    choose_option({option_[4], option_[5], option_[6]},
                  f.medium == disc_medium::gas               ? option_[4]
                  : f.medium == disc_medium::liquid          ? option_[5]
                  : f.medium == disc_medium::saturated_steam ? option_[6]
                                                             : nullptr);
    choose_option({option_[1], option_[2], option_[3]},
                  f.nozzle == nozzle_type::straight_pipe ? option_[1]
                  : f.nozzle == nozzle_type::flush_pipe  ? option_[2]
                  : f.nozzle == nozzle_type::bell_mouth  ? option_[3]
                                                         : nullptr);
    text_[1]->setText(f.p_b);
    text_[2]->setText(f.M);
    text_[3]->setText(f.T);
    text_[4]->setText(f.Z);
    text_[5]->setText(f.k);
    text_[6]->setText(f.p_o);
    text_[7]->setText(f.rho);
}

}  // namespace ventora::disc
