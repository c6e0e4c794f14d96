#include "support/fakes.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "map/city_map.h"

namespace zeko::testing {

MsgResult ScriptedPrompts::message_box(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                       std::string_view title) {
    shown.push_back(ShownBox{std::string(text), buttons, icon, std::string(title)});
    if (on_show) on_show();
    if (!answers.empty()) {
        MsgResult r = answers.front();
        answers.pop_front();
        return r;
    }
    if (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) return MsgResult::Yes;
    if (buttons == MsgButtons::AbortRetryIgnore) return MsgResult::Abort;
    return buttons == MsgButtons::RetryCancel ? MsgResult::Retry : MsgResult::OK;
}

std::string ScriptedPrompts::input_box(std::string_view prompt, std::string_view,
                                       std::string_view) {
    input_prompts.emplace_back(prompt);
    if (typed.empty()) return {};
    std::string t = typed.front();
    typed.pop_front();
    return t;
}

TempFolder::TempFolder() {
    std::string templ = (std::filesystem::temp_directory_path() / "zeko-test-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // A test may have made the folder read-only; give the write bit back so it can go.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

int error_of(const std::function<void()>& step) {
    try {
        step();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

std::string read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path.string());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string scrambled_map(const std::vector<std::string>& records) {
    std::string plain;
    for (const auto& r : records)
        plain += r + "/\\/";
    scramble_map(plain);
    return plain;
}

}  // namespace zeko::testing
