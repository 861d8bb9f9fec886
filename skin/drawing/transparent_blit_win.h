// Drawing a bitmap with the pixels of one colour left out.
#pragma once

#include <windows.h>

namespace skin {

// How the key pixels are kept out. Systems of the NT family combine
// source and destination through a mask in one call (MaskBlt); the
// others have no MaskBlt and get the same result from three blits.
enum class TTransparentMethod { tmMaskBlt, tmInvertMask };

// The method of the running system: tmMaskBlt on the NT family.
TTransparentMethod PlatformTransparentMethod();

// Draws the bitmap unscaled with its top-left at the destination's
// top-left, clipped to the destination (and to the bitmap); pixels of
// exactly the key colour leave the destination as it was. The bitmap
// must not be selected into a DC of the caller.
void TransparentBlit(HDC dc, const RECT& dest, HBITMAP bitmap, COLORREF key);
void TransparentBlit(HDC dc, const RECT& dest, HBITMAP bitmap, COLORREF key, TTransparentMethod method);

}  // namespace skin
