#include "ui/win/WicDecoder_win.h"

#include "platform/win/SystemLibrary_win.h"

namespace ui::win {
namespace {

using platform::win::TComPtr;

// GUID_WICPixelFormat32bppBGR: the bytes B, G, R and a filler, as a DIB row holds them.
constexpr GUID Format32bppBGR = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};
// The largest picture the program would ever decode; anything bigger is not one of ours.
constexpr UINT MostPixels = 4096 * 4096;

template <typename T>
T** Out(TComPtr<T>& Pointer) {
  return reinterpret_cast<T**>(Pointer.Out());
}

}  // namespace

bool TWicDecoder::Ready() {
  if (!FTried) {
    FTried = true;
    using TCreateFactory = HRESULT(WINAPI*)(UINT, IWICImagingFactory**);
    FCodecs = platform::win::LoadSystemLibrary(L"windowscodecs.dll");
    if (auto Create = platform::win::EntryPoint<TCreateFactory>(FCodecs.Get(), "WICCreateImagingFactory_Proxy")) {
      if (FAILED(Create(WINCODEC_SDK_VERSION, Out(FFactory)))) FFactory.Reset();
    }
  }
  return static_cast<bool>(FFactory);
}

std::optional<TBitmap32> TWicDecoder::Decode(const unsigned char* Data, std::size_t Size) {
  if (Data == nullptr || Size == 0 || Size > MAXDWORD || !Ready()) return std::nullopt;
  TComPtr<IWICStream> Stream;
  TComPtr<IWICBitmapDecoder> Decoder;
  TComPtr<IWICBitmapFrameDecode> Frame;
  TComPtr<IWICFormatConverter> Converter;
  UINT Width = 0;
  UINT Height = 0;
  // WIC only reads the memory it is given.
  if (FAILED(FFactory->CreateStream(Out(Stream))) ||
      FAILED(Stream->InitializeFromMemory(const_cast<BYTE*>(Data), static_cast<DWORD>(Size))) ||
      FAILED(FFactory->CreateDecoderFromStream(Stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, Out(Decoder))) ||
      FAILED(Decoder->GetFrame(0, Out(Frame))) || FAILED(FFactory->CreateFormatConverter(Out(Converter))) ||
      FAILED(Converter->Initialize(Frame.Get(), Format32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(Converter->GetSize(&Width, &Height)) || Width == 0 || Height == 0 || Width > MostPixels / Height) {
    return std::nullopt;
  }
  TBitmap32 Picture;
  Picture.Width = static_cast<int>(Width);
  Picture.Height = static_cast<int>(Height);
  Picture.Pixels.resize(static_cast<std::size_t>(Width) * Height);
  if (FAILED(Converter->CopyPixels(nullptr, Width * 4, Width * Height * 4,
                                   reinterpret_cast<BYTE*>(Picture.Pixels.data())))) {
    return std::nullopt;
  }
  for (std::uint32_t& Pixel : Picture.Pixels) Pixel &= 0x00FFFFFFu;
  return Picture;
}

}  // namespace ui::win
