#pragma once

class QWebEngineProfile;

namespace zeko {

// The browser engine set up for what this program shows: a few pages of one game site, drawn
// without the GPU, with small scripts. The engine takes its switches when the application is
// made, so this runs first in main(); switches a user gives in QTWEBENGINE_CHROMIUM_FLAGS come
// after these and win.
void prepare_engine();

// Bounds what the profile every browser of the program shares (the default one unless told
// otherwise) keeps in its caches. Call it before the first browser is made.
void setup_engine_profile(QWebEngineProfile* profile = nullptr);

}  // namespace zeko
