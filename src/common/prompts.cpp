#include "common/prompts.h"

#include <string>

#include "common/errors.h"

namespace zeko {

void show_procedure_error(Prompts& prompts, const RuntimeError& error, std::string_view procedure) {
    std::string text = "An error occused in '";
    text += procedure;
    text += "', please report the error number and where it occured.";
    prompts.message_box(text, MsgButtons::OK, MsgIcon::Information,
                        "Error #" + std::to_string(error.number()));
}

}  // namespace zeko
