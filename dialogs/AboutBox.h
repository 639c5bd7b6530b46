#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include "platform/ProductVersion.h"
#include "platform/Prompts.h"
#include "platform/ShellOpener.h"
#include "ui/BoundDialog.h"
#include "ui/DialogTemplate.h"
#include "ui/GuiHandles.h"
#include "ui/look/AboutBanner.h"

namespace vantrel {

struct AboutBoxArgs {
    HWND owner;
    Prompts* prompts;  // injected prompts; nullptr for the box's own message boxes
    // Opens the product's page when the address is clicked; nullptr for the real shell.
    ShellOpener* shell;
    // The banner's JPEG data: the program's own unless a test gives other.
    const uint8_t* bannerJpeg = kAboutBannerJpeg;
    size_t bannerJpegSize = kAboutBannerJpegSize;
};

// The about box: the banner (a JPEG decoded when the box opens), the program's icon, name,
// version, notice and contact lines, the product's address as a link, and OK. It takes the
// current skin.
class AboutBox : public BoundDialog {
  public:
    static constexpr const char* kHelpPage = "about.html";  // F1
    static constexpr const char* kCaption = "About Vantrel";
    static constexpr const char* kVersionLine = "Version: " VANTREL_VERSION "   Bulid 20060502";
    static constexpr int kBanner = 101;
    static constexpr int kIcon = 102;
    static constexpr int kName = 103;
    static constexpr int kVersion = 104;
    static constexpr int kNotice = 105;
    static constexpr int kContact = 106;
    static constexpr int kAddress = 107;

    explicit AboutBox(AboutBoxArgs args);
    // Shows the box modally; returns when OK (or Escape, or the close box) ends it.
    void ShowModal();

    // The dialog procedure's side (see BoundDialogProc).
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static DialogTemplate Layout();
    void OnInitDialog();
    void ShowBanner();

    AboutBoxArgs args_;
    unique_hbitmap banner_;  // outlives the dialog: a static control does not own its picture
};

}  // namespace vantrel
