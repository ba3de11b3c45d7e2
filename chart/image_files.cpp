// BMP (uncompressed, bottom-up rows padded to 4 bytes) and JPEG through the IJG API.
#include "chart/image_files.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include <jpeglib.h>

#include "common/byte_order.h"
#include "common/text_file.h"

namespace vorelin {
namespace {

void SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
}

const char* At(const std::vector<uint8_t>& in, size_t at) { return reinterpret_cast<const char*>(in.data() + at); }

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, error->message);
  std::longjmp(error->jump, 1);
}

}  // namespace

bool WriteBmpFile(const std::string& path, const RgbImage& image, std::string* error) {
  const uint32_t row = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t data_size = row * static_cast<uint32_t>(image.height);
  std::string out;
  out.reserve(54 + data_size);
  out += "BM";
  PutU32(out, 54 + data_size);
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(image.width));
  PutU32(out, static_cast<uint32_t>(image.height));
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);
  PutU32(out, data_size);
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* source = image.bgr.data() + static_cast<size_t>(y) * image.width * 3;
    out.append(reinterpret_cast<const char*>(source), static_cast<size_t>(image.width) * 3);
    out.resize(out.size() + (row - static_cast<uint32_t>(image.width) * 3), '\0');
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!file) {
    SetError(error, "无法写入文件: " + path);
    return false;
  }
  return true;
}

bool ReadBmpFile(const std::string& path, RgbImage* image, std::string* error) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  const std::vector<uint8_t> in(bytes.begin(), bytes.end());
  if (!DecodeBmp(in, image, error)) {
    if (error != nullptr) *error += ": " + path;
    return false;
  }
  return true;
}

bool DecodeBmp(const std::vector<uint8_t>& in, RgbImage* image, std::string* error) {
  if (in.size() < 54 || in[0] != 'B' || in[1] != 'M') {
    SetError(error, "不是BMP文件");
    return false;
  }
  const uint32_t offset = GetU32(At(in, 10));
  const auto width = static_cast<int32_t>(GetU32(At(in, 18)));
  const auto raw_height = static_cast<int32_t>(GetU32(At(in, 22)));
  const uint32_t bits = GetU16(At(in, 28));
  const uint32_t compression = GetU32(At(in, 30));
  const bool top_down = raw_height < 0;
  // INT32_MIN has no positive counterpart; it is refused below as too tall.
  const int64_t height64 = top_down ? -static_cast<int64_t>(raw_height) : raw_height;
  const int height = height64 > 20000 ? 20001 : static_cast<int>(height64);
  if ((bits != 24 && bits != 32) || compression != 0 || width <= 0 || height <= 0 || width > 20000 ||
      height > 20000) {
    SetError(error, "不支持的BMP格式");
    return false;
  }
  const uint32_t bytes = bits / 8;
  const size_t row = (static_cast<size_t>(width) * bytes + 3) & ~static_cast<size_t>(3);
  if (offset > in.size() || row * static_cast<size_t>(height) > in.size() - offset) {
    SetError(error, "BMP文件不完整");
    return false;
  }
  RgbImage out{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
  for (int y = 0; y < height; ++y) {
    const size_t source_row = top_down ? y : height - 1 - y;
    const uint8_t* source = in.data() + offset + source_row * row;
    uint8_t* target = out.bgr.data() + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) std::memcpy(target + x * 3, source + x * bytes, 3);
  }
  *image = std::move(out);
  return true;
}

bool WriteJpegFile(const std::string& path, const RgbImage& image, int quality, std::string* error) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    SetError(error, "无法写入文件: " + path);
    return false;
  }
  jpeg_compress_struct info{};
  JpegError jerr{};
  info.err = jpeg_std_error(&jerr.manager);
  jerr.manager.error_exit = OnJpegError;
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * 3);
  if (setjmp(jerr.jump) != 0) {
    jpeg_destroy_compress(&info);
    std::fclose(file);
    SetError(error, std::string("JPEG: ") + jerr.message);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const uint8_t* source = image.bgr.data() + static_cast<size_t>(info.next_scanline) * image.width * 3;
    for (int x = 0; x < image.width; ++x) {
      row[x * 3] = source[x * 3 + 2];
      row[x * 3 + 1] = source[x * 3 + 1];
      row[x * 3 + 2] = source[x * 3];
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  const bool closed = std::fclose(file) == 0;
  if (!closed) SetError(error, "无法写入文件: " + path);
  return closed;
}

bool ReadJpegFile(const std::string& path, RgbImage* image, std::string* error) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  jpeg_decompress_struct info{};
  JpegError jerr{};
  info.err = jpeg_std_error(&jerr.manager);
  jerr.manager.error_exit = OnJpegError;
  RgbImage out;
  std::vector<uint8_t> row;
  if (setjmp(jerr.jump) != 0) {
    jpeg_destroy_decompress(&info);
    SetError(error, std::string("JPEG: ") + jerr.message);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.bgr.resize(static_cast<size_t>(out.width) * out.height * 3);
  row.resize(static_cast<size_t>(out.width) * 3);
  while (info.output_scanline < info.output_height) {
    const size_t y = info.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    uint8_t* target = out.bgr.data() + y * out.width * 3;
    for (int x = 0; x < out.width; ++x) {
      target[x * 3] = row[x * 3 + 2];
      target[x * 3 + 1] = row[x * 3 + 1];
      target[x * 3 + 2] = row[x * 3];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  *image = std::move(out);
  return true;
}

std::unique_ptr<Canvas> ImageToBitmap(const Canvas& like, const RgbImage& image) {
  auto bitmap = like.CreateBitmap(image.width, image.height);
  size_t k = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x, k += 3) {
      bitmap->SetPixel(x, y, Rgb(image.bgr[k + 2], image.bgr[k + 1], image.bgr[k]));
    }
  }
  return bitmap;
}

std::unique_ptr<Canvas> LoadBmpBitmap(const Canvas& like, const std::string& path) {
  RgbImage image;
  if (!ReadBmpFile(path, &image)) return nullptr;
  return ImageToBitmap(like, image);
}

}  // namespace vorelin
