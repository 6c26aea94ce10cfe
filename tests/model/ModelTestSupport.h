#pragma once

// Shared fixture of the engine tests: a zeroed model state, a recording view installed as the
// engine's windows, and helpers that put the circulation into a chosen shape for one step.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/NumberFormat.h"
#include "model/ModelLabels.h"
#include "model/ModelState.h"
#include "model/Quantities.h"
#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"

namespace vasora::model::test {

using vasora::formatNumber;

class EngineTest : public ::testing::Test {
  protected:
    RecordingView view;

    void SetUp() override {
        resetState();
        setView(&view);
        workbench::setRestartHooks({});
    }
    void TearDown() override {
        setView(nullptr);
        workbench::setRestartHooks({});
    }

    static ModelState& s() { return state(); }

    /// The model window's load: normal set, one run (which stores the normals), display.
    void load() { workbench::loadModelWindow(); }

    /// Exactly one Euler step: the run call's span is far shorter than one step, and a call
    /// always makes at least one.
    static void runOneStep() {
        ModelState& m = state();
        const double print = m.PrintInterval;
        m.PrintInterval = 1e-9;
        RunModel();
        m.PrintInterval = print;
    }

    std::string cap(std::string_view label) { return view.caption(Window::CVModel, label); }
    const ControlLook& look(std::string_view label) { return view.look(Window::CVModel, label); }
    bool checked(std::string_view box) { return view.look(Window::CVModel, box).checked; }

    /// Every caption the displays and warnings write, so that tests can look for "nan".
    std::string allCaptions() {
        std::string all;
        for (const LabelInfo& l : displayLabels()) all += cap(l.name) + "\n";
        return all;
    }
};

}  // namespace vasora::model::test
