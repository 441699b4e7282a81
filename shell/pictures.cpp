#include "shell/pictures.h"

#include "win/com_ptr.h"
#include "win/handles.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>

HBITMAP decodePicture(const void* bytes, size_t count) {
    if (!bytes || count == 0)
        return nullptr;
    const UniqueComInitialization com = initializeCom();
    UniqueGlobalBlock block(GlobalAlloc(GMEM_FIXED, count));
    if (!block)
        return nullptr;
    memcpy(block.get(), bytes, count);

    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, stream.put())) || !stream)
        return nullptr;
    block.release(); // the stream frees it when released

    ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(count), FALSE, IID_IPicture,
                              picture.putVoid())) ||
        !picture)
        return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle)))
        return nullptr;
    // The picture object owns its bitmap: keep a copy that outlives it. Not a bitmap
    // (an icon or a metafile): the copy fails and nothing comes back.
    return static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
}

HBITMAP scalePicture(HBITMAP bitmap, int width, int height) {
    BITMAP source{};
    if (!GetObjectA(bitmap, sizeof source, &source) || source.bmWidth <= 0 ||
        source.bmHeight <= 0 || width <= 0 || height <= 0)
        return nullptr;
    double scale = std::min(double(width) / source.bmWidth, double(height) / source.bmHeight);
    // A sliver of a picture still gets one pixel rather than an empty bitmap.
    int scaledWidth = std::max(1, static_cast<int>(source.bmWidth * scale));
    int scaledHeight = std::max(1, static_cast<int>(source.bmHeight * scale));

    const UniqueWindowDc screen = getWindowDc(nullptr);
    const UniqueMemoryDc from(CreateCompatibleDC(screen.get().dc));
    const UniqueMemoryDc to(CreateCompatibleDC(screen.get().dc));
    UniqueGdiObject<HBITMAP> scaled(
        CreateCompatibleBitmap(screen.get().dc, scaledWidth, scaledHeight));
    if (!from || !to || !scaled)
        return nullptr;
    {
        const UniqueSelection sourceSelected = selectObject(from.get(), bitmap);
        const UniqueSelection targetSelected = selectObject(to.get(), scaled.get());
        SetStretchBltMode(to.get(), HALFTONE);
        // HALFTONE needs the brush origin set again after the mode changes.
        SetBrushOrgEx(to.get(), 0, 0, nullptr);
        if (!StretchBlt(to.get(), 0, 0, scaledWidth, scaledHeight, from.get(), 0, 0, source.bmWidth,
                        source.bmHeight, SRCCOPY))
            return nullptr;
    }
    return scaled.release();
}

HBITMAP loadPictureResource(HMODULE module, int id, const char* type, int width, int height) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return nullptr;
    const UniqueGdiObject<HBITMAP> full(decodePicture(bytes, SizeofResource(module, resource)));
    if (!full)
        return nullptr;
    return scalePicture(full.get(), width, height);
}
