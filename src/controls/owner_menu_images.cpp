// Images of the owner-drawn menu: 16-colour bitmaps loaded in the system's colours,
// faded and shadow copies, and the image list shared by every menu.
#include "controls/owner_menu.h"

#include "ui/gdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kToolbarResource = 241;

// The image number of commandId in the toolbar resource imageId (its buttons' images are
// numbered in order, separators skipped); 0 when there is no such toolbar or button.
int FindToolbarImage(int imageId, UINT_PTR commandId)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(imageId), MAKEINTRESOURCEW(kToolbarResource));
    if (!resource)
        return 0;
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* words = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    const DWORD size = SizeofResource(module, resource);
    if (!words || size < 8)
        return 0;
    const DWORD count = std::min<DWORD>(words[3], (size - 8) / 2);
    int image = 0;
    for (DWORD i = 0; i < count; ++i) {
        const WORD id = words[4 + i];
        if (id == 0)
            continue;
        if (id == commandId)
            return image;
        ++image;
    }
    return 0;
}

// A 16-colour bitmap resource with black, dark grey, light grey and white replaced by the
// system's button colours; null for other bitmaps.
HBITMAP LoadSysColorBitmap16(int imageId)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(imageId), MAKEINTRESOURCEW(2));  // RT_BITMAP
    if (!resource)
        return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD size = SizeofResource(module, resource);
    if (!data || size < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    DWORD colours = header.biClrUsed;
    if (colours == 0)
        colours = header.biBitCount == 1 ? 2 : header.biBitCount == 4 ? 16 : header.biBitCount == 8 ? 256 : 0;
    if (colours != 16 || header.biSize < sizeof header || size < header.biSize + 16 * sizeof(RGBQUAD))
        return nullptr;

    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD));
    std::memcpy(info.data(), &header, sizeof header);
    reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biSize = sizeof(BITMAPINFOHEADER);
    auto* palette = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    std::memcpy(palette, data + header.biSize, 16 * sizeof(RGBQUAD));
    const struct {
        COLORREF from;
        int to;
    } map[] = {
        {RGB(0, 0, 0), COLOR_BTNTEXT},
        {RGB(128, 128, 128), COLOR_BTNSHADOW},
        {RGB(192, 192, 192), COLOR_BTNFACE},
        {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT},
    };
    for (int i = 0; i < 16; ++i) {
        const COLORREF colour = RGB(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
        for (const auto& m : map) {
            if (colour == m.from) {
                const COLORREF system = GetSysColor(m.to);
                palette[i] = {GetBValue(system), GetGValue(system), GetRValue(system), 0};
                break;
            }
        }
    }
    const std::size_t bitsOffset = header.biSize + 16 * sizeof(RGBQUAD);
    const std::size_t stride = ((static_cast<std::size_t>(header.biWidth) * 4 + 31) / 32) * 4;
    const std::size_t rows = static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    if (header.biCompression != BI_RGB || size < bitsOffset + stride * rows)
        return nullptr;
    ui::WindowDc screen(nullptr);
    return CreateDIBitmap(screen.Get(), reinterpret_cast<BITMAPINFOHEADER*>(info.data()), CBM_INIT,
                          data + bitsOffset, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
}

// The colour a dc of this kind gives COLOR_3DFACE (a display with fewer colours rounds it).
COLORREF BackgroundOf(HDC dc, int w, int h)
{
    ui::MemoryDc memory(dc);
    ui::Bitmap bitmap(CreateCompatibleBitmap(dc, w, h));
    ui::SelectGuard select(memory.Get(), bitmap.Get());
    ui::Brush face(CreateSolidBrush(GetSysColor(COLOR_3DFACE)));
    RECT all{0, 0, w, h};
    FillRect(memory.Get(), &all, face.Get());
    return GetPixel(memory.Get(), 1, 1);
}

template <class Change>
void ChangeImagePixels(HDC dc, HBITMAP bitmap, int w, int h, Change change)
{
    const COLORREF background = BackgroundOf(dc, w, h);
    ui::MemoryDc memory(dc);
    ui::SelectGuard select(memory.Get(), bitmap);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            const COLORREF pixel = GetPixel(memory.Get(), x, y);
            if (pixel != background)
                SetPixel(memory.Get(), x, y, change(pixel));
        }
    }
}

// Every pixel of the image a little lighter: the image at rest.
void MakeFadedBitmap(HDC dc, HBITMAP bitmap, int w, int h)
{
    ChangeImagePixels(dc, bitmap, w, h, [](COLORREF pixel) { return LightenColor(pixel, 0.3); });
}

// The image's silhouette in a shadow colour: drawn under the lifted image when hot.
void MakeShadowBitmap(HDC dc, HBITMAP bitmap, int w, int h)
{
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    if (!IsXPThemed())
        shadow = LightenColor(shadow, 0.49);
    ChangeImagePixels(dc, bitmap, w, h, [shadow](COLORREF) { return shadow; });
}

} // namespace

bool SharedImageHasEffects(int index)
{
    const std::size_t i = static_cast<std::size_t>(index);
    return index >= 0 && i + 2 < g_menuSharedImageIds.size() && g_menuSharedImageIds[i + 1] == g_menuSharedImageIds[i] &&
           g_menuSharedImageIds[i + 2] == g_menuSharedImageIds[i];
}

HBITMAP COwnerMenu::RenderIcon(HDC dc, HICON icon) const
{
    ui::MemoryDc memory(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, m_iconWidth, m_iconHeight);
    if (!bitmap)
        return nullptr;
    ui::SelectGuard select(memory.Get(), bitmap);
    ui::Brush face(CreateSolidBrush(GetSysColor(COLOR_3DFACE)));
    DrawIconEx(memory.Get(), 0, 0, icon, m_iconWidth, m_iconHeight, 0, face.Get(), DI_NORMAL);
    return bitmap;
}

HBITMAP COwnerMenu::RenderImage(HDC dc, HIMAGELIST list, int index) const
{
    HICON icon = ImageList_GetIcon(list, index, 0);
    if (!icon)
        return nullptr;
    HBITMAP bitmap = RenderIcon(dc, icon);
    DestroyIcon(icon);
    return bitmap;
}

bool COwnerMenu::AddBitmapToImageList(HIMAGELIST list, int imageId) const
{
    if (m_addIconHandles)
        return ImageList_ReplaceIcon(list, -1, reinterpret_cast<HICON>(static_cast<INT_PTR>(imageId))) >= 0;
    ui::Bitmap bitmap(LoadSysColorBitmap16(imageId));
    if (!bitmap)
        bitmap.Reset(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(imageId)));
    if (!bitmap)
        return false;
    const COLORREF mask = m_useMaskColor ? m_maskColor : GetSysColor(COLOR_3DFACE);
    return ImageList_AddMasked(list, bitmap.Get(), mask) >= 0;
}

int COwnerMenu::AddImageToShared(int imageId, UINT_PTR commandId)
{
    const int offset = FindToolbarImage(imageId, commandId);
    HIMAGELIST temp = ImageList_Create(m_iconWidth, m_iconHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
    if (!temp)
        return -1;
    int index = -1;
    if (AddBitmapToImageList(temp, imageId))
        index = AddToSharedImages(temp, offset, commandId);
    ImageList_Destroy(temp);
    return index;
}

int COwnerMenu::AddToSharedImages(HIMAGELIST list, int index, UINT_PTR commandId) const
{
    HIMAGELIST& shared = g_menuSharedImages.handle;
    if (!shared)
        shared = ImageList_Create(m_iconWidth, m_iconHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
    if (!shared)
        return -1;
    HICON icon = ImageList_GetIcon(list, index, 0);
    if (!icon)
        return -1;

    const bool effects = UseFlatStyle() && g_menuImageEffects;
    ui::Bitmap faded, shadow;
    if (effects) {
        ui::WindowDc screen(nullptr);
        faded.Reset(RenderIcon(screen.Get(), icon));
        shadow.Reset(RenderIcon(screen.Get(), icon));
        if (faded)
            MakeFadedBitmap(screen.Get(), faded.Get(), m_iconWidth, m_iconHeight);
        if (shadow)
            MakeShadowBitmap(screen.Get(), shadow.Get(), m_iconWidth, m_iconHeight);
    }
    const COLORREF face = GetSysColor(COLOR_3DFACE);

    int result = -1;
    const auto found = std::find(g_menuSharedImageIds.begin(), g_menuSharedImageIds.end(), commandId);
    if (found != g_menuSharedImageIds.end()) {
        result = static_cast<int>(found - g_menuSharedImageIds.begin());
        ImageList_ReplaceIcon(shared, result, icon);
        if (effects && SharedImageHasEffects(result)) {
            const HBITMAP copies[2] = {faded.Get(), shadow.Get()};
            for (int k = 0; k < 2; ++k) {
                HIMAGELIST one = ImageList_Create(m_iconWidth, m_iconHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
                if (one && copies[k] && ImageList_AddMasked(one, copies[k], face) >= 0) {
                    if (HICON copy = ImageList_GetIcon(one, 0, 0)) {
                        ImageList_ReplaceIcon(shared, result + 1 + k, copy);
                        DestroyIcon(copy);
                    }
                }
                if (one)
                    ImageList_Destroy(one);
            }
        }
    } else {
        result = ImageList_ReplaceIcon(shared, -1, icon);
        if (result >= 0) {
            g_menuSharedImageIds.push_back(commandId);
            // The three slots go in together or not at all, so ids and images stay parallel.
            if (effects && faded && shadow) {
                if (ImageList_AddMasked(shared, faded.Get(), face) >= 0) {
                    g_menuSharedImageIds.push_back(commandId);
                    if (ImageList_AddMasked(shared, shadow.Get(), face) >= 0)
                        g_menuSharedImageIds.push_back(commandId);
                }
            }
        }
    }
    DestroyIcon(icon);
    return result;
}
