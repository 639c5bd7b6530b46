#include "ui/look/Contrast.h"

#include <algorithm>
#include <cmath>

namespace vantrel {
namespace {

// sRGB channel to linear light.
double Linear(uint8_t channel) {
    const double value = channel / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const Rgb& colour) {
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) +
           0.0722 * Linear(colour.blue);
}

}  // namespace

double ContrastRatio(const Rgb& a, const Rgb& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<TextOnSurface> TextPairsOf(const SkinLook& look) {
    return {
        {"window text", look.windowText, look.window},
        {"link", look.link, look.window},
        {"tool bar and status bar text", look.faceText, look.face},
        {"selected row", look.highlightText, look.highlight},
        {"column headers", look.titleText, look.title},
        {"results list", look.listText, look.list},
        {"category tree", look.treeText, look.tree},
        {"buttons", look.buttonText, look.button},
    };
}

TextOnSurface LeastReadablePair(const SkinLook& look) {
    const std::vector<TextOnSurface> pairs = TextPairsOf(look);
    return *std::min_element(
        pairs.begin(), pairs.end(), [](const TextOnSurface& a, const TextOnSurface& b) {
            return ContrastRatio(a.text, a.surface) < ContrastRatio(b.text, b.surface);
        });
}

}  // namespace vantrel
