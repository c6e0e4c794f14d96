#include "main/program_state.h"

#include <utility>

namespace zeko {

ProgramState::ProgramState(std::filesystem::path folder, Services services_in)
    : folder_(std::move(folder)),
      services(services_in),
      map(folder_),
      db(folder_, services),
      settings(folder_, services, ZOOM),
      nav(map, db),
      planner(map, db, *services.prompts),
      guilds(map) {}

}  // namespace zeko
