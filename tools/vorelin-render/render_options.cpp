// Options of vorelin-render; --root and --code name a file in the data root's folders.
#include "tools/vorelin-render/render_options.h"

#include <cctype>
#include <filesystem>

#include "common/data_root.h"
#include "common/numbers.h"

namespace vorelin {

bool IsWritableImageName(const std::string& file) {
  std::string ext = std::filesystem::path(file).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".png" || ext == ".jpg" || ext == ".jpeg" || ext == ".bmp";
}

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* error) {
  std::string code;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) {
        *error = "选项 " + arg + " 缺少取值";
        return false;
      }
      *out = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--fs") {
      options->time_sharing = true;
    } else if (arg == "--data") {
      if (!value(&options->data_file)) return false;
    } else if (arg == "--root") {
      if (!value(&text)) return false;  // read again by ResolveDataRoot below
    } else if (arg.rfind("--root=", 0) == 0) {
      continue;
    } else if (arg == "--code") {
      if (!value(&code)) return false;
    } else if (arg == "--out") {
      if (!value(&options->out)) return false;
      if (!IsWritableImageName(options->out)) {
        *error = "--out 只能写 .png、.jpg、.jpeg 或 .bmp 文件: " + options->out;
        return false;
      }
    } else if (arg == "--bars") {
      if (!value(&text)) return false;
      options->bars = ParseIntOr(text, 0);
      if (options->bars < 1) {
        *error = "--bars 需要正整数: " + text;
        return false;
      }
    } else if (arg == "--size") {
      if (!value(&text)) return false;
      const size_t x = text.find('x');
      const int w = x == std::string::npos ? 0 : ParseIntOr(text.substr(0, x), 0);
      const int h = x == std::string::npos ? 0 : ParseIntOr(text.substr(x + 1), 0);
      if (w < 100 || h < 100 || w > 10000 || h > 10000) {
        *error = "--size 需要 宽x高 (100 … 10000): " + text;
        return false;
      }
      options->width = w;
      options->height = h;
    } else if (arg == "--panes") {
      if (!value(&text)) return false;
      options->panes.clear();
      size_t start = 0;
      while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        if (comma > start) options->panes.push_back(text.substr(start, comma - start));
        start = comma + 1;
      }
      if (options->panes.empty() || options->panes.size() > 10) {
        *error = "--panes 需要 1 … 10 个指标名";
        return false;
      }
    } else {
      *error = "未知选项: " + arg;
      return false;
    }
  }
  if (options->data_file.empty() && !code.empty()) {
    if (!IsSafeStockCode(code)) {
      *error = UnsafeStockCodeMessage(code);
      return false;
    }
    const std::filesystem::path root = ResolveDataRoot(FindRootOption(argc, argv));
    const char* folder = options->time_sharing ? kMinDataFolder : kDayDataFolder;
    options->data_file = (root / folder / (code + ".TXT")).string();
  }
  if (options->data_file.empty()) {
    *error = "缺少 --data FILE 或 --code CODE";
    return false;
  }
  return true;
}

}  // namespace vorelin
