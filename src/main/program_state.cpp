#include "main/program_state.h"

#include <utility>

namespace zeko {

ProgramState::ProgramState(std::filesystem::path folder, Services services_in)
    : RunState(std::move(folder), services_in), planner(map, db, *services.prompts) {}

}  // namespace zeko
