#pragma once

#include <QImage>
#include <QSize>

// The product's own pictures, drawn by tools/makepictures and compiled in as
// resources of type ProductPictureType.
inline constexpr char ProductPictureType[] = "JPEG";
inline constexpr char SplashPictureName[] = "STARTBILD"; // splash window, 400 x 300
inline constexpr char AboutPictureName[] = "INFOBILD";   // about window, 400 x 300
inline constexpr char MakerLogoName[] = "ORNAKLOGO";    // maker's logo beside the preview

inline constexpr QSize SplashPictureSize(400, 300);
inline constexpr QSize AboutPictureSize(400, 300);
inline constexpr QSize MakerLogoSize(300, 100);

// The picture, or a null image when the resource is missing or unreadable.
QImage LoadProductPicture(const char *name);
