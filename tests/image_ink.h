#pragma once
// Reading drawn bitmaps back: where the ink is.

#include <utility>

#include <QImage>

namespace belvorine::test {

inline bool isInk(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// First and last columns holding a dark pixel, or (-1, -1) on a blank image.
inline std::pair<int, int> inkColumns(const QImage& image) {
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (isInk(image, x, y)) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

}  // namespace belvorine::test
