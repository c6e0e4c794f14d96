#include "map/run_state.h"

#include <utility>

namespace zeko {

RunState::RunState(std::filesystem::path folder, Services services_in, FileLayer& files)
    : folder_(std::move(folder)),
      services(services_in),
      files_(&files),
      map(folder_, files),
      db(folder_, services, files),
      settings(folder_, services, ZOOM, files),
      nav(map, db),
      guilds(map) {}

void RunState::use_files(FileLayer& files) {
    files_ = &files;
    map.use_files(files);
    db.use_files(files);
    settings.use_files(files);
}

}  // namespace zeko
