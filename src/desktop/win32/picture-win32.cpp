#include "desktop/win32/picture-win32.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <utility>

namespace {

/// Owns one reference to a COM object.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (object_) object_->Release();
  }
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T** put() { return &object_; }

 private:
  T* object_ = nullptr;
};

/// COM for this thread, for as long as this lives.
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (initialised_) ::CoUninitialize();
  }

 private:
  bool initialised_;
};

/// The bytes of an RCDATA resource of the executable; they live as long as the process.
std::pair<const BYTE*, DWORD> ResourceBytes(int resource) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return {nullptr, 0};
  HGLOBAL loaded = ::LoadResource(module, found);
  const DWORD size = ::SizeofResource(module, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return {nullptr, 0};
  return {static_cast<const BYTE*>(bytes), size};
}

/// A top-down 32-bit DIB section of the size; `bits` receives its pixels.
UniqueGdiObject MakeDib(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return UniqueGdiObject(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace

UniqueGdiObject LoadPictureResource(int resource, int width, int height) {
  const auto [bytes, size] = ResourceBytes(resource);
  if (!bytes || width <= 0 || height <= 0) return {};
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put())))) {
    return {};
  }
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapScaler> scaler;
  ComPtr<IWICFormatConverter> converter;
  // The picture fills the box exactly; its proportions are not kept.
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), size)) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateBitmapScaler(scaler.put())) ||
      FAILED(scaler->Initialize(frame.get(), static_cast<UINT>(width), static_cast<UINT>(height),
                                WICBitmapInterpolationModeFant)) ||
      FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(scaler.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                   0.0, WICBitmapPaletteTypeCustom))) {
    return {};
  }
  void* bits = nullptr;
  UniqueGdiObject bitmap = MakeDib(width, height, &bits);
  if (!bitmap) return {};
  const UINT stride = static_cast<UINT>(width) * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height), static_cast<BYTE*>(bits)))) {
    return {};
  }
  return bitmap;
}
