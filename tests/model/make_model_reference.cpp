// Writes the stored reference of the model scenarios (see test_model_reference.cpp).
//   make_model_reference tests/model/reference/model_runs.csv

#include <fstream>
#include <iostream>

#include "ReferenceScenarios.h"

int main(int argc, char** argv) {
    using namespace vasora::model::reference;
    const auto results = runScenarios();
    if (argc < 2) {
        writeCsv(std::cout, results);
        return 0;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    writeCsv(out, results);
    out.close();
    if (!out) {
        std::cerr << "make_model_reference: cannot write " << argv[1] << "\n";
        return 1;
    }
    std::cerr << results.size() << " runs written to " << argv[1] << "\n";
    return 0;
}
