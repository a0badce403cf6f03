#include "app/LicenceWrap.h"

#include <gtest/gtest.h>

#include <numeric>

#include "tests/fakes/Fakes.h"

namespace {

using Lines = std::vector<std::string>;

std::string Join(const Lines& Items) { return std::accumulate(Items.begin(), Items.end(), std::string()); }

struct TWrapCase {
  const char* Name;
  Lines Input;
  int Limit;
  Lines Expected;
};

class WrapCases : public ::testing::TestWithParam<TWrapCase> {};

TEST_P(WrapCases, SplitsAsExpected) {
  const TWrapCase& Case = GetParam();
  Lines Items = Case.Input;
  fakes::TFixedWidthMeasurer Measurer;
  fakes::TSteppingClock Clock;
  app::WrapLicenceLines(Items, Case.Limit, Measurer, Clock);
  EXPECT_EQ(Items, Case.Expected);
}

const std::string Exact511 = std::string(255, 'a') + " " + std::string(255, 'b');
const std::string Wider512 = std::string(256, 'a') + " " + std::string(255, 'b');

INSTANTIATE_TEST_SUITE_P(
    Licence, WrapCases,
    ::testing::Values(
        TWrapCase{"ExactlyAtTheLimitStays", {Exact511}, 511, {Exact511}},
        TWrapCase{"OnePixelWiderBreaks", {Wider512}, 511, {std::string(256, 'a') + " ", std::string(255, 'b')}},
        TWrapCase{"OneLongWordStaysWhole", {std::string(600, 'x')}, 511, {std::string(600, 'x')}},
        TWrapCase{"BreaksAtLastFittingSpaceKeepingIt", {"aa bb cc dd"}, 8, {"aa bb ", "cc dd"}},
        // The space at position 9 lies outside the 8-pixel prefix, so it is no break point.
        TWrapCase{"SpaceJustPastTheLimitIsNoBreak", {"aaaa bbb ccc"}, 8, {"aaaa ", "bbb ccc"}},
        TWrapCase{"TabsAndNonBreakingSpacesDoNotBreak", {"aa\tbb\xA0" "cc dd"}, 9, {"aa\tbb\xA0" "cc ", "dd"}},
        TWrapCase{"EmptyAndBlankItemsStay", {"", " ", "short"}, 8, {"", " ", "short"}},
        TWrapCase{"NeighboursKeepTheirPlaces", {"head", "aa bb cc", "tail"}, 5, {"head", "aa ", "bb cc", "tail"}}),
    [](const ::testing::TestParamInfo<TWrapCase>& Info) { return std::string(Info.param.Name); });

TEST(WrapLicenceLines, LongParagraphRejoinsWithEveryLineWithinTheLimit) {
  std::string Paragraph;
  for (int Word = 0; Word < 180; ++Word) Paragraph += std::string(static_cast<std::size_t>(1 + Word % 9), 'a' + static_cast<char>(Word % 26)) + " ";
  Paragraph += "end.";
  Lines Items{"Title", Paragraph, ""};
  fakes::TFixedWidthMeasurer Measurer(3);
  fakes::TSteppingClock Clock;
  app::WrapLicenceLines(Items, 511, Measurer, Clock);

  ASSERT_GT(Items.size(), 4u);
  EXPECT_EQ(Items.front(), "Title");
  EXPECT_EQ(Items.back(), "");
  EXPECT_EQ(Join(Lines(Items.begin() + 1, Items.end() - 1)), Paragraph);
  for (const std::string& Line : Items) EXPECT_LE(static_cast<int>(Line.size()) * 3, 511) << Line;
}

TEST(WrapLicenceLines, EachPassSplitsALineOnceSoKLinesTakeKMinusOnePasses) {
  Lines Items{"aaaa bbbb cccc dddd"};  // four display lines at a limit of 5
  fakes::TFixedWidthMeasurer Measurer;
  fakes::TSteppingClock Clock;
  app::WrapLicenceLines(Items, 5, Measurer, Clock);
  EXPECT_EQ(Items, (Lines{"aaaa ", "bbbb ", "cccc ", "dddd"}));
  // Pass 1 measures 1 line, pass 2 measures 2, pass 3 measures 3, and a last pass finds nothing: 4.
  EXPECT_EQ(Measurer.Calls, 1 + 2 + 3 + 4);
}

TEST(WrapLicenceLines, StopsWhenTheBudgetIsSpentAndLeavesTheRestUnwrapped) {
  const std::string Wide = "aaaa bbbb cccc dddd eeee";
  Lines Items(10, Wide);
  fakes::TFixedWidthMeasurer Measurer;
  // Every reading is 700 ms after the one before: the budget runs out during the first pass.
  fakes::TSteppingClock Clock(0, 700);
  app::WrapLicenceLines(Items, 5, Measurer, Clock);

  int StillWide = 0;
  for (const std::string& Line : Items) StillWide += Line.size() > 5 ? 1 : 0;
  EXPECT_GT(StillWide, 0);
  EXPECT_LT(Measurer.Calls, 10);
  EXPECT_EQ(Join(Items), Join(Lines(10, Wide)));
}

TEST(WrapLicenceLines, TickCountWrapAroundDoesNotEndTheWrapEarly) {
  Lines Items{"aaaa bbbb cccc dddd"};
  fakes::TFixedWidthMeasurer Measurer;
  // Starts just below 2^32 and crosses zero while wrapping.
  fakes::TSteppingClock Clock(0xFFFFFFF0u, 5);
  app::WrapLicenceLines(Items, 5, Measurer, Clock);
  EXPECT_EQ(Items, (Lines{"aaaa ", "bbbb ", "cccc ", "dddd"}));
}

}  // namespace
