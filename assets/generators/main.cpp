// Renders the demo pictures and writes them as JPEG files.
//   scr_demo_pictures OUTPUT_DIR [NAME...]   (all pictures when no name is given)

#include "assets/generators/DemoPictures.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <jpeglib.h>
#include <string>
#include <vector>

namespace {

using scr::demo::DemoPicture;

std::vector<unsigned char> Render(const DemoPicture& picture) {
    std::vector<unsigned char> rgb(static_cast<size_t>(picture.width) * picture.height * 3);
    const int n = picture.samplesPerAxis;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            scr::demo::Rgb sum;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i)
                    sum = sum + picture.shade(x + (i + 0.5) / n, y + (j + 0.5) / n);
            unsigned char* out = &rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
            const double scale = 255.0 / (n * n);
            out[0] = static_cast<unsigned char>(std::clamp(sum.r * scale + 0.5, 0.0, 255.0));
            out[1] = static_cast<unsigned char>(std::clamp(sum.g * scale + 0.5, 0.0, 255.0));
            out[2] = static_cast<unsigned char>(std::clamp(sum.b * scale + 0.5, 0.0, 255.0));
        }
    }
    return rgb;
}

// Writes to a temporary name and renames, so a build never sees half a picture.
// libjpeg's default error handler ends the program with a message, which is
// what a build step should do.
bool WriteJpeg(const std::string& path, const DemoPicture& picture, const std::vector<unsigned char>& rgb) {
    const std::string partial = path + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 88, TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<unsigned char*>(&rgb[static_cast<size_t>(info.next_scanline) * picture.width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const bool ok = std::fclose(file) == 0;
    return ok && std::rename(partial.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [NAME...]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const std::vector<std::string> wanted(argv + 2, argv + argc);
    const auto& pictures = scr::demo::DemoPictures();
    for (const std::string& name : wanted) {
        if (std::none_of(pictures.begin(), pictures.end(),
                         [&](const DemoPicture& p) { return p.fileName == name; })) {
            std::fprintf(stderr, "%s: no picture named %s\n", argv[0], name.c_str());
            return 2;
        }
    }
    for (const DemoPicture& picture : pictures) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), picture.fileName) == wanted.end())
            continue;
        const std::string path = (dir / picture.fileName).string();
        if (!WriteJpeg(path, picture, Render(picture))) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
