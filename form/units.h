#pragma once
// Unit arithmetic: hundredths of a millimetre, pixels at a resolution, and
// the platform's rounded multiply-divide.

namespace belvorine {

// Fallback resolutions for a device that reports none.
inline constexpr int kDefaultDisplayDpi = 96;
inline constexpr int kDefaultPrinterDpi = 600;

// The display's resolution (screenMetrics), kDefaultDisplayDpi while it is
// unknown.
int displayDpiX();
int displayDpiY();

// a x b / c with a 64-bit product, rounded half away from zero. A divisor
// of 0 gives 0 (there is no quotient to give); a result beyond the range of
// int is cut to it.
int mulDiv(int a, int b, int c);

// v hundredths of a millimetre in pixels at dpi pixels per inch:
// ((v x dpi) / 254 + 5) / 10 with truncating divisions.
int toPixels(int v, int dpi);

// p pixels at dpi in hundredths of a millimetre: ((p x 25400) / dpi + 5) / 10
// with truncating divisions; 1000 when dpi is 0.
int toHundredthsMm(int p, int dpi);

// A result computed wide, cut to the range of int.
int clampToInt(long long value);

}  // namespace belvorine
