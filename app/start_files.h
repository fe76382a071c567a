#pragma once
#include "content/content_store.h"

#include <QImage>

#include <array>
#include <stdexcept>
#include <string>

namespace app {

// A required picture of the installation is missing or is not a bitmap.
class AssetError : public std::runtime_error {
public:
    explicit AssetError(const std::string& path)
        : std::runtime_error("cannot load the bitmap " + path), path_(path) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The eleven bitmaps of the background and the navigation buttons, in loading order.
enum Bitmap {
    BgBitmap,
    LeftBitmap,
    RightBitmap,
    LeftCancelBitmap,
    RightCancelBitmap,
    GiveUpBitmap,
    GiveUpCancelBitmap,
    StartBitmap,
    StartCancelBitmap,
    RepeatBitmap,
    RepeatCancelBitmap,
    BitmapCount
};

// What the main window reads from its folder to open. None of it needs a font, so the program can
// read it while the font configuration is still loading on the other processor.
struct StartFiles {
    std::array<QImage, BitmapCount> bitmaps;
    content::ContentStore course;
};
// Throws AssetError when a bitmap of the installation cannot be loaded.
StartFiles readStartFiles();

} // namespace app

using app::AssetError;
