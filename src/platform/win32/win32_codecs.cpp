#include "platform/win32/win32_codecs.h"

#include <windows.h>
// after windows.h
#include <objbase.h>
#include <oleauto.h>
#include <wincodec.h>

#include <algorithm>
#include <string>

#include "platform/error.h"
#include "platform/win32/win32_util.h"

namespace orv::win32 {
namespace {

void Check(HRESULT hr, const char* step) {
    if (FAILED(hr))
        throw Error(static_cast<long>(hr),
                    std::string(step) + ": " + SystemMessage(static_cast<DWORD>(hr)));
}

// Holds one COM interface and releases it.
template <typename T>
class Com {
  public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p_) p_->Release();
    }
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

  private:
    T* p_ = nullptr;
};

// COM for this thread while encoding; a thread already in another
// apartment mode is used as it is.
class ComScope {
  public:
    ComScope() {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (hr == RPC_E_CHANGED_MODE) return;
        Check(hr, "Starting COM");
        owned_ = true;
    }
    ~ComScope() {
        if (owned_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool owned_ = false;
};

void WriteOption(IPropertyBag2* bag, const wchar_t* name, VARIANT& value) {
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(name);
    Check(bag->Write(1, &option, &value), "Setting a JPEG option");
}

// Converts rows of 0x00RRGGBB into the frame's format and hands them over
// in bands, so the whole picture is never held twice.
void WriteRows(IWICBitmapFrameEncode* frame, const Image& image) {
    const UINT stride = static_cast<UINT>(image.width) * 3;
    constexpr int kBand = 64;
    std::vector<BYTE> band(std::size_t(stride) * kBand);
    for (int top = 0; top < image.height; top += kBand) {
        const int rows = std::min(kBand, image.height - top);
        for (int y = 0; y < rows; ++y) {
            const uint32_t* src = &image.pixels[std::size_t(top + y) * image.width];
            BYTE* dst = &band[std::size_t(y) * stride];
            for (int x = 0; x < image.width; ++x) {
                dst[3 * x] = static_cast<BYTE>(src[x]);
                dst[3 * x + 1] = static_cast<BYTE>(src[x] >> 8);
                dst[3 * x + 2] = static_cast<BYTE>(src[x] >> 16);
            }
        }
        Check(frame->WritePixels(static_cast<UINT>(rows), stride, stride * static_cast<UINT>(rows),
                                 band.data()),
              "Writing the JPEG pixels");
    }
}

std::vector<uint8_t> StreamBytes(IStream* stream) {
    STATSTG stat{};
    Check(stream->Stat(&stat, STATFLAG_NONAME), "Reading the JPEG size");
    HGLOBAL memory = nullptr;
    Check(GetHGlobalFromStream(stream, &memory), "Reading the JPEG data");
    const auto size = static_cast<std::size_t>(stat.cbSize.QuadPart);
    const void* data = GlobalLock(memory);
    if (data == nullptr) Check(HRESULT_FROM_WIN32(GetLastError()), "Reading the JPEG data");
    std::vector<uint8_t> bytes;
    try {
        bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    } catch (...) {
        GlobalUnlock(memory);
        throw;
    }
    GlobalUnlock(memory);  // returns 0 once unlocked: nothing to check
    return bytes;
}

}  // namespace

std::vector<uint8_t> Win32Codecs::EncodeJpeg(const Image& image, int quality) {
    if (image.empty() || image.pixels.size() != std::size_t(image.width) * image.height)
        throw Error(err::kInvalidCall, "There is no image to encode");
    quality = std::clamp(quality, 1, 100);
    ComScope com;

    Com<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())),
          "Starting the imaging component");
    Com<IStream> stream;
    Check(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out()), "Creating the JPEG buffer");
    Com<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Out()),
          "Creating the JPEG encoder");
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "Starting the JPEG encoder");

    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> properties;
    Check(encoder->CreateNewFrame(frame.Out(), properties.Out()), "Creating the JPEG frame");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = static_cast<float>(quality) / 100.0f;
    WriteOption(properties.get(), L"ImageQuality", value);
    Check(frame->Initialize(properties.get()), "Starting the JPEG frame");
    Check(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height)),
          "Setting the JPEG size");
    const WICPixelFormatGUID wanted = GUID_WICPixelFormat24bppBGR;
    WICPixelFormatGUID format = wanted;
    Check(frame->SetPixelFormat(&format), "Setting the JPEG pixel format");
    if (!IsEqualGUID(format, wanted))
        throw Error(err::kInvalidCall, "The JPEG encoder refused the pixel format");
    WriteRows(frame.get(), image);
    Check(frame->Commit(), "Finishing the JPEG frame");
    Check(encoder->Commit(), "Finishing the JPEG file");
    return StreamBytes(stream.get());
}

}  // namespace orv::win32
