// Pictures into image files through the Windows Imaging Component, which
// every Windows since Vista carries: the encoders write into a stream in
// memory, whose bytes then go to the caller's file.
#include "platform/image_codec.h"

#include <windows.h>
// After windows.h, which they need.
#include <objidl.h>
#include <wincodec.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

// Holds one reference to a COM object and releases it.
template <class T>
class Held {
  public:
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (object_) object_->Release();
    }
    T** Out() { return &object_; }
    T* operator->() const { return object_; }
    T* Get() const { return object_; }

  private:
    T* object_ = nullptr;
};

// The imaging factory of this thread, made once: a batch writes thousands
// of pictures, and COM would load and unload the codecs for each. COM stays
// on for the thread; a thread that has it already (the window's, in either
// model) keeps its own.
IWICImagingFactory* Factory(HRESULT& result) {
    thread_local IWICImagingFactory* factory = nullptr;
    if (factory == nullptr) {
        (void)::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        result = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
        if (FAILED(result)) factory = nullptr;
    }
    return factory;
}

Failure EncoderFailure(const char* step, HRESULT result) {
    char code[16];
    std::snprintf(code, sizeof code, "%08lx", static_cast<unsigned long>(result));
    return Fail(std::string("the Windows image encoder failed (") + step + ", 0x" + code + ")");
}

void SetOption(IPropertyBag2* options, const wchar_t* name, VARIANT value) {
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(name);
    // An encoder without the option keeps its own default.
    (void)options->Write(1, &option, &value);
}

// Rows of pixels in one of WIC's formats.
struct Rows {
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
    UINT bytesPerPixel = 0;
    std::vector<BYTE> bytes;
};

// `quality` in 0..1 for JPEG; negative for PNG.
Result<> Encode(Rows& rows, const GUID& container, float quality, std::FILE* file) {
    HRESULT hr = S_OK;
    IWICImagingFactory* factory = Factory(hr);
    if (factory == nullptr) return EncoderFailure("factory", hr);
    Held<IStream> stream;
    hr = ::CreateStreamOnHGlobal(nullptr, TRUE, stream.Out());
    if (FAILED(hr)) return EncoderFailure("stream", hr);
    Held<IWICBitmapEncoder> encoder;
    hr = factory->CreateEncoder(container, nullptr, encoder.Out());
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    if (FAILED(hr)) return EncoderFailure("encoder", hr);
    Held<IWICBitmapFrameEncode> frame;
    Held<IPropertyBag2> options;
    hr = encoder->CreateNewFrame(frame.Out(), options.Out());
    if (FAILED(hr)) return EncoderFailure("frame", hr);
    if (quality >= 0 && options.Get()) {
        VARIANT value;
        ::VariantInit(&value);
        value.vt = VT_R4;
        value.fltVal = quality;
        SetOption(options.Get(), L"ImageQuality", value);
        value.vt = VT_UI1;
        value.bVal = WICJpegYCrCbSubsampling420;
        SetOption(options.Get(), L"JpegYCrCbSubsampling", value);
    }
    hr = frame->Initialize(options.Get());
    if (SUCCEEDED(hr)) hr = frame->SetSize(rows.width, rows.height);
    WICPixelFormatGUID format = rows.format;
    if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
    if (FAILED(hr)) return EncoderFailure("format", hr);
    if (!::IsEqualGUID(format, rows.format))
        return Fail("the Windows image encoder does not take the picture's pixel format");
    const UINT stride = rows.width * rows.bytesPerPixel;
    hr = frame->WritePixels(rows.height, stride, static_cast<UINT>(rows.bytes.size()),
                            rows.bytes.data());
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    if (FAILED(hr)) return EncoderFailure("pixels", hr);

    HGLOBAL memory = nullptr;
    STATSTG size{};
    hr = ::GetHGlobalFromStream(stream.Get(), &memory);
    if (SUCCEEDED(hr)) hr = stream->Stat(&size, STATFLAG_NONAME);
    if (FAILED(hr)) return EncoderFailure("stream", hr);
    const void* bytes = ::GlobalLock(memory);
    if (bytes == nullptr) return Fail("out of memory");
    const auto length = static_cast<std::size_t>(size.cbSize.QuadPart);
    const bool written = std::fwrite(bytes, 1, length, file) == length;
    ::GlobalUnlock(memory);
    if (!written) return Fail("the image could not be written");
    return {};
}

// The picture as 24-bit BGR rows, the format both encoders take.
Rows BgrRows(const raster::Picture& picture) {
    Rows rows{static_cast<UINT>(picture.width),
              static_cast<UINT>(picture.height),
              GUID_WICPixelFormat24bppBGR,
              3,
              {}};
    rows.bytes.resize(picture.pixels.size() * 3);
    BYTE* out = rows.bytes.data();
    for (const raster::Colour c : picture.pixels) {
        *out++ = static_cast<BYTE>(raster::BlueOf(c));
        *out++ = static_cast<BYTE>(raster::GreenOf(c));
        *out++ = static_cast<BYTE>(raster::RedOf(c));
    }
    return rows;
}

}  // namespace

Result<> WriteJpeg(const raster::Picture& picture, int quality, std::FILE* file) {
    if (!picture.Whole()) return Fail("no picture to write");
    quality = std::clamp(quality, 1, 100);
    Rows rows = BgrRows(picture);
    return Encode(rows, GUID_ContainerFormatJpeg, static_cast<float>(quality) / 100.0f, file);
}

// WIC has no setting for how hard it packs.
Result<> WritePng(const raster::Picture& picture, std::FILE* file, PngPacking /*packing*/) {
    if (!picture.Whole()) return Fail("no picture to write");
    Rows rows = BgrRows(picture);
    return Encode(rows, GUID_ContainerFormatPng, -1.0f, file);
}

// WIC's palette formats differ in what they keep of transparency from one
// Windows to the next (and under Wine); 32-bit BGRA with alpha keeps it
// everywhere, in a somewhat larger file.
Result<> WriteIndexedPng(const IndexedPicture& picture, std::FILE* file) {
    if (const char* problem = picture.Problem()) return Fail(problem);
    Rows rows{static_cast<UINT>(picture.width),
              static_cast<UINT>(picture.height),
              GUID_WICPixelFormat32bppBGRA,
              4,
              {}};
    rows.bytes.resize(picture.pixels.size() * 4);
    BYTE* out = rows.bytes.data();
    for (const std::uint8_t index : picture.pixels) {
        const raster::Colour c = index < picture.palette.size() ? picture.palette[index] : 0;
        *out++ = static_cast<BYTE>(raster::BlueOf(c));
        *out++ = static_cast<BYTE>(raster::GreenOf(c));
        *out++ = static_cast<BYTE>(raster::RedOf(c));
        *out++ = index == 0 ? 0 : 255;
    }
    return Encode(rows, GUID_ContainerFormatPng, -1.0f, file);
}

}  // namespace platform
