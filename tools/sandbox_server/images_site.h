#pragma once

#include <httplib.h>

namespace zeko::sandbox {

// The messenger's emoticon pictures, "/i/mesg/emoticons7/N.gif" for the set's 88 image
// numbers: small plain pictures, each of its own colour, so a page that shows them can be
// looked at without the real image host.
void add_image_routes(httplib::Server& server);

}  // namespace zeko::sandbox
