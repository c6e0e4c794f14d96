#pragma once

#include <filesystem>

#include "map/run_state.h"
#include "minimap/planner_search.h"

namespace zeko {

// Everything the program knows during a run, made for one program folder. The program makes
// one for the folder of its executable; tests make their own in a temporary folder.
class ProgramState : public RunState {
  public:
    ProgramState(std::filesystem::path folder, Services services);

    PlannerSearch planner;
};

}  // namespace zeko
