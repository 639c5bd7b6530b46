#pragma once

#include <string_view>
#include <vector>

#include "ui/look/SkinLook.h"

namespace vantrel {

// The contrast ratio of two colours as the Web Content Accessibility Guidelines define it:
// from 1 (the same) to 21 (black on white). 4.5 is the least they ask of normal text.
double ContrastRatio(const Rgb& a, const Rgb& b);

// One kind of text a look draws, on the surface it is drawn on.
struct TextOnSurface {
    std::string_view what;
    Rgb text;
    Rgb surface;
};

// Every text-on-surface pair a look draws.
std::vector<TextOnSurface> TextPairsOf(const SkinLook& look);

// The pair of the lowest contrast.
TextOnSurface LeastReadablePair(const SkinLook& look);

}  // namespace vantrel
