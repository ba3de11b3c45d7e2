// Command line of the headless chart renderer.
#pragma once

#include <string>
#include <vector>

namespace vorelin {

struct RenderOptions {
  std::string data_file;
  std::vector<std::string> panes = {"MA", "VOL", "MACD"};
  int bars = 250;
  int width = 1200;
  int height = 800;
  bool time_sharing = false;
  std::string out = "chart.png";
};

inline constexpr const char* kRenderUsage =
    "用法: vorelin-render --data FILE [--root DIR --code CODE] [--panes MA,VOL,MACD] [--bars N]\n"
    "                     [--size 1200x800] [--fs] [--out chart.png|.jpg|.bmp]\n";

// True for the image kinds the renderer writes: .png, .jpg/.jpeg and .bmp, in any case.
bool IsWritableImageName(const std::string& file);

// False with one error text for an unknown option, a missing value or a bad number.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* error);

}  // namespace vorelin
