#pragma once

#include <string>
#include <string_view>

namespace zeko {

class RuntimeError;

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// Message and input boxes. The program shows real ones; tests script the answers and check
// every title and text.
class Prompts {
  public:
    virtual ~Prompts() = default;
    virtual MsgResult message_box(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                  std::string_view title) = 0;
    // The text the player typed; empty when the box was cancelled.
    virtual std::string input_box(std::string_view prompt, std::string_view title,
                                  std::string_view default_text) = 0;
};

// The box a trapped procedure shows before it gives up: "Error #" and the number over a
// sentence naming the procedure, so the player can report both.
void show_procedure_error(Prompts& prompts, const RuntimeError& error, std::string_view procedure);

}  // namespace zeko
