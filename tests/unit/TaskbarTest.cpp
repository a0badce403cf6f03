#include "shell/VistaAeroDesktopComposition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TRecordingFactory final : public shell::ITaskbarListFactory {
public:
  class TList final : public shell::ITaskbarList {
  public:
    explicit TList(std::vector<std::string>& Calls) : FCalls(Calls) {}
    void SetProgressState(platform::TTaskbarState State) override {
      FCalls.push_back("state " + std::to_string(static_cast<int>(State)));
    }
    void SetProgressValue(std::uint64_t Done, std::uint64_t Total) override {
      FCalls.push_back("value " + std::to_string(Done) + "/" + std::to_string(Total));
    }

  private:
    std::vector<std::string>& FCalls;
  };
  [[nodiscard]] std::unique_ptr<shell::ITaskbarList> Create() override {
    ++Creations;
    if (!Available) return nullptr;
    return std::make_unique<TList>(Calls);
  }
  bool Available = true;
  int Creations = 0;
  std::vector<std::string> Calls;
};

TEST(TaskbarProgress, StatesReachTheTaskbarOnlyWhenTheyChange) {
  TRecordingFactory Factory;
  shell::TVistaAeroDesktopComposition Taskbar(Factory);
  Taskbar.SetTaskbarProgressState(platform::TTaskbarState::Normal);
  Taskbar.SetTaskbarProgressValue(0, 371);
  Taskbar.SetTaskbarProgressState(platform::TTaskbarState::Normal);
  Taskbar.SetTaskbarProgressValue(1, 371);
  Taskbar.SetTaskbarProgressState(platform::TTaskbarState::NoProgress);
  Taskbar.SetTaskbarProgressState(platform::TTaskbarState::NoProgress);
  EXPECT_EQ(Factory.Creations, 1);
  EXPECT_EQ(Factory.Calls, (std::vector<std::string>{"state 2", "value 0/371", "value 1/371", "state 0"}));
}

TEST(TaskbarProgress, AValueFirstCreatesTheObjectWithoutAState) {
  TRecordingFactory Factory;
  shell::TVistaAeroDesktopComposition Taskbar(Factory);
  Taskbar.SetTaskbarProgressValue(5, 10);
  Taskbar.SetTaskbarProgressState(platform::TTaskbarState::NoProgress);  // the same as the initial last state: not sent
  Taskbar.SetTaskbarProgressState(platform::TTaskbarState::Normal);
  EXPECT_EQ(Factory.Calls, (std::vector<std::string>{"value 5/10", "state 2"}));
}

TEST(TaskbarProgress, AFailedCreationIsNeverRetried) {
  TRecordingFactory Factory;
  Factory.Available = false;
  shell::TVistaAeroDesktopComposition Taskbar(Factory);
  Taskbar.SetTaskbarProgressState(platform::TTaskbarState::Normal);
  Factory.Available = true;
  Taskbar.SetTaskbarProgressValue(1, 2);
  Taskbar.SetTaskbarProgressState(platform::TTaskbarState::NoProgress);
  EXPECT_EQ(Factory.Creations, 1);
  EXPECT_TRUE(Factory.Calls.empty());
}

}  // namespace
