#include "platform/win32/Bitmaps.h"

#include "platform/win32/resource.h"

#include <objidl.h>
// GDI+ uses min and max unqualified.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

#include <map>
#include <memory>

namespace tabbern::win32 {

namespace {

std::map<int, std::unique_ptr<Gdiplus::Bitmap>>& Cache() {
    static std::map<int, std::unique_ptr<Gdiplus::Bitmap>> cache;
    return cache;
}

// The decoded picture, or nullptr when the program holds none of that number.
Gdiplus::Bitmap* Picture(int number) {
    if (number < IDB_FIRST || number > IDB_LAST)
        return nullptr;
    auto& cache = Cache();
    auto it = cache.find(number);
    if (it != cache.end())
        return it->second.get();
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    HMODULE module = GetModuleHandleW(nullptr);
    if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(10))) {
        const DWORD size = SizeofResource(module, res);
        const void* data = LockResource(LoadResource(module, res));
        // The stream needs its own copy: GDI+ reads from it for the bitmap's whole life.
        if (HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size)) {
            CopyMemory(GlobalLock(copy), data, size);
            GlobalUnlock(copy);
            IStream* stream = nullptr;
            if (SUCCEEDED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
                bitmap.reset(Gdiplus::Bitmap::FromStream(stream));
                stream->Release();
                if (bitmap && bitmap->GetLastStatus() != Gdiplus::Ok)
                    bitmap.reset();
            } else {
                GlobalFree(copy);
            }
        }
    }
    Gdiplus::Bitmap* raw = bitmap.get();
    cache.emplace(number, std::move(bitmap));
    return raw;
}

} // namespace

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
    Cache().clear();
    Gdiplus::GdiplusShutdown(token_);
}

SIZE BitmapSize(int number) {
    Gdiplus::Bitmap* b = Picture(number);
    if (!b)
        return {0, 0};
    return {static_cast<LONG>(b->GetWidth()), static_cast<LONG>(b->GetHeight())};
}

void DrawBitmap(HDC dc, int number, int x, int y, bool disabled) {
    Gdiplus::Bitmap* b = Picture(number);
    if (!b)
        return;
    Gdiplus::Graphics g(dc);
    const auto w = static_cast<INT>(b->GetWidth());
    const auto h = static_cast<INT>(b->GetHeight());
    if (!disabled) {
        g.DrawImage(b, x, y, w, h);
        return;
    }
    // Greyed and faded, as a disabled button shows its face.
    Gdiplus::ColorMatrix grey = {{{0.3f, 0.3f, 0.3f, 0, 0},
                                  {0.59f, 0.59f, 0.59f, 0, 0},
                                  {0.11f, 0.11f, 0.11f, 0, 0},
                                  {0, 0, 0, 0.5f, 0},
                                  {0.1f, 0.1f, 0.1f, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&grey);
    g.DrawImage(b, Gdiplus::Rect(x, y, w, h), 0, 0, w, h, Gdiplus::UnitPixel, &attributes);
}

HICON ProgramIcon(int size) {
    static std::map<int, HICON> icons;
    auto it = icons.find(size);
    if (it != icons.end())
        return it->second;
    auto icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TABBERN),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    icons.emplace(size, icon);
    return icon;
}

} // namespace tabbern::win32
