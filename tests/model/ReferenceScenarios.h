#pragma once

// Fixed scenarios of the model whose per-run results are stored in reference/model_runs.csv.
// The generator (make_model_reference) writes that file and the reference test compares a new
// computation with it.

#include <iosfwd>
#include <string>
#include <vector>

#include "model/ModelState.h"

namespace vasora::model::reference {

/// The results after one run call of a scenario.
struct RunResult {
    std::string scenario;
    int run = 0;  ///< 0 is the run made at load
    std::vector<double> values;
};

/// Names of the values of a RunResult, in order (the CSV columns after scenario and run).
const std::vector<std::string>& valueNames();

/// Runs every scenario from a fresh state and returns one result per run call.
std::vector<RunResult> runScenarios();

void writeCsv(std::ostream& out, const std::vector<RunResult>& results);
/// Reads a file written by writeCsv; returns false on a malformed file.
bool readCsv(std::istream& in, std::vector<RunResult>& results, std::string& error);

}  // namespace vasora::model::reference
