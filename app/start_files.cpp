#include "app/start_files.h"

#include "app/display_scaling.h"
#include "platform/app_dir.h"
#include "platform_qt/bmp_file.h"

namespace app {
namespace {

// The bitmap files of the installation, in the order they are loaded.
struct BitmapFile {
    Bitmap slot;
    const char* file;
};
constexpr BitmapFile bitmapFiles[] = {
    {BgBitmap, "/bmp/bg.bmp"},
    {LeftBitmap, "/bmp/l_button.bmp"},
    {RightBitmap, "/bmp/r_button.bmp"},
    {LeftCancelBitmap, "/bmp/l_button_cancel.bmp"},
    {RightCancelBitmap, "/bmp/r_button_cancel.bmp"},
    {GiveUpBitmap, "/bmp/giveup.bmp"},
    {GiveUpCancelBitmap, "/bmp/giveup_cancel.bmp"},
    {StartBitmap, "/bmp/start.bmp"},
    {StartCancelBitmap, "/bmp/start_cancel.bmp"},
    {RepeatBitmap, "/bmp/repeat.bmp"},
    {RepeatCancelBitmap, "/bmp/repeat_cancel.bmp"},
};

std::array<QImage, BitmapCount> readButtonBitmaps() {
    std::array<QImage, BitmapCount> bitmaps;
    const bool twins = pictureScale() >= 2;
    for (const BitmapFile& file : bitmapFiles) {
        const std::string path = platform::appDir() + file.file;
        // A twin that is missing or broken is no reason to stop: the picture at 1 stands in.
        QImage image = twins ? asTwin(platform::loadBmp(doubleSizePath(path))) : QImage();
        if (image.isNull()) {
            image = platform::loadBmp(path);
            if (image.isNull())
                throw AssetError(path);
            if (twins)
                image = doubled(image);
        }
        bitmaps[file.slot] = image;
    }
    return bitmaps;
}

} // namespace

StartFiles readStartFiles() {
    StartFiles files;
    files.bitmaps = readButtonBitmaps();
    files.course.loadCourseText(platform::appDir());
    return files;
}

} // namespace app
