#include "core/util/Jpeg.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace tessaly {

namespace {

// libjpeg ends the process on an error unless the error handler jumps out.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void JpegSilence(j_common_ptr, int)
{
}

} // namespace

std::pair<int32_t, int32_t> ReadJpegSize(const std::filesystem::path& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return {0, 0};
    }
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    error.manager.emit_message = JpegSilence;
    std::pair<int32_t, int32_t> size{0, 0};
    if (setjmp(error.jump) == 0) {
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file);
        if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK) {
            size = {static_cast<int32_t>(info.image_width), static_cast<int32_t>(info.image_height)};
        }
    }
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return size;
}

std::optional<RgbImage> DecodeJpeg(std::string_view bytes)
{
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    error.manager.emit_message = JpegSilence;
    RgbImage image;
    bool ok = false;
    if (setjmp(error.jump) == 0) {
        jpeg_create_decompress(&info);
        jpeg_mem_src(
            &info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
        if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK) {
            info.out_color_space = JCS_RGB;
            jpeg_start_decompress(&info);
            image.width = static_cast<int32_t>(info.output_width);
            image.height = static_cast<int32_t>(info.output_height);
            const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
            image.pixels.resize(stride * static_cast<std::size_t>(image.height));
            while (info.output_scanline < info.output_height) {
                JSAMPROW row = image.pixels.data() + stride * info.output_scanline;
                jpeg_read_scanlines(&info, &row, 1);
            }
            jpeg_finish_decompress(&info);
            ok = true;
        }
    }
    jpeg_destroy_decompress(&info);
    return ok ? std::optional<RgbImage>(std::move(image)) : std::nullopt;
}

} // namespace tessaly
