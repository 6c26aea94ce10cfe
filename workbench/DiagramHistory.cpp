#include "workbench/DiagramHistory.h"

namespace vasora::workbench {

namespace {
// A trail longer than any AutoRun (15 model minutes of displays) is thinned to every other dot.
constexpr std::size_t kMaxTrail = 4000;
}  // namespace

void DiagramHistory::clock(double modelTime) {
    if (m_seen && modelTime < m_lastTime) clear();
    m_seen = true;
    m_lastTime = modelTime;
}

void DiagramHistory::displayed(const model::DiagramData& d, bool flowsAgree, double modelTime) {
    if (!flowsAgree) {
        moved(d.guyton.operating, modelTime);
        return;
    }
    clock(modelTime);
    m_lastAgreed = d;
    m_agreed = true;
}

void DiagramHistory::moved(model::CurvePoint operating, double modelTime) {
    clock(modelTime);
    if (m_agreed) {
        // The first display after a change: what was at equilibrium before is the pale set.
        m_before = m_lastAgreed;
        m_trail.clear();
    }
    m_agreed = false;
    if (m_trail.size() >= kMaxTrail) {
        std::vector<model::CurvePoint> half;
        half.reserve(m_trail.size() / 2 + 1);
        for (std::size_t i = 0; i < m_trail.size(); i += 2) half.push_back(m_trail[i]);
        m_trail = std::move(half);
    }
    m_trail.push_back(operating);
}

void DiagramHistory::clear() {
    m_lastAgreed.reset();
    m_before.reset();
    m_trail.clear();
    m_agreed = false;
    m_seen = false;
    m_lastTime = 0;
}

}  // namespace vasora::workbench
