// The safety-valve window's inputs as a form: what a case file keeps of it.
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "shell/option_group.h"
#include "valve/valve_calc.h"
#include "valve/valve_window.h"

namespace ventora::valve {
namespace {
const QString notes_page = QStringLiteral("notes_tab");
}

forms::valve_form valve_window::capture_form() const {
    forms::valve_form f;
    const valve_press_input chosen = read_press_input();
    f.notes_tab = chosen.without_data;
    f.type = chosen.type;
    f.face = chosen.face;
    f.medium = chosen.medium;
    f.d1 = text1_.at(10)->text();
    f.D = text1_.at(8)->text();
    f.h = text1_.at(11)->text();
    f.phi = text1_.at(7)->text();
    f.C = text1_.at(0)->text();
    f.Ps = text1_.at(1)->text();
    f.M = text1_.at(2)->text();
    f.T = text1_.at(5)->text();
    f.Z = text1_.at(4)->text();
    f.k = text1_.at(3)->text();
    f.rho = density_box_->text();
    f.Po = outlet_box_->text();
    return f;
}

void valve_window::restore_form(const forms::valve_form& f) {
    for (int i = 0; i < tabs_->count(); ++i) {
        if ((tabs_->widget(i)->objectName() == notes_page) == f.notes_tab) {
            tabs_->setCurrentIndex(i);
            break;
        }
    }
    // The seal face before the valve type: the type's handler then greys what the type excludes,
    // as when the type is the last thing chosen.
    choose_option({seal_face_[0], seal_face_[1]}, f.face == seal_face::flat      ? seal_face_[0]
                                                  : f.face == seal_face::conical ? seal_face_[1]
                                                                                 : nullptr);
    choose_option({valve_type_[0], valve_type_[1], valve_type_[2]},
                  f.type == valve_type::full_lift          ? valve_type_[0]
                  : f.type == valve_type::micro_lift_ring  ? valve_type_[1]
                  : f.type == valve_type::micro_lift_plain ? valve_type_[2]
                                                           : nullptr);
    choose_option({medium_[0], medium_[1], medium_[2]},
                  f.medium == valve_medium::gas               ? medium_[0]
                  : f.medium == valve_medium::saturated_steam ? medium_[1]
                  : f.medium == valve_medium::liquid          ? medium_[2]
                                                              : nullptr);
    text1_.at(10)->setText(f.d1);
    text1_.at(8)->setText(f.D);
    text1_.at(11)->setText(f.h);
    text1_.at(7)->setText(f.phi);
    text1_.at(0)->setText(f.C);
    text1_.at(1)->setText(f.Ps);
    text1_.at(2)->setText(f.M);
    text1_.at(5)->setText(f.T);
    text1_.at(4)->setText(f.Z);
    text1_.at(3)->setText(f.k);
    density_box_->setText(f.rho);
    outlet_box_->setText(f.Po);
}

}  // namespace ventora::valve
