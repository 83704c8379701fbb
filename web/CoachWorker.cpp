// The coach's table for the browser edition. A page has no thread for it, and building it on
// the page's own thread would freeze the window for seconds: a worker runs this module,
// builds the table and posts its values to the page, which hands them to its coach.

#include <emscripten/emscripten.h>

#include <vector>

#include "coach/CoachTables.h"

namespace {

std::vector<double>& values() {
    static std::vector<double> table;
    return table;
}

}  // namespace

extern "C" {

// Builds the table; its values then stand at quintaro_coach_values, quintaro_coach_count of
// them.
EMSCRIPTEN_KEEPALIVE void quintaro_coach_build() {
    const quintaro::CoachValueTable table = quintaro::CoachValueTable::compute();
    values().assign(table.data(), table.data() + quintaro::CoachValueTable::valueCount);
}

EMSCRIPTEN_KEEPALIVE const double* quintaro_coach_values() {
    return values().data();
}

EMSCRIPTEN_KEEPALIVE int quintaro_coach_count() {
    return int(values().size());
}
}
