// Test doubles for the platform seams and the form host.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "download/ResellerId.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "ui/Form.h"

namespace fakes {

// Every byte is CharWidth pixels wide.
class TFixedWidthMeasurer final : public ui::ITextMeasurer {
public:
  explicit TFixedWidthMeasurer(int CharWidth = 1) : FCharWidth(CharWidth) {}
  [[nodiscard]] std::vector<int> PrefixWidths(const std::string& Text) override {
    ++Calls;
    std::vector<int> Widths(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) Widths[i] = static_cast<int>(i + 1) * FCharWidth;
    return Widths;
  }
  int Calls = 0;

private:
  int FCharWidth;
};

// Starts at Now and moves on by Step at every reading.
class TSteppingClock final : public platform::IClock {
public:
  explicit TSteppingClock(std::uint32_t Start = 0, std::uint32_t Stride = 0) : Now(Start), Step(Stride) {}
  [[nodiscard]] std::uint32_t TickCount() override {
    const std::uint32_t Reading = Now;
    Now += Step;
    return Reading;
  }
  std::uint32_t Now;
  std::uint32_t Step;
};

class TFakeFolders final : public platform::IFolders {
public:
  [[nodiscard]] std::optional<platform::TPath> ProfileFolder() override { return Profile; }
  void CreateFolderTree(const platform::TPath& Folder) override { Created.push_back(Folder); }
  std::optional<platform::TPath> Profile;
  std::vector<platform::TPath> Created;
};

class TFakeResellerId final : public download::IResellerId {
public:
  [[nodiscard]] std::int32_t GetResellerId() override {
    ++Calls;
    return Number;
  }
  std::int32_t Number = 1;
  int Calls = 0;
};

class TFakeHost final : public ui::IFormHost {
public:
  void RequestClose() override { ++CloseRequests; }
  void RepaintNow() override { ++Repaints; }
  [[nodiscard]] std::unique_ptr<ui::ITextMeasurer> CreateMeasurer(const ui::TFont& Font) override {
    MeasuredFonts.push_back(Font);
    return std::make_unique<TFixedWidthMeasurer>(CharWidth);
  }
  int CloseRequests = 0;
  int Repaints = 0;
  int CharWidth = 1;
  std::vector<ui::TFont> MeasuredFonts;
};

}  // namespace fakes
