#pragma once

namespace zeko::testing {

// A TCP connection to `port` on 127.0.0.1, or -1 when none could be made. The caller closes it.
int connect_loopback(int port);

}  // namespace zeko::testing
