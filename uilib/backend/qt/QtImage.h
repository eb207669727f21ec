#pragma once

// A picture of the Qt backend.

#include <QImage>

#include "uilib/src/Backend.h"

namespace UiLib::qt {

class QtImage final : public backend::Image {
public:
    explicit QtImage(QImage image) : image_(std::move(image)) {}
    SIZE Size() const override { return SIZE{image_.width(), image_.height()}; }
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

// The QImage of a picture the Qt backend decoded.
inline const QImage& QImageOf(const backend::Image& image) {
    return static_cast<const QtImage&>(image).image();
}

}  // namespace UiLib::qt
