#pragma once

#include <QImage>
#include <QString>

#include "core/PictureName.h"

// Writes a picture in the given format (JPEG at quality 100), beside the target
// first and renamed over it only when complete, so that a failure leaves no partial
// file and any earlier file of that name as it was; only ever over a regular file.
// Throws std::runtime_error naming the file and the reason.
void WritePicture(const QImage& picture, const QString& fileName, TPictureFormat format);

// The picture encoded in the given format, as a file of it would hold it; throws
// std::runtime_error when the encoder fails.
QByteArray EncodePicture(const QImage& picture, TPictureFormat format);

// A frame read back from OpenGL (RGB bytes, top row first) as an image.
QImage FrameImage(const uint8_t* rgb, int width, int height);
