#include "map/run_state.h"

#include <utility>

namespace zeko {

RunState::RunState(std::filesystem::path folder, Services services_in)
    : folder_(std::move(folder)),
      services(services_in),
      map(folder_),
      db(folder_, services),
      settings(folder_, services, ZOOM),
      nav(map, db),
      guilds(map) {}

}  // namespace zeko
