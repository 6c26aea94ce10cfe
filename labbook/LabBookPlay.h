#pragma once

// Playing a lab book without windows, for teachers' answer keys and for the shipped sample: a
// fresh model, then every table button and restart tag clicked from the top of the book to its
// end exactly as the display's tag event clicks them. An input table is applied and then run to
// equilibrium as a learner does with AutoRun; an output table is filled; the plot table is
// loaded into the chart window's boxes and reported. Tags that the program itself ignores
// (kind 0) direct the play where the book asks the learner to act in Options: code 1 ticks
// "separate RV and LV Heart Rates", code 2 unticks it; code 3 ticks the baroreceptor reflex
// with all four effectors, codes 11 to 14 with only one of them (heart rate, contractility,
// arterial resistance, venous tone), and code 4 unticks the reflex, its four effectors ticked
// again as the program starts.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "labbook/TableWalk.h"
#include "model/ModelState.h"

class QTextDocument;

namespace vasora::labbook {

/// The play directives, codes of kind-0 tags.
inline constexpr int kTickAVBlock = 1;
inline constexpr int kUntickAVBlock = 2;
inline constexpr int kReflexOn = 3;
inline constexpr int kReflexOff = 4;
/// kReflexOnlyEffector + 1 + Effector: the reflex on with that effector alone (11 to 14).
inline constexpr int kReflexOnlyEffector = 10;

/// The reflex options a directive puts in force; false for a code that is no reflex directive.
bool reflexDirective(int code, model::ReflexOptions& options);

struct PlayStep {
    enum Kind { Table, Restart, TickAVBlock, UntickAVBlock, Reflex } kind = Table;
    int paragraph = 0;            ///< of the tag clicked, in the document as it was played
    TableClick click;             ///< for a table button
    model::ReflexOptions reflex;  ///< for a reflex directive: the options it put in force
    /// After an input table: whether AutoRun brought the flows to agree, and the model time.
    bool ranToEquilibrium = false;
    bool equilibrium = false;
    double modelTime = 0;
    /// The chart window's boxes after the plot table: [index][axis].
    std::vector<std::array<QString, 3>> plotBoxes;
    /// The messages the learner would have been shown, besides the reminders to run on.
    QStringList messages;
};

struct PlayResult {
    std::vector<PlayStep> steps;
    QStringList messages() const;
};

/// Plays `doc` from a freshly started model (the process's model state starts again from
/// zero); the document keeps the values written.
PlayResult playLabBook(QTextDocument& doc);

/// A short report of every table, restart and directive, one block per step.
QString playReport(const PlayResult& result);

}  // namespace vasora::labbook
