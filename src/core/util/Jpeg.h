#pragma once

// JPEG images through libjpeg: the pixel size of a file, and decoding to RGB.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

// (0, 0) for a file that is missing or not a JPEG image.
std::pair<int32_t, int32_t> ReadJpegSize(const std::filesystem::path& path);

struct RgbImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels; // rows of width * 3 bytes
};

std::optional<RgbImage> DecodeJpeg(std::string_view bytes);

} // namespace tessaly
