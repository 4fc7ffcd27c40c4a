// gallery [folder] [page...]: writes every page's images as PNG files.
#include "Gallery.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {
std::map<std::string, TGalleryPage> &Pages()
{
    static std::map<std::string, TGalleryPage> pages;
    return pages;
}
} // namespace

int RegisterGalleryPage(const char *Name, TGalleryPage Page)
{
    Pages()[Name] = Page;
    return 0;
}

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    QDir().mkpath(folder);
    int written = 0;
    for (const auto &[name, page] : Pages()) {
        bool wanted = argc <= 2;
        for (int i = 2; i < argc; ++i)
            wanted = wanted || name == argv[i];
        if (!wanted)
            continue;
        page([&](const std::string &image, const QImage &picture) {
            const QString path = folder + "/" + QString::fromStdString(name + "-" + image) + ".png";
            if (picture.save(path))
                ++written;
            else
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        });
    }
    std::printf("%d images in %s\n", written, qPrintable(folder));
    return 0;
}
