// 介质物性: the medium-property dialog. The engineer picks a medium from a searchable list, gives
// the state of interest (prefilled from the calculation window it was opened from), reads the
// properties with their units, ranges and sources, and "填入" writes the ones that window takes
// into its boxes. The boxes stay editable. What was filled (medium, state, source per box) is
// told to the caller and kept on the window, for the calculation book.
#pragma once

#include <optional>

#include <QDialog>
#include <QList>
#include <QMetaType>
#include <QPointer>
#include <QString>

#include "media/properties.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QMdiSubWindow;
class QPushButton;
class QTableWidget;

namespace ventora::media_ui {

// One box 填入 wrote.
struct filled_box {
    QString object_name;  // the box, e.g. "Text6(3)"
    QString quantity;     // "q", "t", "M", "k", "Z", "rho"
    QString text;         // what was written
    QString source;       // the publication the value comes from
};

// What one press of 填入 wrote, and from what.
struct media_fill {
    QString medium_id;    // "propane"
    QString medium_name;  // "丙烷"
    std::optional<double> T;  // the state, K
    std::optional<double> P;  // MPa absolute
    // The state as it was asked for: T absent where it was the saturation temperature at P.
    // A case file keeps these, so that reopening names the same sources.
    std::optional<double> asked_T, asked_P;
    QList<filled_box> boxes;
};

// The medium a window was last filled from and the state it was asked for, as a case file keeps
// it; an empty id when the window was never filled.
struct kept_medium {
    QString id;
    std::optional<double> T, P;
};
kept_medium kept_medium_of(const QWidget* window);

// For a window whose boxes were filled from a case file: each box that holds exactly what 填入
// would write for this medium and state names its source again, as after 填入, and the window's
// gas data is kept at its state from then on. Writes no box.
void restore_fill(QMdiSubWindow* window, const kept_medium& kept);

// The window a dialog fills, by its objectName.
enum class target_kind { none, relief, valve, disc };
target_kind kind_of(const QWidget* window);

// The name of the dynamic property in which a calculation window keeps the fills of its boxes: a
// QList<media_fill> in which each box appears once, under the fill that wrote it last. The book
// reads it there (and should check that the box still holds the text written); it goes with the
// window when the window closes.
inline constexpr const char* fill_property = "ventora_media_fill";

class media_dialog : public QDialog {
    Q_OBJECT
public:
    // `source` is the calculation window the dialog was opened from (null or another window: the
    // dialog only shows properties, and 填入 stays disabled).
    explicit media_dialog(QMdiSubWindow* source, QWidget* parent = nullptr);

    // Chooses the medium whose look-up key this is (find_substance); false if none.
    bool select_medium(const QString& key);

    // Records, as 填入 does, the boxes the window already holds with the texts 填入 would write
    // now; writes nothing. Returns how many were taken.
    int adopt();

    // The answer the dialog shows now.
    const media::properties_answer& answer() const { return answer_; }

signals:
    void filled(const ventora::media_ui::media_fill& fill);

private:
    void build();
    void prefill();
    void filter(const QString& text);
    void recompute();
    void show_answer();
    void fill();
    // Keeps `boxes` on the window as the latest fill, with their sources.
    void record(const QList<filled_box>& boxes);
    // The boxes 填入 writes for the current answer, without writing them.
    QList<filled_box> planned_boxes() const;

    // Where a part of the state the dialog fills for came from.
    enum class origin { none, window, dialog, saturation };
    static QString origin_text(origin from);
    void show_state();

    QPointer<QMdiSubWindow> source_;
    target_kind kind_;
    media::properties_answer answer_;
    std::optional<double> state_T_, state_P_;
    origin T_from_ = origin::none, P_from_ = origin::none;
    // Why a value the window takes is not written (shown under the table).
    mutable QStringList not_filled_;

    QLineEdit* search_ = nullptr;
    QListWidget* list_ = nullptr;
    QLineEdit* T_box_ = nullptr;
    QLineEdit* P_box_ = nullptr;
    QLabel* state_note_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* warnings_ = nullptr;
    QLabel* fill_note_ = nullptr;
    QPushButton* fill_button_ = nullptr;
};

}  // namespace ventora::media_ui

Q_DECLARE_METATYPE(ventora::media_ui::media_fill)
Q_DECLARE_METATYPE(QList<ventora::media_ui::media_fill>)
