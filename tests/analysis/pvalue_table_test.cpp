#include "analysis/pvalue_table.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace ixo {
namespace {

const std::string kHeader = "file,n,m,ixo,points,class,verdict,p_value\n";

const std::string kAdjustedHeader = "file,n,m,ixo,points,class,verdict,p_value,p_adjusted\n";

TEST(ParsePValueTable, ReadsThePValueOfEachDimension) {
  const struct {
    std::string text;
    std::map<int, double> p_values;
    std::map<int, double> adjusted;
    std::optional<double> overall;
  } cases[] = {
      {kHeader + "input.tmp,1000,2,1.6355334600115539,41,1000,reject at 10%,0.12\n"
                 "input.tmp,1000,3,2.46,41,1000,do not reject,0.001\n",
       {{2, 0.12}, {3, 0.001}},
       {},
       std::nullopt},
      // CRLF lines, a quoted name holding a comma and a quote, no final line end.
      {"file,n,m,ixo,points,class,verdict,p_value\r\n"
       "\"a,\"\"b\"\".txt\",300,4,3.1,40,500,unknown,1\r\n"
       "input.tmp,300,5,4.5e0,12,500,unknown,2e-3",
       {{4, 1.0}, {5, 0.002}},
       {},
       std::nullopt},
      // Dimensions without an Ixo value have no p-value either.
      {kHeader + "input.tmp,17,2,1.26,12,500,unknown: n is more than 20 % from 500,0.8\n"
                 "input.tmp,17,4,,0,500,no value: fewer than two usable grid points,\n",
       {{2, 0.8}},
       {},
       std::nullopt},
      {kHeader + "input.tmp,3,2,,0,500,no value: fewer than two usable grid points,\n",
       {},
       {},
       std::nullopt},
      // Adjusted p-values and the overall row; a dimension without a value.
      {kAdjustedHeader + "input.tmp,1000,2,1.6,41,1000,reject at 10%,0.12,0.2\n"
                         "input.tmp,1000,3,2.46,41,1000,do not reject,0.001,0.004\n"
                         "input.tmp,1000,4,,0,1000,no value: flat counts,,\n"
                         "input.tmp,1000,all,,,,reject at 1%,0.004,0.004\n",
       {{2, 0.12}, {3, 0.001}},
       {{2, 0.2}, {3, 0.004}},
       0.004},
  };
  for (const auto& c : cases) {
    const PValueTable table = ParsePValueTable(c.text);
    EXPECT_FALSE(table.error) << table.error.value_or("") << "\n" << c.text;
    EXPECT_EQ(table.p_values, c.p_values) << c.text;
    EXPECT_EQ(table.adjusted, c.adjusted) << c.text;
    EXPECT_EQ(table.overall, c.overall) << c.text;
  }
}

TEST(ParsePValueTable, RefusesWhatIsNoTableOfPValues) {
  const std::string row = "input.tmp,1000,2,1.6,41,1000,reject at 10%,";
  const struct {
    std::string text, error;
  } cases[] = {
      {"", "the file is empty"},
      {kHeader, "the file holds no dimension"},
      {"file,n,m,ixo,points,class,verdict\n" + row + "0.5\n",
       "line 1 is not the header file,n,m,ixo,points,class,verdict,p_value,p_adjusted"},
      {kAdjustedHeader + row + "0.5\n", "line 2 does not hold 9 fields"},
      {kAdjustedHeader + row + "0.5,\n", "line 2 has no adjusted p-value from 0 to 1"},
      {kAdjustedHeader + row + "0.5,1.2\n", "line 2 has no adjusted p-value from 0 to 1"},
      {kAdjustedHeader + "input.tmp,1000,all,,,,do not reject,0.5,0.5\n",
       "the file holds no dimension"},
      {kAdjustedHeader + "input.tmp,1000,all,,,,do not reject,,\n",
       "line 2 has no p-value from 0 to 1"},
      {kAdjustedHeader + "a,1,all,,,,x,0.5,0.5\n" + "a,1,all,,,,x,0.5,0.5\n",
       "line 3 has no dimension"},
      {kHeader + "input.tmp,1000,all,,,,do not reject,0.5\n", "line 2 has no dimension"},
      {kHeader + row + "\n", "line 2 has no p-value from 0 to 1"},  // --reps 0 leaves it empty
      {kHeader + row + "1.5\n", "line 2 has no p-value from 0 to 1"},
      {kHeader + row + "nan\n", "line 2 has no p-value from 0 to 1"},
      {kHeader + row + "0.5x\n", "line 2 has no p-value from 0 to 1"},
      {kHeader + "input.tmp,1000,two,1.6,41,1000,unknown,0.5\n", "line 2 has no dimension"},
      {kHeader + row + "0.5,extra\n", "line 2 does not hold 8 fields"},
      {kHeader + "\"input.tmp,1000,2,1.6,41,1000,unknown,0.5\n", "line 2 does not hold 8 fields"},
      {kHeader + row + "0.5\n" + row + "0.6\n", "line 3 gives dimension 2 a second time"},
      {kHeader + "input.tmp,1000,2,,0,1000,no value,0.5\n" + row + "0.6\n",
       "line 3 gives dimension 2 a second time"},
      {kHeader + "input.tmp,1000,2,,0,1000,no value,x\n", "line 2 has no p-value from 0 to 1"},
  };
  for (const auto& c : cases) {
    const PValueTable table = ParsePValueTable(c.text);
    EXPECT_EQ(table.error, "The p-values of ixo_cli cannot be read: " + c.error) << c.text;
  }
}

}  // namespace
}  // namespace ixo
