#include "tests/support/LargeJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace scr::test {
namespace {

struct ErrorJump {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1);
}

// No object with a destructor lives in this frame: the error jump skips nothing.
bool Encode(int width, int height, uint32_t colorRef, unsigned char* row, unsigned char** buffer,
            unsigned long* size) {
    jpeg_compress_struct cinfo;
    ErrorJump err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOnError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 50, TRUE);
    for (int x = 0; x < width; ++x) {
        row[x * 3 + 0] = static_cast<unsigned char>(colorRef);
        row[x * 3 + 1] = static_cast<unsigned char>(colorRef >> 8);
        row[x * 3 + 2] = static_cast<unsigned char>(colorRef >> 16);
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height)
        jpeg_write_scanlines(&cinfo, &row, 1);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::vector<uint8_t> MakeUniformJpeg(int width, int height, uint32_t colorRef) {
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> jpeg;
    if (Encode(width, height, colorRef, row.data(), &buffer, &size)) jpeg.assign(buffer, buffer + size);
    std::free(buffer);
    return jpeg;
}

} // namespace scr::test
