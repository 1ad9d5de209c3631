#pragma once
// Saves a grab of a widget as PNG into the folder named by the environment
// variable SCR_SCREENSHOT_DIR (scripts/dialog-screenshots.sh sets it to docs/);
// without it nothing is written.

#include <QImage>
#include <QString>
#include <cstdlib>

namespace scr::test {

inline void SaveScreenshot(const QImage& image, const QString& name) {
    const char* dir = std::getenv("SCR_SCREENSHOT_DIR");
    if (!dir || !*dir) return;
    image.save(QString::fromLocal8Bit(dir) + QStringLiteral("/") + name, "PNG");
}

} // namespace scr::test
