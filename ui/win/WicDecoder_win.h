#pragma once

#include <wincodec.h>
#include <windows.h>

#include "platform/win/ComPtr.h"
#include "platform/win/Handles.h"
#include "ui/Pictures.h"

namespace ui::win {

// Pictures decoded by the Windows Imaging Component, in the box since Vista.
// windowscodecs.dll is loaded from System32 on the first picture; the thread
// must have COM initialised.
class TWicDecoder final : public IPictureDecoder {
public:
  [[nodiscard]] std::optional<TBitmap32> Decode(const unsigned char* Data, std::size_t Size) override;

private:
  bool Ready();

  platform::win::TModule FCodecs;
  platform::win::TComPtr<IWICImagingFactory> FFactory;
  bool FTried = false;
};

}  // namespace ui::win
