// The committed pictures and licence text, read as the program reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "app/Licence.h"

namespace {

std::string ReadAsset(const std::string& Name) {
  std::ifstream File(std::string(VESTORA_ASSETS) + "/" + Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

bool IsProgressive(const std::string& Jpeg) { return Jpeg.find("\xFF\xC2", 0, 2) != std::string::npos; }

// Width and height from the frame header (SOF0 to SOF2); zero when there is none.
std::pair<int, int> FrameSize(const std::string& Jpeg) {
  auto Byte = [&](std::size_t At) { return At < Jpeg.size() ? static_cast<unsigned char>(Jpeg[At]) : 0u; };
  for (std::size_t At = 2; At + 8 < Jpeg.size() && Byte(At) == 0xFF;) {
    const unsigned Marker = Byte(At + 1);
    if (Marker >= 0xC0 && Marker <= 0xC2) {
      return {static_cast<int>(Byte(At + 7) << 8 | Byte(At + 8)), static_cast<int>(Byte(At + 5) << 8 | Byte(At + 6))};
    }
    At += 2 + (Byte(At + 2) << 8 | Byte(At + 3));
  }
  return {0, 0};
}

struct TPictureCase {
  const char* File;
  int Width;
  int Height;
};

class Pictures : public ::testing::TestWithParam<TPictureCase> {};

// The win layer decodes them as the program does and looks at their pixels.
TEST_P(Pictures, AreProgressiveJpegsOfTheLayoutSize) {
  const std::string Bytes = ReadAsset(GetParam().File);
  ASSERT_FALSE(Bytes.empty()) << GetParam().File;
  EXPECT_TRUE(IsProgressive(Bytes));
  EXPECT_EQ(FrameSize(Bytes), std::make_pair(GetParam().Width, GetParam().Height));
}

INSTANTIATE_TEST_SUITE_P(
    Assets, Pictures,
    ::testing::Values(TPictureCase{"eula.jpg", 600, 338}, TPictureCase{"install.jpg", 600, 338},
                      TPictureCase{"opinstall.jpg", 600, 338}, TPictureCase{"reboot.jpg", 600, 338},
                      TPictureCase{"progress.jpg", 373, 38}, TPictureCase{"progress-grey.jpg", 373, 38},
                      TPictureCase{"install-hl.jpg", 118, 32}, TPictureCase{"opinst1b.jpg", 53, 13},
                      TPictureCase{"opinst3b.jpg", 54, 39}, TPictureCase{"opinst3a.jpg", 55, 55},
                      TPictureCase{"opinst4b.jpg", 50, 50}, TPictureCase{"opinst4a.jpg", 60, 59},
                      TPictureCase{"opinst2b.jpg", 50, 58}, TPictureCase{"opinst1a.jpg", 62, 21},
                      TPictureCase{"opinst2a.jpg", 58, 58}));

TEST(Licence, HasTheStoredShape) {
  const std::vector<std::string> Items = app::SplitLicenceItems(ReadAsset("licence.txt"));
  ASSERT_EQ(Items.size(), 110u);
  EXPECT_EQ(std::count(Items.begin(), Items.end(), ""), 46);
  EXPECT_EQ(std::count(Items.begin(), Items.end(), " "), 9);
  std::size_t Longest = 0;
  for (const std::string& Item : Items) Longest = std::max(Longest, Item.size());
  EXPECT_GE(Longest, 850u);
  EXPECT_LE(Longest, 913u);
  const std::string All = ReadAsset("licence.txt");
  for (const char* Mark : {"\t", "\xA0", "\x93", "\x94", "\x92"}) EXPECT_NE(All.find(Mark), std::string::npos) << int(Mark[0]);
}

TEST(SplitLicenceItems, KeepsEmptyItemsAndDropsOnlyTheFinalLineFeed) {
  EXPECT_EQ(app::SplitLicenceItems("a\n\n \nb\n"), (std::vector<std::string>{"a", "", " ", "b"}));
  EXPECT_EQ(app::SplitLicenceItems("a\nb"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(app::SplitLicenceItems("").empty());
}

}  // namespace
