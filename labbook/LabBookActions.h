#pragma once

// The model commands of the lab book besides its tables, shared by the display and the headless
// play: the restart tag, and running on to equilibrium as a learner does with AutoRun.

namespace vasora::labbook {

/// The restart tag: the strip chart cleared, the model window shown and its load steps run
/// again (the normal set, one run, the display), AutoRun off and its box unticked.
void restartFromLabBook();

/// Ticks AutoRun, which runs and displays until the six flows agree or the model time passes
/// 15 minutes, then unticks it again. Returns whether the flows agree.
bool runUntilEquilibrium();

/// Whether the model window shows the flows as equal (no "Click Run" notice).
bool flowsShownEqual();

}  // namespace vasora::labbook
