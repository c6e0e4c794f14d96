#pragma once

namespace zeko {

// Lets the pending window events run once (the old DoEvents).
void do_events();

}  // namespace zeko
