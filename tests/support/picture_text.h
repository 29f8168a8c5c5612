#pragma once

// Pictures written as text, one character a pixel, for pixel tests that show
// what was expected and what was drawn side by side when they differ.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <string>
#include <vector>

namespace kx::test {

using TPictureText = std::vector<std::string>;

// The pixels of an image as text, one character a pixel through symbol.
template <typename Symbol>
TPictureText PictureOf(const QImage& image, Symbol symbol) {
    TPictureText rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            row += symbol(image.pixel(x, y));
        }
        rows.push_back(row);
    }
    return rows;
}

inline std::string Join(const TPictureText& rows) {
    std::string text;
    for (const std::string& row : rows) {
        text += row + "\n";
    }
    return text;
}

// Compares two pictures and describes the first difference with both pictures
// in full.
inline ::testing::AssertionResult SamePicture(const TPictureText& expected, const TPictureText& actual) {
    for (std::size_t y = 0; y < std::max(expected.size(), actual.size()); ++y) {
        const std::string e = y < expected.size() ? expected[y] : "";
        const std::string a = y < actual.size() ? actual[y] : "";
        if (e == a) {
            continue;
        }
        std::size_t x = 0;
        while (x < e.size() && x < a.size() && e[x] == a[x]) {
            ++x;
        }
        return ::testing::AssertionFailure()
               << "first difference at (" << x << ", " << y << "): expected '" << (x < e.size() ? e[x] : ' ')
               << "', drawn '" << (x < a.size() ? a[x] : ' ') << "'\nexpected:\n"
               << Join(expected) << "drawn:\n"
               << Join(actual);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace kx::test
