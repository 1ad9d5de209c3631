#pragma once
// The table of demo pictures: file name, size, samples per pixel and the
// renderer that answers the colour of a point (pixel coordinates, top-left origin).

#include "assets/generators/Shading.h"

#include <string>
#include <vector>

namespace scr::demo {

struct DemoPicture {
    std::string fileName;
    int width;
    int height;
    int samplesPerAxis; // supersampling: samples^2 points averaged per pixel
    Rgb (*shade)(double x, double y);
};

const std::vector<DemoPicture>& DemoPictures();

} // namespace scr::demo
