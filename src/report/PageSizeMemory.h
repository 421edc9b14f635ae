#pragma once

#include <QSize>
#include <QString>

// The size the report's largest page needs, remembered between runs: measuring it means
// building and laying out every page, which the window does only after it is on screen.
// A size measured on another screen, with another font or by another version is not used.
class PageSizeMemory {
public:
    // Invalid when nothing fits this screen, font and version.
    static QSize recall();
    static void remember(const QSize& size);

private:
    static QString key();
    static QString fileName();
};
