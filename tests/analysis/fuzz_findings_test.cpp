// Inputs the fuzz targets in fuzz/ found, kept here so that the ordinary suite
// fails if the fault comes back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "analysis/number_text.h"

namespace ixo {
namespace {

// Each of these texts reads, in extended precision, to exactly the midpoint of
// two neighbouring doubles; converted on to a double it then rounded to the
// even one, not to the one nearest the text. The values the import and the
// histogram compute with were one unit in the last place off what the engine
// reads from the same input.tmp text. (read_number_fuzz, 74 sevens.)
TEST(FuzzFindings, ReadNumberGivesTheDoubleNearestTheText) {
  const char* const texts[] = {"7.77777777777778E72",   "7.64575558794209E79",
                               "7.05061807987424E296",  "7.24407186767258E-243",
                               "6.05310786983593E47",   "1.41987825188421E291",
                               "8.95969871907819E-269", "-7.77777777777778E72"};
  for (const char* text : texts) {
    const double nearest = std::strtod(text, nullptr);
    for (const char separator : {'.', ','}) {
      std::string shown = text;
      if (separator == ',') shown[shown.find('.')] = ',';
      const std::optional<long double> read = ReadNumber(shown, separator);
      ASSERT_TRUE(read.has_value()) << shown;
      EXPECT_EQ(static_cast<double>(*read), nearest) << shown;
      // and the text made from that double is the text read
      EXPECT_EQ(GeneralNumberText(static_cast<double>(*read), separator), shown) << shown;
    }
  }
}

}  // namespace
}  // namespace ixo
