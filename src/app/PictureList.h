#pragma once

#include <QPixmap>
#include <QSize>

#include <vector>

// A list of same-sized pictures addressed by index, with a greyed rendering of
// each for disabled items.
class PictureList {
public:
    explicit PictureList(QSize size);

    QSize size() const { return FSize; }
    int count() const { return static_cast<int>(FPictures.size()); }

    // Appends a picture (scaled to the list's size when it differs); returns its index.
    int add(const QPixmap& picture);
    // A null pixmap for an index outside the list.
    QPixmap picture(int index) const;
    QPixmap disabledPicture(int index) const;

private:
    struct Entry {
        QPixmap normal;
        QPixmap greyed;
    };

    QSize FSize;
    std::vector<Entry> FPictures;
};
