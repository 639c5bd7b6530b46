#pragma once

// The eight looks of the "Change Skin" menu as the tests expect them.
#include <gtest/gtest.h>

#include <string>

#include "ui/look/SkinCatalogue.h"
#include "ui/look/SkinFile.h"

namespace vantrel::test {

// The look of a menu index: its built-in style, or its file read from the folder `skinsFolder`
// (which ends with its separator) of the skin files as the build ships them; the file must be
// there and well formed.
inline SkinLook LookOfIndex(int index, const std::string& skinsFolder) {
    const SkinSource source = SkinSourceOf(index);
    if (source.builtIn)
        return *source.builtIn;
    const auto look = LoadSkinFile({skinsFolder + source.fileName});
    EXPECT_TRUE(look) << source.fileName << " is missing or malformed";
    return look.value_or(SkinLook{});
}

}  // namespace vantrel::test
