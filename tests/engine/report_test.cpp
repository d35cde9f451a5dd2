#include "report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace ixo {
namespace {

std::string Captured(const std::function<void(std::FILE*)>& print) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  print(out);
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

TEST(Report, UsageText) {
  EXPECT_EQ(Captured([](std::FILE* f) { PrintUsage(f); }),
            "\nProgram for computing Ixo-statistic:\n\n"
            " USAGE: ixo_engine.exe [filename] [m] [eps_low] [eps_high] \n\n"
            " filename  ...  contains the time series in a single column\n"
            " m         ...  maximum embedding dimension \n"
            " eps_low   ...  lowest fraction of the SD \n"
            " eps_high  ...  highest fraction of the SD \n\n"
            " compilation: January the 5th, 2004\n");
}

TEST(Report, Header) {
  Options o;
  o.filename = "input.tmp";
  o.m = 4;
  o.eps_low = 0.6;
  o.eps_high = 1.9;
  Statistics s{.mean = -0.012345, .sd = 1.5, .minimum = -3, .maximum = 3, .spread = 6};
  EXPECT_EQ(Captured([&](std::FILE* f) { PrintHeader(f, o, 1000, s); }),
            "\n program for computing Ixo-statistic:\n\n"
            " filename  = input.tmp\n"
            " nob       = 1000\n"
            " mean      = -0.01235\n"
            " sd        = 1.50000\n"
            " spread    = 6.00000\n"
            " sd/spread = 0.25000\n\n"
            " epsilon low         = 0.60\n"
            " epsilon high        = 1.90\n"
            " number of intervals = 40\n"
            " max dimension       = 4\n"
            " cm limit            = 50\n\n");
}

TEST(Report, DimensionLines) {
  EXPECT_EQ(Captured([](std::FILE* f) { PrintDimension(f, 2, 1.9114, 41); }),
            "  2. ixo = 1.911 (n=41)\n");
  EXPECT_EQ(Captured([](std::FILE* f) { PrintDimension(f, 10, 8.7216, 8); }),
            " 10. ixo = 8.722 (n=8)\n");
  EXPECT_EQ(Captured([](std::FILE* f) { PrintDimension(f, 5, 0.0, 0); }),
            "  5. ixo =      ---     (n=0)\n");
  EXPECT_EQ(Captured([](std::FILE* f) { PrintDimension(f, 5, -0.5, 3); }), "");
}

TEST(Report, BdsLineEndsWithABlank) {
  EXPECT_EQ(Captured([](std::FILE* f) { PrintBds(f, 6.1584028); }), " BDS   = 6.158403 \n");
}

TEST(Report, Footer) {
  EXPECT_EQ(Captured([](std::FILE* f) { PrintFooter(f, 20); }),
            "\n the computation time = 0:20 min\n");
  EXPECT_EQ(Captured([](std::FILE* f) { PrintFooter(f, 3599); }),
            "\n the computation time = 59:59 min\n");
}

}  // namespace
}  // namespace ixo
