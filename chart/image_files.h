// Chart pictures on disk: 24-bit BMP files and JPEG files (libjpeg), both ways.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/canvas.h"

namespace vorelin {

inline constexpr int kJpegQuality = 90;

// Each returns false, and leaves `error` with one text, when the file can not be written or
// read; a failed read leaves `image` unchanged.
bool WriteBmpFile(const std::string& path, const RgbImage& image, std::string* error = nullptr);
bool ReadBmpFile(const std::string& path, RgbImage* image, std::string* error = nullptr);
// The same from the file's bytes.
bool DecodeBmp(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* error = nullptr);
bool WriteJpegFile(const std::string& path, const RgbImage& image, int quality = kJpegQuality,
                   std::string* error = nullptr);
bool ReadJpegFile(const std::string& path, RgbImage* image, std::string* error = nullptr);

// A bitmap of the same kind as `like` holding the picture, or null when the file does not
// read as a BMP.
std::unique_ptr<Canvas> LoadBmpBitmap(const Canvas& like, const std::string& path);
std::unique_ptr<Canvas> ImageToBitmap(const Canvas& like, const RgbImage& image);

}  // namespace vorelin
