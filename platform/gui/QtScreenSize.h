#pragma once

namespace scr {

// Installs the primary screen of the running Qt application as the provider
// of PrimaryScreenSize(). Needs a QGuiApplication.
void InstallQtScreenSizeProvider();

} // namespace scr
