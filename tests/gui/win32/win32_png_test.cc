// Screenshots saved through the system's image encoder: what is written
// reads back, pixel for pixel, through the system's decoder; a file that
// cannot be made is reported and leaves nothing behind.
#include "gui/win32/win32_png.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <wincodec.h>

#include <cstdint>
#include <vector>

#include "support/scratch_folder.h"

namespace tabulon::gui::win32 {
namespace {

// The file's pixels as 0x00RRGGBB, read by the system's own PNG decoder.
std::vector<std::uint32_t> Decode(const wchar_t* path, UINT& width,
                                  UINT& height) {
  std::vector<std::uint32_t> pixels;
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                   IID_PPV_ARGS(&factory));
  if (factory != nullptr &&
      SUCCEEDED(factory->CreateDecoderFromFilename(
          path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
          &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR,
                                      WICBitmapDitherTypeNone, nullptr, 0,
                                      WICBitmapPaletteTypeCustom))) {
    converter->GetSize(&width, &height);
    pixels.resize(static_cast<std::size_t>(width) * height);
    converter->CopyPixels(nullptr, width * 4, pixels.size() * 4,
                          reinterpret_cast<BYTE*>(pixels.data()));
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  }
  for (IUnknown* held :
       {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
        static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)}) {
    if (held != nullptr) held->Release();
  }
  return pixels;
}

class WritePngTest : public test_support::InScratchFolder {
 protected:
  WritePngTest() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~WritePngTest() override { CoUninitialize(); }
};

TEST_F(WritePngTest, ReadsBackPixelForPixel) {
  const std::vector<std::uint32_t> written = {0xFF0000, 0x00FF00, 0x0000FF,
                                              0x000000, 0xFFFFFF, 0xD4D0C8};
  ASSERT_TRUE(WritePng("window.png", 3, 2, written));
  UINT width = 0, height = 0;
  EXPECT_EQ(Decode(L"window.png", width, height), written);
  EXPECT_EQ(width, 3u);
  EXPECT_EQ(height, 2u);
}

TEST_F(WritePngTest, AFileThatCannotBeMadeIsReportedAndLeavesNothing) {
  const std::vector<std::uint32_t> pixel = {0};
  EXPECT_FALSE(WritePng("missing\\window.png", 1, 1, pixel));
  test_support::MakeFolder("window.png");  // a folder in the file's place
  EXPECT_FALSE(WritePng("window.png", 1, 1, pixel));
  EXPECT_FALSE(WritePng("empty.png", 0, 0, {}));
  EXPECT_FALSE(test_support::Exists("empty.png"));
}

}  // namespace
}  // namespace tabulon::gui::win32
