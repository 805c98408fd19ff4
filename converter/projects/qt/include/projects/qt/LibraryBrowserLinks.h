#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Picture.h"

class QWidget;

namespace tess {

class ProgressWindow;
struct Services;

// What the library browser reaches outside itself: the program's services and progress window,
// and the main window's parts it reads, changes or hands the taken picture to.
struct LibraryBrowserLinks {
    Services* services = nullptr;
    // The program's one progress window.
    std::function<ProgressWindow&()> progressWindow;
    // The main window: the browser's owner, kept from input while a library is unpacked.
    std::function<QWidget*()> mainWindow;
    // The main window's library menu item.
    std::function<bool()> libraryItemEnabled;
    std::function<void(bool)> setLibraryItemEnabled;
    // The shared window functions each dialog calls from its load.
    std::function<void(QWidget&)> applyTooltipSetting;
    std::function<void(QWidget&)> applyTransparency;
    // Makes the picture the working picture, with its page title; the main window saves the undo
    // copy first.
    std::function<void(const Picture& picture, const std::string& title)> takePicture;
    // GFXArrowLeft: the left arrow's design position, 0 until the browser first loads.
    std::int32_t* GFXArrowLeft = nullptr;
};

}  // namespace tess
