#include "ui/Jpeg.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace ui {
namespace {

struct TErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Escape;
};

[[noreturn]] void ErrorExit(j_common_ptr Info) {
  std::longjmp(reinterpret_cast<TErrorManager*>(Info->err)->Escape, 1);
}

void SilentOutput(j_common_ptr) {}

// Holds the setjmp; its own locals are plain C structs, and the picture lives
// in the caller's frame, so the jump back skips no destructor.
bool DecodeInto(const unsigned char* Data, std::size_t Size, TBitmap32& Picture) {
  jpeg_decompress_struct Info{};
  TErrorManager Errors{};
  Info.err = jpeg_std_error(&Errors.Base);
  Errors.Base.error_exit = ErrorExit;
  Errors.Base.output_message = SilentOutput;

  if (setjmp(Errors.Escape) != 0) {
    jpeg_destroy_decompress(&Info);
    return false;
  }
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, Data, static_cast<unsigned long>(Size));
  jpeg_read_header(&Info, TRUE);
  Info.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&Info);
  Picture.Width = static_cast<int>(Info.output_width);
  Picture.Height = static_cast<int>(Info.output_height);
  Picture.Pixels.resize(static_cast<std::size_t>(Info.output_width) * Info.output_height);
  while (Info.output_scanline < Info.output_height) {
    JSAMPROW Row = reinterpret_cast<JSAMPROW>(Picture.Pixels.data() +
                                              static_cast<std::size_t>(Info.output_scanline) * Info.output_width);
    jpeg_read_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  return true;
}

}  // namespace

std::optional<TBitmap32> DecodeJpeg(const unsigned char* Data, std::size_t Size) {
  TBitmap32 Picture;
  if (!DecodeInto(Data, Size, Picture)) return std::nullopt;
  return Picture;
}

}  // namespace ui
