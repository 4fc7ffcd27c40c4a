#pragma once
// Gallery pages: each page renders some controls into images that the
// gallery saves as PNG files. A page registers itself with GALLERY_PAGE.

#include <QImage>

#include <functional>
#include <string>
#include <vector>

using TGallerySave = std::function<void(const std::string &Name, const QImage &Image)>;
using TGalleryPage = void (*)(const TGallerySave &Save);

int RegisterGalleryPage(const char *Name, TGalleryPage Page);

#define GALLERY_PAGE(name)                                                                         \
    static void GalleryPage_##name(const TGallerySave &Save);                                      \
    static const int GalleryPageRegistered_##name =                                                \
        RegisterGalleryPage(#name, GalleryPage_##name);                                            \
    static void GalleryPage_##name(const TGallerySave &Save)
