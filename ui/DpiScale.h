#pragma once

namespace vantrel {

// Every pixel size of the windows is designed at 96 dots per inch (100% display scaling) and
// scaled from there to the DPI of the monitor a window is on. Portable, so that the rule is
// tested in both builds.
constexpr int kDesignDpi = 96;

// `pixels` at `fromDpi` moved to `toDpi`, rounded to the nearest pixel (halves away from zero,
// as MulDiv rounds). A DPI that is not positive leaves the size as it is.
constexpr int RescaleBetweenDpis(int pixels, int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi)
        return pixels;
    const long long scaled = static_cast<long long>(pixels) * toDpi;
    const long long half = fromDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / fromDpi
                                        : -((-scaled + half) / fromDpi));
}

// `pixels` designed at 96 dpi, at `dpi`.
constexpr int ScaleToDpi(int pixels, int dpi) {
    return RescaleBetweenDpis(pixels, kDesignDpi, dpi);
}

}  // namespace vantrel
