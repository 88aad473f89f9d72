#include "gui/win32/win32_png.h"

#include <windows.h>
// After windows.h, which it needs.
#include <wincodec.h>

namespace tabulon::gui::win32 {
namespace {

// Releases a COM interface when it goes.
template <typename Interface>
class Owned {
 public:
  Owned() = default;
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  Interface** out() { return &pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// The rows as the encoder takes them: blue, green, red, three bytes a pixel.
std::vector<BYTE> BgrRows(int width, int height,
                          const std::vector<std::uint32_t>& rgb) {
  std::vector<BYTE> rows;
  rows.reserve(static_cast<std::size_t>(width) * height * 3);
  for (const std::uint32_t pixel : rgb) {
    rows.push_back(static_cast<BYTE>(pixel));
    rows.push_back(static_cast<BYTE>(pixel >> 8));
    rows.push_back(static_cast<BYTE>(pixel >> 16));
  }
  return rows;
}

HRESULT WriteFrame(IWICBitmapEncoder& encoder, int width, int height,
                   std::vector<BYTE>& rows) {
  Owned<IWICBitmapFrameEncode> frame;
  Owned<IPropertyBag2> options;
  HRESULT result = encoder.CreateNewFrame(frame.out(), options.out());
  if (SUCCEEDED(result)) result = frame->Initialize(options.get());
  if (SUCCEEDED(result)) result = frame->SetSize(width, height);
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (SUCCEEDED(result)) result = frame->SetPixelFormat(&format);
  if (SUCCEEDED(result) && format != GUID_WICPixelFormat24bppBGR) {
    result = E_FAIL;  // the encoder would want other rows
  }
  if (SUCCEEDED(result)) {
    result = frame->WritePixels(height, static_cast<UINT>(width) * 3,
                                static_cast<UINT>(rows.size()), rows.data());
  }
  if (SUCCEEDED(result)) result = frame->Commit();
  return result;
}

HRESULT Encode(const std::wstring& path, int width, int height,
               std::vector<BYTE>& rows) {
  Owned<IWICImagingFactory> factory;
  HRESULT result =
      CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                       IID_PPV_ARGS(factory.out()));
  Owned<IWICStream> stream;
  if (SUCCEEDED(result)) result = factory->CreateStream(stream.out());
  if (SUCCEEDED(result)) {
    result = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  }
  Owned<IWICBitmapEncoder> encoder;
  if (SUCCEEDED(result)) {
    result =
        factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out());
  }
  if (SUCCEEDED(result)) {
    result = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
  }
  if (SUCCEEDED(result))
    result = WriteFrame(*encoder.get(), width, height, rows);
  if (SUCCEEDED(result)) result = encoder->Commit();
  return result;
}

std::wstring Wide(const std::string& text) {
  const int length = static_cast<int>(text.size());
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CP_ACP, 0, text.data(), length, wide.data(), length)));
  return wide;
}

}  // namespace

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& rgb) {
  if (width <= 0 || height <= 0 ||
      rgb.size() != static_cast<std::size_t>(width) * height) {
    return false;
  }
  std::vector<BYTE> rows = BgrRows(width, height, rgb);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring file = Wide(path);
  const bool written = SUCCEEDED(Encode(file, width, height, rows));
  if (!written) DeleteFileW(file.c_str());
  if (SUCCEEDED(com)) CoUninitialize();
  return written;
}

}  // namespace tabulon::gui::win32
