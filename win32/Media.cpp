#include "win32/Media.h"

#include <dsound.h>
#include <objbase.h>
#include <shellapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "media/FileBytes.h"
#include "media/PictureHeader.h"
#include "media/WaveFile.h"
#include "settings/WideText.h"
#include "win32/SystemFunction.h"

namespace quintaro {

namespace {

// ---- Sound -------------------------------------------------------------------------------

using DirectSoundCreateFunction = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

struct SoundOutput {
    HMODULE library = nullptr;
    IDirectSound* device = nullptr;
    IDirectSoundBuffer* primary = nullptr;
    HWND window = nullptr;  // hidden, for the cooperation level
    std::map<int, IDirectSoundBuffer*> sounds;
};

SoundOutput& output() {
    static SoundOutput state;
    return state;
}

template <typename T>
void release(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

// The extensible format's sub-format GUIDs, spelled out so no import library is needed.
constexpr GUID pcmSubFormat = {
    0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID floatSubFormat = {
    0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

}  // namespace

std::optional<SoundData> soundData(std::string_view fileBytes) {
    std::optional<WaveSound> wave = parseWave(fileBytes);
    if (!wave || wave->samples.empty() || wave->samples.size() > DSBSIZE_MAX) {
        return std::nullopt;
    }
    SoundData data;
    WAVEFORMATEX& format = data.format.Format;
    format.nChannels = WORD(wave->channels);
    format.nSamplesPerSec = DWORD(wave->sampleRate);
    format.nBlockAlign = WORD(wave->bytesPerFrame());
    format.wBitsPerSample = WORD(wave->bytesPerFrame() / wave->channels * 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    switch (wave->format) {
        case WaveSound::Format::Unsigned8:
        case WaveSound::Format::Signed16:
            format.wFormatTag = WAVE_FORMAT_PCM;
            format.cbSize = 0;
            break;
        case WaveSound::Format::Signed32:
        case WaveSound::Format::Float32:
            // Wider samples and more than two channels need the extensible description.
            format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
            format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
            data.format.Samples.wValidBitsPerSample = format.wBitsPerSample;
            data.format.dwChannelMask = 0;
            data.format.SubFormat =
                wave->format == WaveSound::Format::Float32 ? floatSubFormat : pcmSubFormat;
            break;
    }
    if (format.wFormatTag == WAVE_FORMAT_PCM && format.nChannels > 2) {
        format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
        format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
        data.format.Samples.wValidBitsPerSample = format.wBitsPerSample;
        data.format.SubFormat = pcmSubFormat;
    }
    data.samples = std::move(wave->samples);
    return data;
}

void initSound() {
    SoundOutput& state = output();
    if (state.device != nullptr) {
        return;
    }
    state.library = LoadLibraryW(L"dsound.dll");
    if (state.library == nullptr) {
        return;
    }
    const auto create = reinterpret_cast<DirectSoundCreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(state.library, "DirectSoundCreate")));
    state.window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    if (create == nullptr || FAILED(create(nullptr, &state.device, nullptr)) ||
        FAILED(state.device->SetCooperativeLevel(state.window, DSSCL_PRIORITY))) {
        releaseSound();
        return;
    }
    DSBUFFERDESC primary{};
    primary.dwSize = sizeof primary;
    primary.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (FAILED(state.device->CreateSoundBuffer(&primary, &state.primary, nullptr))) {
        state.primary = nullptr;  // the secondary buffers work without it
    }
}

bool soundAvailable() {
    return output().device != nullptr;
}

bool soundLoaded(int number) {
    return output().sounds.count(number) != 0;
}

void freeSound(int number) {
    SoundOutput& state = output();
    const auto found = state.sounds.find(number);
    if (found != state.sounds.end()) {
        found->second->Stop();
        found->second->Release();
        state.sounds.erase(found);
    }
}

void loadSound(int number, const std::string& fileName) {
    freeSound(number);
    SoundOutput& state = output();
    if (state.device == nullptr) {
        return;
    }
    const auto bytes = readRegularFile(fileName, maxWaveFileBytes);
    if (!bytes) {
        return;
    }
    std::optional<SoundData> data = soundData(*bytes);
    if (!data) {
        return;
    }
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY |
                          DSBCAPS_STATIC | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = DWORD(data->samples.size());
    description.lpwfxFormat = &data->format.Format;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(state.device->CreateSoundBuffer(&description, &buffer, nullptr))) {
        return;
    }
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (FAILED(buffer->Lock(0, description.dwBufferBytes, &first, &firstBytes, &second,
                            &secondBytes, 0))) {
        buffer->Release();
        return;
    }
    std::memcpy(first, data->samples.data(), firstBytes);
    if (second != nullptr) {
        std::memcpy(second, data->samples.data() + firstBytes, secondBytes);
    }
    buffer->Unlock(first, firstBytes, second, secondBytes);
    state.sounds[number] = buffer;
}

void playSound(int number) {
    SoundOutput& state = output();
    const auto found = state.sounds.find(number);
    if (found == state.sounds.end()) {
        return;
    }
    // A second roll while the sound still plays starts it again: sounds never overlap.
    IDirectSoundBuffer* buffer = found->second;
    buffer->Stop();
    buffer->SetCurrentPosition(0);
    if (buffer->Play(0, 0, 0) == DSERR_BUFFERLOST && SUCCEEDED(buffer->Restore())) {
        buffer->Play(0, 0, 0);
    }
}

void releaseSound() {
    SoundOutput& state = output();
    while (!state.sounds.empty()) {
        freeSound(state.sounds.begin()->first);
    }
    release(state.primary);
    release(state.device);
    if (state.window != nullptr) {
        DestroyWindow(state.window);
        state.window = nullptr;
    }
    if (state.library != nullptr) {
        FreeLibrary(state.library);
        state.library = nullptr;
    }
}

// ---- Pictures ----------------------------------------------------------------------------

namespace {

std::map<int, HBITMAP>& pictures() {
    static std::map<int, HBITMAP> table;
    return table;
}

using CoInitializeFunction = HRESULT(WINAPI*)(void*);
using CoUninitializeFunction = void(WINAPI*)();
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// COM and the imaging component start with the first picture, not before the first window.
bool comStarted = false;
IWICImagingFactory* factoryMade = nullptr;

IWICImagingFactory* imagingFactory() {
    if (factoryMade == nullptr) {
        static const auto initialize =
            systemFunction<CoInitializeFunction>(L"ole32.dll", "CoInitialize");
        static const auto create =
            systemFunction<CoCreateInstanceFunction>(L"ole32.dll", "CoCreateInstance");
        if (initialize == nullptr || create == nullptr) {
            return nullptr;
        }
        if (!comStarted) {
            comStarted = SUCCEEDED(initialize(nullptr));
        }
        if (FAILED(create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                          IID_IWICImagingFactory, reinterpret_cast<void**>(&factoryMade)))) {
            factoryMade = nullptr;
        }
    }
    return factoryMade;
}

// The smoothest scaler of Windows 10 (missing from older headers); Fant where it is refused.
constexpr auto highQualityCubic = WICBitmapInterpolationMode(4);

// One container format, decoded from memory into a 24-bit top-down DIB section, scaled
// smoothly from 96 DPI to `dpi`. The caller has measured the file's own header against the
// limits: the imaging component decodes the pixels as soon as it is handed the file (Wine's
// while it reads the header), so it never sees a file before that. Its frame must then be
// the size the header gave. A picture that would grow beyond the limits keeps its own size.
HBITMAP decodeAs(IWICImagingFactory* factory, const GUID& container, std::string_view bytes,
                 PictureSize header, int dpi) {
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapScaler* scaler = nullptr;
    IWICFormatConverter* converter = nullptr;
    HBITMAP bitmap = nullptr;
    UINT width = 0;
    UINT height = 0;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromMemory(
                  reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), DWORD(bytes.size()))) &&
              SUCCEEDED(factory->CreateDecoder(container, nullptr, &decoder)) &&
              SUCCEEDED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height));
    ok = ok && PictureSize{width, height} == header;
    IWICBitmapSource* decoded = frame;
    if (ok && dpi != baseDpi) {
        const int scaledWidth = std::max(1, scaled(int(width), dpi));
        const int scaledHeight = std::max(1, scaled(int(height), dpi));
        const bool fits = pictureSizeAllowed(UINT(scaledWidth), UINT(scaledHeight));
        if (fits && SUCCEEDED(factory->CreateBitmapScaler(&scaler))) {
            if (SUCCEEDED(scaler->Initialize(frame, UINT(scaledWidth), UINT(scaledHeight),
                                             highQualityCubic)) ||
                SUCCEEDED(scaler->Initialize(frame, UINT(scaledWidth), UINT(scaledHeight),
                                             WICBitmapInterpolationModeFant))) {
                decoded = scaler;
                width = UINT(scaledWidth);
                height = UINT(scaledHeight);
            }
        }
    }
    // A frame that is already 24-bit BGR (as JPEG frames are) is copied as it is; others go
    // through a converter to 24-bit BGR, or where that is refused to 32-bit BGR, whose
    // fourth byte is dropped row by row.
    bool direct = false;
    WICPixelFormatGUID native{};
    IWICBitmapSource* source = decoded;
    if (ok && SUCCEEDED(decoded->GetPixelFormat(&native)) &&
        native == GUID_WICPixelFormat24bppBGR) {
        direct = true;
    } else if (ok && SUCCEEDED(factory->CreateFormatConverter(&converter))) {
        source = converter;
        direct = SUCCEEDED(converter->Initialize(decoded, GUID_WICPixelFormat24bppBGR,
                                                 WICBitmapDitherTypeNone, nullptr, 0.0,
                                                 WICBitmapPaletteTypeCustom));
        if (!direct) {
            release(converter);
            ok = SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
                 SUCCEEDED(converter->Initialize(decoded, GUID_WICPixelFormat32bppBGR,
                                                 WICBitmapDitherTypeNone, nullptr, 0.0,
                                                 WICBitmapPaletteTypeCustom));
        }
    } else {
        ok = false;
    }
    if (ok) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = LONG(width);
        info.bmiHeader.biHeight = -LONG(height);  // rows from top to bottom
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        const UINT stride = (width * 3 + 3) & ~3u;
        bool copied = false;
        if (bitmap != nullptr && direct) {
            copied = SUCCEEDED(
                source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels)));
        } else if (bitmap != nullptr) {
            std::vector<BYTE> row(std::size_t(width) * 4);
            copied = true;
            for (UINT y = 0; y < height && copied; ++y) {
                const WICRect line{0, INT(y), INT(width), 1};
                copied = SUCCEEDED(
                    converter->CopyPixels(&line, width * 4, UINT(row.size()), row.data()));
                BYTE* out = static_cast<BYTE*>(pixels) + std::size_t(y) * stride;
                for (UINT x = 0; x < width; ++x) {
                    out[3 * x] = row[4 * x];
                    out[3 * x + 1] = row[4 * x + 1];
                    out[3 * x + 2] = row[4 * x + 2];
                }
            }
        }
        if (bitmap != nullptr && !copied) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    release(converter);
    release(scaler);
    release(frame);
    release(decoder);
    release(stream);
    return bitmap;
}

}  // namespace

HBITMAP decodePicture(std::string_view bytes, int dpi) {
    if (bytes.size() < 2 || bytes.size() > maxPictureFileBytes) {
        return nullptr;
    }
    // "BM" decides; otherwise an icon, and what the icon decoder refuses is tried as a JPEG.
    // Each is measured on its own header first: the imaging component is not even started
    // for a file the limits refuse.
    const bool bitmap = bytes.substr(0, 2) == "BM";
    const struct {
        const GUID& container;
        std::optional<PictureSize> size;
    } kinds[] = {
        {GUID_ContainerFormatBmp, bitmap ? bitmapSize(bytes) : std::nullopt},
        {GUID_ContainerFormatIco, !bitmap && looksLikeIcon(bytes) ? iconSize(bytes) : std::nullopt},
        {GUID_ContainerFormatJpeg, bitmap ? std::nullopt : jpegSize(bytes)},
    };
    for (const auto& kind : kinds) {
        if (!pictureSizeAllowed(kind.size)) {
            continue;
        }
        IWICImagingFactory* factory = imagingFactory();
        if (factory == nullptr) {
            return nullptr;
        }
        if (HBITMAP decoded = decodeAs(factory, kind.container, bytes, *kind.size, dpi)) {
            return decoded;
        }
    }
    return nullptr;
}

void loadPicture(int number, const std::string& fileName, int dpi) {
    auto& table = pictures();
    const auto found = table.find(number);
    if (found != table.end()) {
        DeleteObject(found->second);
        table.erase(found);
    }
    const auto bytes = readRegularFile(fileName, maxPictureFileBytes);
    if (!bytes) {
        return;
    }
    if (HBITMAP bitmap = decodePicture(*bytes, dpi)) {
        table[number] = bitmap;
    }
}

HBITMAP pictureBitmap(int number) {
    const auto& table = pictures();
    const auto found = table.find(number);
    return found == table.end() ? nullptr : found->second;
}

void freePictures() {
    for (auto& [number, bitmap] : pictures()) {
        DeleteObject(bitmap);
    }
    pictures().clear();
}

void endPictures() {
    freePictures();
    if (factoryMade != nullptr) {
        factoryMade->Release();
        factoryMade = nullptr;
    }
    if (comStarted) {
        comStarted = false;
        if (const auto uninitialize =
                systemFunction<CoUninitializeFunction>(L"ole32.dll", "CoUninitialize")) {
            uninitialize();
        }
    }
}

// ---- Documents ---------------------------------------------------------------------------

void openDocument(const std::string& fileName) {
    const std::wstring name = widen(fileName);
    if (name.empty()) {
        return;
    }
    wchar_t absolute[MAX_PATH * 4] = {};
    const DWORD length =
        GetFullPathNameW(name.c_str(), DWORD(std::size(absolute)), absolute, nullptr);
    if (length == 0 || length >= std::size(absolute)) {
        return;
    }
    // Only an existing regular file is handed on, and always with the "open" verb: the shell
    // shows it with the program for its type and never runs it as a program itself.
    const DWORD attributes = GetFileAttributesW(absolute);
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return;
    }
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    request.lpVerb = L"open";
    request.lpFile = absolute;
    request.nShow = SW_SHOWNORMAL;
    if (const auto execute =
            systemFunction<ShellExecuteExFunction>(L"shell32.dll", "ShellExecuteExW")) {
        execute(&request);
    }
}

}  // namespace quintaro
