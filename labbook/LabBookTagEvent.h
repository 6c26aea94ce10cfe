#pragma once

// The lab book's command interpreter: a click on a tag of the display runs its command by the
// tag's kind. Table buttons fill or apply their table (or load the plot table into the chart
// window), links open the information file at their anchor, figure tags show their picture,
// the save tag saves the book, input-field markers remember the field, the restart tag restarts
// the model; then the cursor goes where the learner will want to go on.

namespace vasora::labbook {

class frmDisplay;

/// The TagClick of the display's control, for the tag it reports as clicked.
void labBookTagEvent(frmDisplay& display);

}  // namespace vasora::labbook
