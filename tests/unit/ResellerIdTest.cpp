#include "download/ResellerId.h"

#include <gtest/gtest.h>

#include "tests/fakes/Fakes.h"

namespace {

class ResellerId : public ::testing::Test {
protected:
  fakes::TFakeRegistry Registry;
  fakes::TFakeFileVersions Versions;
  fakes::TFakeFlash Flash;
  checks::TFunctions Functions{{Registry, Versions, Flash}};
  fakes::TFakeResources Resources;
  download::TResellerId Reseller{Resources, Functions};
};

TEST_F(ResellerId, ComesFromTheResourceAndIsRecordedEveryTime) {
  const struct {
    const char* Resource;  // nullptr: no resource
    std::size_t Bytes;
    std::int32_t Number;
  } Cases[] = {
      {nullptr, 0, 1},
      {"42", 2, 42},
      {"  42", 4, 42},
      {"42 ", 3, 1},
      {"42\r\n", 4, 1},
      {"$2A", 3, 42},
      {"-5", 2, -5},
      {"", 0, 1},
      {"12345678", 5, 12345},  // a resource of five bytes: the text ends with it
      {"42\0junk", 7, 42},
      {"\0" "42", 3, 1},
  };
  for (const auto& Case : Cases) {
    Resources.Data.clear();
    if (Case.Resource != nullptr) Resources.Data["RESELLER"] = std::string(Case.Resource, Case.Bytes);
    Registry.Writes.clear();
    EXPECT_EQ(Reseller.GetResellerId(), Case.Number);
    ASSERT_EQ(Registry.Writes.size(), 1u);
    EXPECT_EQ(Registry.Writes[0].Root, platform::TRootKey::LocalMachine);
    EXPECT_EQ(Registry.Writes[0].Key, L"SOFTWARE\\Ostrevane\\Referrer\\");
    EXPECT_EQ(Registry.Writes[0].Name, L"ID");
    EXPECT_EQ(static_cast<std::int32_t>(Registry.Writes[0].Value), Case.Number);
  }
}

TEST_F(ResellerId, AFailedWriteStillReturnsTheNumber) {
  Resources.Data.emplace("RESELLER", "7");
  Registry.FailWrites = true;
  EXPECT_EQ(Reseller.GetResellerId(), 7);
}

}  // namespace
