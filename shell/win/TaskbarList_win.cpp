#include "shell/win/TaskbarList_win.h"

#include <objbase.h>
#include <shobjidl.h>

#include "platform/win/ComPtr.h"

namespace shell::win {
namespace {

class TWinTaskbarList final : public ITaskbarList {
public:
  TWinTaskbarList(platform::win::TComPtr<ITaskbarList3> List, HWND Owner) : FList(std::move(List)), FOwner(Owner) {}
  void SetProgressState(platform::TTaskbarState State) override {
    (void)FList->SetProgressState(FOwner, static_cast<TBPFLAG>(State));
  }
  void SetProgressValue(std::uint64_t Completed, std::uint64_t Total) override {
    (void)FList->SetProgressValue(FOwner, Completed, Total);
  }

private:
  platform::win::TComPtr<ITaskbarList3> FList;
  HWND FOwner;
};

}  // namespace

std::unique_ptr<ITaskbarList> TWinTaskbarListFactory::Create() {
  platform::win::TComPtr<ITaskbarList3> List;
  if (FAILED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_ITaskbarList3, List.Out())) ||
      !List) {
    return nullptr;
  }
  (void)List->HrInit();
  return std::make_unique<TWinTaskbarList>(std::move(List), FOwner);
}

}  // namespace shell::win
