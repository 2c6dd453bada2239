#include "controls/image_layout.h"

namespace controls {

namespace {

void CentreAcross(Rect& image, int width) { image.left += (image.right - image.left - width) / 2; }

void CentreDown(Rect& image, int height) { image.top += (image.bottom - image.top - height) / 2; }

} // namespace

Rect LayoutImage(ImageAlignment alignment, bool hasCaption, const Rect& item, Rect& caption, bool pressed,
                 int width, int height)
{
    Rect image = item;
    switch (alignment) {
    case ImageAlignment::Left:
        if (hasCaption) {
            image.left += 3;
            caption.left += width + 3;
        } else {
            CentreAcross(image, width);
        }
        CentreDown(image, height);
        break;
    case ImageAlignment::Above:
        CentreAcross(image, width);
        if (hasCaption) {
            image.top = 3;
            caption.top += height;
        } else {
            CentreDown(image, height);
        }
        break;
    case ImageAlignment::Right:
        if (hasCaption) {
            const int captionWidth = caption.right - caption.left;
            caption.left = 3;
            caption.right = captionWidth - width - 3;
            image.left = item.Width() - width - 3;
            CentreDown(image, height);
        } else {
            CentreAcross(image, width);
        }
        break;
    }
    if (pressed)
        image.Offset(1, 1);
    return image;
}

Rect CentreIn(const Rect& measured, const Rect& box)
{
    Rect centred = measured;
    centred.Offset((box.Width() - measured.Width()) / 2, (box.Height() - measured.Height()) / 2);
    return centred;
}

int IconSizeForDpi(int dpi) { return dpi <= 96 ? 16 : (16 * dpi + 48) / 96; }

} // namespace controls
