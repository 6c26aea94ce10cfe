#pragma once

// What Guyton's diagram keeps of the displays before the present one, so that the shift of the
// curves after a change can be seen: the curves and loops of before the learner's last change,
// drawn pale, and the operating points the model passed through since, drawn as a trail of dots.
// Plain C++ with no Qt.

#include <optional>
#include <vector>

#include "model/Curves.h"

namespace vasora::workbench {

class DiagramHistory {
  public:
    /// One display of the model window: its curves and loops, whether the six flows agreed and
    /// the model time. The set of the last display at which the flows agreed becomes the
    /// "before" set when the flows stop agreeing; from then on every display whose flows do not
    /// agree adds its operating point to the trail, which stays until the next change. Model
    /// time going back (Restart, a step back) forgets all of it.
    void displayed(const model::DiagramData& d, bool flowsAgree, double modelTime);
    /// A display whose flows do not agree, of which only the operating point is wanted (the
    /// curves of a state on its way are not kept).
    void moved(model::CurvePoint operating, double modelTime);
    void clear();

    /// The curves and loops before the last change, if there was one.
    const std::optional<model::DiagramData>& before() const { return m_before; }
    /// The operating points (right atrial pressure, cardiac output) since the last change.
    const std::vector<model::CurvePoint>& trail() const { return m_trail; }

    /// A display at `modelTime` whose curves are not handed over (yet): model time going back
    /// still forgets the history.
    void clock(double modelTime);

  private:
    std::optional<model::DiagramData> m_lastAgreed;
    std::optional<model::DiagramData> m_before;
    std::vector<model::CurvePoint> m_trail;
    bool m_agreed = false;
    double m_lastTime = 0;
    bool m_seen = false;
};

}  // namespace vasora::workbench
