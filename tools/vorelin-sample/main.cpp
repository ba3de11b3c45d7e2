// vorelin-sample --root DIR: writes the sample market into a data root.
#include <cstdio>
#include <cstring>

#include "common/data_root.h"
#include "tools/vorelin-sample/sample_market.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf("usage: vorelin-sample [--root DIR]\n"
                  "Writes DayData/, MinData/, winbase.dat and the index files 399001.bin and\n"
                  "999999.bin of a made-up sample market.\n");
      return 0;
    }
  }
  std::filesystem::path root = vorelin::ResolveDataRoot(vorelin::FindRootOption(argc, argv));
  std::string error;
  if (!vorelin::WriteSampleMarket(root, error)) {
    std::fprintf(stderr, "vorelin-sample: %s\n", error.c_str());
    return 1;
  }
  std::printf("sample market written to %s\n", root.string().c_str());
  return 0;
}
