// The committed pictures and licence text, read as the program reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "app/Licence.h"
#include "ui/Jpeg.h"

namespace {

std::string ReadAsset(const std::string& Name) {
  std::ifstream File(std::string(VESTORA_ASSETS) + "/" + Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

bool IsProgressive(const std::string& Jpeg) { return Jpeg.find("\xFF\xC2", 0, 2) != std::string::npos; }

// A block of 3 x 3 silver pixels: the window background showing through.
bool HasSilverBlock(const ui::TBitmap32& Picture) {
  auto Silver = [&](int X, int Y) { return Picture.Pixels[static_cast<std::size_t>(Y * Picture.Width + X)] == 0xC0C0C0u; };
  for (int y = 0; y + 2 < Picture.Height; ++y) {
    for (int x = 0; x + 2 < Picture.Width; ++x) {
      bool Block = true;
      for (int dy = 0; dy < 3 && Block; ++dy)
        for (int dx = 0; dx < 3 && Block; ++dx) Block = Silver(x + dx, y + dy);
      if (Block) return true;
    }
  }
  return false;
}

struct TPictureCase {
  const char* File;
  int Width;
  int Height;
};

class Pictures : public ::testing::TestWithParam<TPictureCase> {};

TEST_P(Pictures, AreProgressiveJpegsOfTheLayoutSize) {
  const std::string Bytes = ReadAsset(GetParam().File);
  ASSERT_FALSE(Bytes.empty()) << GetParam().File;
  EXPECT_TRUE(IsProgressive(Bytes));
  const auto Picture = ui::DecodeJpeg(reinterpret_cast<const unsigned char*>(Bytes.data()), Bytes.size());
  ASSERT_TRUE(Picture.has_value());
  EXPECT_EQ(Picture->Width, GetParam().Width);
  EXPECT_EQ(Picture->Height, GetParam().Height);
  EXPECT_FALSE(HasSilverBlock(*Picture));
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

TEST(DecodeJpeg, RejectsDataThatIsNoJpeg) {
  const std::string Junk = "\xFF\xD8\xFF\xE0 not really a picture";
  EXPECT_FALSE(ui::DecodeJpeg(reinterpret_cast<const unsigned char*>(Junk.data()), Junk.size()).has_value());
  std::string Cut = ReadAsset("eula.jpg");
  Cut.resize(Cut.size() / 3);
  // A truncated file still decodes (libjpeg pads it) or fails cleanly; it never crashes.
  (void)ui::DecodeJpeg(reinterpret_cast<const unsigned char*>(Cut.data()), Cut.size());
  EXPECT_FALSE(ui::DecodeJpeg(nullptr, 0).has_value());
}

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
