#include "checks/IntegerText.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
  const char* Text;
  std::optional<std::int32_t> Expected;
};

class IntegerText : public ::testing::TestWithParam<TCase> {};

TEST_P(IntegerText, ParsesByTheProgramsRules) {
  EXPECT_EQ(checks::ParseInteger(std::string_view(GetParam().Text)), GetParam().Expected)
      << "text: [" << GetParam().Text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IntegerText,
    ::testing::Values(
        TCase{"42", 42}, TCase{"  42", 42}, TCase{"42 ", std::nullopt}, TCase{"42\n", std::nullopt},
        TCase{"42\r\n", std::nullopt}, TCase{"$2A", 42}, TCase{"$2a", 42}, TCase{"x2A", 42}, TCase{"X2a", 42},
        TCase{"0x2A", 42}, TCase{"0X2A", 42}, TCase{"-5", -5}, TCase{"+7", 7}, TCase{" -5", -5}, TCase{"", std::nullopt},
        TCase{"   ", std::nullopt}, TCase{"-", std::nullopt}, TCase{"+", std::nullopt}, TCase{"$", std::nullopt},
        TCase{"0x", std::nullopt}, TCase{"x", std::nullopt}, TCase{"- 5", std::nullopt}, TCase{"\t5", std::nullopt},
        TCase{"4 2", std::nullopt}, TCase{"$FFFFFFFF", -1}, TCase{"$80000000", INT32_MIN},
        TCase{"$000000002A", 42}, TCase{"$123456789", std::nullopt}, TCase{"-$1", -1},
        TCase{"2147483647", INT32_MAX}, TCase{"2147483648", std::nullopt}, TCase{"-2147483648", INT32_MIN},
        TCase{"-2147483649", std::nullopt}, TCase{"99999999999999999999", std::nullopt}, TCase{"0", 0},
        TCase{"007", 7}, TCase{"12a", std::nullopt}, TCase{"$G1", std::nullopt}, TCase{"0x-1", std::nullopt}));

TEST(IntegerTextWide, RejectsCharactersOutsideAscii) {
  EXPECT_EQ(checks::ParseInteger(std::wstring_view(L"12")), 12);
  EXPECT_EQ(checks::ParseInteger(std::wstring_view(L"1\u0662")), std::nullopt);
  EXPECT_EQ(checks::ParseInteger(std::wstring_view(L"\uFF11")), std::nullopt);
  // Their low bytes are "4" and "2".
  EXPECT_EQ(checks::ParseInteger(std::wstring_view(L"\u0134\u0132")), std::nullopt);
}

}  // namespace
