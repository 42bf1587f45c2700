// Small conventions every window follows when it builds its controls.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include <QColor>
#include <QString>

#include "account/account.h"
#include "numbers/number.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace ventora {

// The name of a member of a control array: array_name("Text6", 2) is "Text6(2)".
QString array_name(const char* name, int index);

// A text box is announced by the caption of the label beside it, and the label's access key
// moves to it. Both are then fitted to the installed face (see fit_label_and_box).
void announce_by_label(QLabel* label, QWidget* box);

// The value of a text box: its text read by the number rules (unset when it is not a number).
number read_box(const QLineEdit* box);

// A box filled from a data source (the medium library) carries the source and the text it wrote
// in these properties; while the box still holds that text, its input names the source.
inline constexpr const char* source_property = "ventora_source";
inline constexpr const char* source_text_property = "ventora_source_text";
// A calculation window keeps here the id of the medium the library last filled it from.
inline constexpr const char* medium_property = "ventora_medium";

// Gives the inputs of an account the texts typed in their boxes, matched by symbol, and the
// source of a value filled in from the medium library.
void attach_texts(account::account& acc,
                  std::initializer_list<std::pair<std::string_view, const QLineEdit*>> boxes);

// The classic light grey of the device windows' client areas, and the grey of greyed text that
// stays legible on it.
inline constexpr QColor classic_grey{192, 192, 192};
inline constexpr QColor greyed_text{128, 128, 128};

// The least room, in pixels, between a caption and the box to its right: the narrowest the
// windows were laid out with in the GB2312 faces.
inline constexpr int label_gap_px = 6;

// The windows are laid out for the GB2312 faces; the faces that stand in for them set Latin
// letters wider and lines taller. A text box shorter than its font's line and its frame grows
// about its middle, so that digits keep clear of its border; a one-line caption that would run
// closer than label_gap_px to the box on its right is set tighter, by at most a pixel a
// character. Captions, lefts and widths stay as laid out. Done whenever the label is shown, in
// the fonts the pair then has.
void fit_label_and_box(QLabel* label, QWidget* box);

}  // namespace ventora
