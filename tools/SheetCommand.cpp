// scrtool sheet: a contact sheet of all 128 transition styles at one
// progress, each frame labelled with its number and what it does.
#include "tools/TransitionImages.h"
#include "transitions/BitmapBlit.h"
#include "transitions/StyleTable.h"
#include "transitions/TransitionFrame.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace scr {
namespace {

constexpr const char* kUsage =
    "usage: scrtool sheet [--progress P] [--size WxH] [--seed K] OLD NEW -o SHEET.png\n"
    "\n"
    "Draws all 128 transition styles from the picture OLD to the picture NEW\n"
    "(PNG or JPEG) at progress P (0..100, default 50) as one labelled sheet,\n"
    "each frame W x H pixels (default 160x120; both pictures are stretched).\n";

constexpr int kColumns = 8;
constexpr int kMargin = 8;
constexpr int kLabelHeight = 46;
constexpr int kTitleHeight = 36;

int Fail(const std::string& message) {
    std::fprintf(stderr, "scrtool sheet: %s\n", message.c_str());
    return 2;
}

Bitmap24 Stretched(const Bitmap24& picture, int w, int h) {
    Bitmap24 out(w, h);
    StretchDraw(PixelOptions{}, out, {0, 0, w, h}, picture, {0, 0, picture.width(), picture.height()});
    return out;
}

} // namespace

int RunSheetCommand(int argc, char** argv) {
    std::optional<int> progress = 50, seed = 1;
    std::optional<std::pair<int, int>> size = std::make_pair(160, 120);
    std::string output;
    std::vector<std::string> pictures;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--progress" || arg == "--size" || arg == "--seed" || arg == "-o") {
            if (i + 1 >= argc) return Fail("missing value after " + arg);
            const std::string value = argv[++i];
            if (arg == "--progress" && !(progress = ParseIntArgument(value, 0, 100)))
                return Fail("--progress wants a number from 0 to 100");
            if (arg == "--size" && !(size = ParseSizeArgument(value)))
                return Fail("--size wants WIDTHxHEIGHT, for example 160x120");
            if (arg == "--seed" && !(seed = ParseIntArgument(value, 0, 2147483647)))
                return Fail("--seed wants a non-negative number");
            if (arg == "-o") output = value;
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return Fail("unknown option " + arg + "\n\n" + kUsage);
        } else {
            pictures.push_back(arg);
        }
    }
    if (output.empty() || pictures.size() != 2)
        return Fail(std::string("needs OLD, NEW and -o\n\n") + kUsage);
    const auto [w, h] = *size;
    if (w > 1024 || h > 1024) return Fail("--size is limited to 1024x1024 per frame");

    // Text needs the GUI library's fonts; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);

    std::string error;
    const auto oldPicture = LoadPictureFile(pictures[0], error);
    if (!oldPicture) return Fail(error);
    const auto newPicture = LoadPictureFile(pictures[1], error);
    if (!newPicture) return Fail(error);
    // Both pictures at the cell size; the frames are composed at that size.
    SeededRandom random(static_cast<uint32_t>(*seed));
    const Bitmap24 cellNew = Stretched(*newPicture, w, h);

    const int rows = (kStyleCount + kColumns - 1) / kColumns;
    const int cellW = w + kMargin;
    const int cellH = h + kLabelHeight + kMargin;
    QImage sheet(kMargin + kColumns * cellW, kTitleHeight + rows * cellH, QImage::Format_RGB32);
    sheet.fill(QColor(0x2b, 0x2b, 0x2b));
    QPainter painter(&sheet);
    QFont title = painter.font();
    title.setPixelSize(18);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(0xee, 0xee, 0xee));
    painter.drawText(QRect(kMargin, 0, sheet.width() - 2 * kMargin, kTitleHeight), Qt::AlignVCenter,
                     QString("Transition styles 0-127 at progress %1").arg(*progress));

    QFont number = painter.font();
    number.setPixelSize(12);
    number.setBold(true);
    QFont text = number;
    text.setBold(false);
    text.setPixelSize(11);
    for (int style = 0; style < kStyleCount; ++style) {
        const int x = kMargin + (style % kColumns) * cellW;
        const int y = kTitleHeight + (style / kColumns) * cellH;
        const Bitmap24 frame = RenderTransitionFrame(*oldPicture, cellNew, style, *progress, 4, random);
        painter.drawImage(x, y, BitmapToImage(frame));
        painter.setFont(number);
        painter.setPen(QColor(0xff, 0xd0, 0x60));
        painter.drawText(QRect(x, y + h + 2, w, 14), Qt::AlignLeft | Qt::AlignTop, QString::number(style));
        painter.setFont(text);
        painter.setPen(QColor(0xdd, 0xdd, 0xdd));
        const QString description = QString::fromUtf8(StyleInfo(style).description);
        const QFontMetrics metrics(text);
        const QString shown = metrics.elidedText(description, Qt::ElideRight, w * 2 - 8);
        painter.drawText(QRect(x + 26, y + h + 2, w - 26, kLabelHeight - 2),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, shown);
    }
    painter.end();
    if (!SavePng(sheet, output, error)) {
        std::fprintf(stderr, "scrtool sheet: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

} // namespace scr
