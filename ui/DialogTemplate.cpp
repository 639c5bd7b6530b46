#include "ui/DialogTemplate.h"

#include <cstring>

#include "platform/win32/AnsiText.h"

namespace vantrel {
namespace {

// Offsets of the counts a DLGTEMPLATEEX header holds, filled as controls are added.
constexpr size_t kControlCountOffset = 16;
constexpr uint16_t kFontPointSize = 8;
constexpr std::string_view kFontName = "MS Sans Serif";

}  // namespace

DialogTemplate::DialogTemplate(std::string_view caption, int width, int height, DWORD style) {
    AppendWord(1);       // dlgVer
    AppendWord(0xFFFF);  // signature: the extended form
    AppendDword(0);      // helpID
    AppendDword(0);      // exStyle
    AppendDword(style);
    AppendWord(0);  // control count, kept up to date by AddControl
    AppendWord(0);  // x: DS_CENTER places the dialog
    AppendWord(0);  // y
    AppendWord(static_cast<uint16_t>(width));
    AppendWord(static_cast<uint16_t>(height));
    AppendWord(0);  // no menu
    AppendWord(0);  // the dialog class
    AppendText(caption);
    if ((style & (DS_SETFONT | DS_SHELLFONT)) != 0) {
        AppendWord(kFontPointSize);
        AppendWord(FW_NORMAL);
        bytes_.push_back(0);  // not italic
        bytes_.push_back(DEFAULT_CHARSET);
        AppendText(kFontName);
    }
}

void DialogTemplate::AddControl(std::string_view windowClass, std::string_view text, int id,
                                DWORD style, int left, int top, int width, int height,
                                DWORD extendedStyle) {
    AlignToDword();
    AppendDword(0);  // helpID
    AppendDword(extendedStyle);
    AppendDword(WS_CHILD | WS_VISIBLE | style);
    AppendWord(static_cast<uint16_t>(left));
    AppendWord(static_cast<uint16_t>(top));
    AppendWord(static_cast<uint16_t>(width));
    AppendWord(static_cast<uint16_t>(height));
    AppendDword(static_cast<uint32_t>(id));
    AppendText(windowClass);
    AppendText(text);
    AppendWord(0);  // no creation data
    ++controls_;
    const auto count = static_cast<uint16_t>(controls_);
    std::memcpy(bytes_.data() + kControlCountOffset, &count, sizeof count);
}

const DLGTEMPLATE* DialogTemplate::Get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
}

void DialogTemplate::AppendWord(uint16_t word) {
    bytes_.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes_.push_back(static_cast<uint8_t>(word >> 8));
}

void DialogTemplate::AppendDword(uint32_t dword) {
    AppendWord(static_cast<uint16_t>(dword & 0xFFFF));
    AppendWord(static_cast<uint16_t>(dword >> 16));
}

// Templates hold their texts in UTF-16, zero-ended.
void DialogTemplate::AppendText(std::string_view text) {
    for (const wchar_t c : ToWide(text))
        AppendWord(static_cast<uint16_t>(c));
    AppendWord(0);
}

void DialogTemplate::AlignToDword() {
    while (bytes_.size() % 4 != 0)
        bytes_.push_back(0);
}

}  // namespace vantrel
